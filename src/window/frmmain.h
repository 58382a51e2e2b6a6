#pragma once

#include "config/relayconfig.h"
#include "dialogues/devicecommands.h"
#include "dialogues/devicedialogues.h"
#include "dialogues/dialogueview.h"
#include "link/devicelink.h"

#include <QList>
#include <QMainWindow>

#include <array>

class ClickableLabel;
class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QToolButton;
class QWidget;

// The program's one working window. It owns the relay table and shows one
// relay of it at a time; the device dialogues reach it only through
// DialogueView.
class frmMain : public QMainWindow, public DialogueView
{
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // Start-up: lists, menu arrays, pictures, the empty table, the splash
    // window, relay 1 in the editor, the caption, the window shown, the rescan.
    void Form_Load();

    RelayTable &relayTable() { return m_relayTable; }
    const RelayTable &relayTable() const { return m_relayTable; }

    // The relay editor.
    void ChangeRelayNum(qint16 Index);
    void ChangeRelayMode(qint16 Mode);
    void ChangeInputMode(qint16 Gate);
    void ShowInputState(qint16 Index, bool State);
    void ClearRelay(qint16 Index);
    void EnableReadProg(bool Enable);
    const std::array<bool, InputCount> &ShownInputs() const { return m_shownInputs; }

    // Selection handlers, run by a selection whether the user or the program makes it.
    void cboRelNum_Click();
    void cboRelMode_Click();
    void cboInputMode_Click();
    void imgRelay_Click();
    void imgLogicGate_Click();
    void imgInputBtn_Click(qint16 Index);
    void rbLatch_Click();

    // Closure time.
    void sliHrs_Scroll();
    void sliMins_Scroll();
    void sliSecs_Scroll();
    void txtHrs_Validate();
    void txtMins_Validate();
    void txtSecs_Validate();

    // The Edit menu.
    void mnuEditChangeNum_Click(qint16 Index);
    void mnuEditChangeMode_Click(qint16 Index);
    void mnuChangeInMode_Click(qint16 Index);
    void mnuClearRelay_Click(qint16 Index);
    void mnuClearAll_Click();

    // The port rescan: cmbPort lists the ports that open, the first selected.
    void cmdRescan_Click();

    // Read and program (the logic is DeviceCommands').
    void btnReadRelay_Click();
    void btnPgmRelay_Click();
    void btnReadAll_Click();
    void btnPgmAll_Click();
    void mnuReadRelay_Click(qint16 Index);
    void mnuProgRelay_Click(qint16 Index);
    void mnuReadAll_Click();
    void mnuProgAll_Click();

    // The live inputs of the relay shown.
    void chkPCControl_Click();
    void btnLatch_MouseDown();
    void btnMoment_MouseDown();

    // The File menu.
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void mnuFileExit_Click();

    // The configuration file in use: last opened, or last named in Save As.
    QString CurrentFile;

    // The serial line and the dialogues the commands run over it.
    DeviceLink &deviceLink() { return m_link; }
    DeviceDialogues &deviceDialogues() { return m_dialogues; }

    // A port the rescan selects instead of the first entry whenever it finds
    // it (the built-in simulated device); empty for the first entry.
    void setPreferredPort(const QString &path) { m_preferredPort = path; }

    // True while a device command or the rescan runs.
    bool deviceCommandRunning() const { return m_deviceCommands > 0; }

    // DialogueView
    void setStatusText(const QString &text) override;
    void setActionText(const QString &text) override;
    void setActionVisible(bool visible) override;
    double progressValue() const override;
    double progressMaximum() const override;
    void setProgressValue(double value) override;
    void enableReadProg(bool enabled) override;
    int shownRelay() const override;
    int shownRelayMode() const override;
    void showRelayMode(int relayMode) override;
    int shownInputMode() const override;
    void showInputMode(int inputMode) override;
    bool shownInput(int input) const override;
    void showInputState(int input, bool inMap) override;
    void showClosureTime(const RelayConfig &relay) override;
    void showPCControl(bool underPCControl) override;

    // Controls, named as designed.
    QComboBox *cboInputMode = nullptr;
    QComboBox *cboRelMode = nullptr;
    QComboBox *cboRelNum = nullptr;
    QGroupBox *fraReadProg = nullptr;
    QWidget *XPHolder = nullptr;
    QPushButton *btnReadRelay = nullptr;
    QPushButton *btnPgmRelay = nullptr;
    QPushButton *btnReadAll = nullptr;
    QPushButton *btnPgmAll = nullptr;
    QProgressBar *prbProgress = nullptr;
    QLabel *lblAction = nullptr;
    QPushButton *cmdRescan = nullptr;
    QComboBox *cmbPort = nullptr;
    QRadioButton *rbUnlatch = nullptr;
    QRadioButton *rbLatch = nullptr;
    QPushButton *btnMoment = nullptr;
    QPushButton *btnLatch = nullptr;
    QCheckBox *chkPCControl = nullptr;
    QLineEdit *txtSecs = nullptr;
    QLineEdit *txtMins = nullptr;
    QLineEdit *txtHrs = nullptr;
    QPlainTextEdit *txtStatus = nullptr;
    QGroupBox *fraTime = nullptr;
    QSlider *sliHrs = nullptr;
    QSlider *sliMins = nullptr;
    QSlider *sliSecs = nullptr;
    QLabel *lblSliSecs = nullptr;
    QLabel *lblSliMins = nullptr;
    QLabel *lblSliHrs = nullptr;
    QLabel *lblSecs = nullptr;
    QLabel *lblMins = nullptr;
    QLabel *lblHrs = nullptr;
    QFrame *Shape1 = nullptr;
    QList<ClickableLabel *> imgInputBtn;
    QLabel *lblOpt = nullptr;
    QLabel *lblStatus = nullptr;
    ClickableLabel *imgRelay = nullptr;
    ClickableLabel *imgLogicGate = nullptr;
    QLabel *lblInputMode = nullptr;
    QLabel *lblRelMode = nullptr;
    QLabel *lblRelayNum = nullptr;
    QLabel *imgLogo = nullptr;
    QLabel *Image1 = nullptr;

    // Menus, named as designed; item arrays are lists indexed by position.
    QMenu *mnuFile = nullptr;
    QAction *mnuFileNew = nullptr;
    QAction *mnuFileOpen = nullptr;
    QAction *mnuFileSep1 = nullptr;
    QAction *mnuFileSave = nullptr;
    QAction *mnuFileSaveAs = nullptr;
    QAction *mnuFileSep2 = nullptr;
    QAction *mnuFileExit = nullptr;
    QMenu *mnuEdit = nullptr;
    QMenu *mnuEditCopy = nullptr;
    QAction *mnuEditCopyRelMode = nullptr;
    QAction *mnuEditCopyInMode = nullptr;
    QAction *mnuEditCopyInMap = nullptr;
    QAction *mnuEditCopyTime = nullptr;
    QAction *mnuLine3 = nullptr;
    QAction *mnuEditCopyConfig = nullptr;
    QAction *mnuEditPaste = nullptr;
    QAction *mnuLine1 = nullptr;
    QMenu *mnuEditChange = nullptr;
    QMenu *mnuEditChangeNums = nullptr;
    QList<QAction *> mnuEditChangeNum;
    QMenu *mnuEditChangeModes = nullptr;
    QList<QAction *> mnuEditChangeMode;
    QMenu *mnuChangeInModes = nullptr;
    QList<QAction *> mnuChangeInMode;
    QMenu *mnuChangeMaps = nullptr;
    QList<QAction *> mnuChangeMap;
    QAction *mnuChangeTimes = nullptr;
    QMenu *mnuRead = nullptr;
    QMenu *mnuReadRelays = nullptr;
    QList<QAction *> mnuReadRelay;
    QAction *mnuReadAll = nullptr;
    QMenu *mnuProg = nullptr;
    QMenu *mnuProgRelays = nullptr;
    QList<QAction *> mnuProgRelay;
    QAction *mnuProgAll = nullptr;
    QMenu *MnuClear = nullptr;
    QMenu *mnuClearRelays = nullptr;
    QList<QAction *> mnuClearRelay;
    QAction *mnuClearAll = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Design time: the controls in their places, the menus with item 0 of each array.
    void createControls();
    void createTimeControls();
    void createReadProgControls();
    void createPictureControls();
    void createMenus();
    void connectHandlers();
    void connectDeviceHandlers();
    // Runs one device command, and the close the user asked for meanwhile after it.
    template <typename Command> void runDeviceCommand(Command command);
    bool liveInputPressed(QObject *watched, QEvent *event);
    void selectPreferredPort();
    // Start-up creates the rest of an item array behind its designed item 0.
    QAction *addArrayItem(QList<QAction *> &array, QMenu *menu);

    // The shown input set of a relay: the unlatch set of a Latching relay that shows it.
    static bool showsUnlatchSet(const RelayConfig &relay);
    // Selecting an entry that is already selected runs nothing; these run the
    // procedure then, as the menu and the dialogues need it to run either way.
    void selectRelayMode(qint16 mode);
    void selectInputMode(qint16 gate);
    void checkOnly(const QList<QAction *> &array, qint16 index);
    void setClosureTimeEnabled(bool enabled);
    void showTimeOf(const RelayConfig &relay);
    void wholeUnitScroll(QSlider *slider, QLineEdit *text, qint16 RelayConfig::*field);
    void wholeUnitValidate(QSlider *slider, QLineEdit *text, qint16 RelayConfig::*field);
    void restoreText(QLineEdit *text);
    bool isRelayIndex(int index) const;

    RelayTable m_relayTable{};
    std::array<bool, InputCount> m_shownInputs{};
    double m_progress = 0.0;

    DeviceLink m_link;
    DeviceDialogues m_dialogues{m_link, m_relayTable, *this};
    DeviceCommands m_commands{m_dialogues, *this};
    QString m_preferredPort;
    int m_deviceCommands = 0;
    bool m_closePending = false;
};
