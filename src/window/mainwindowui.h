#pragma once

#include <QList>

class ClickableLabel;
class ClosureTimeEntry;
class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QMainWindow;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QWidget;

// The main window's controls and menus as designed, named as designed. The
// window holds them privately; the editor and the window's handlers work on
// them. Item arrays are lists indexed by position; at design each holds its
// item 0 only, and start-up adds the rest.
struct MainWindowUi {
    // Places every control and builds the menus on the window.
    MainWindowUi &setupUi(QMainWindow *window);

    // Start-up: the run-time items of the lists and menu arrays, and the
    // pictures, in the order the window's load makes them.
    void fillRelayNumbers();
    void loadFixedPictures();
    void fillRelayModes(const QStringList &names);
    void fillInputModes(const QStringList &names);
    void fillInputs();

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
    QPushButton *btnCancel = nullptr;
    QLabel *lblAction = nullptr;
    QPushButton *cmdRescan = nullptr;
    QComboBox *cmbPort = nullptr;
    QRadioButton *rbUnlatch = nullptr;
    QRadioButton *rbLatch = nullptr;
    QPushButton *btnMoment = nullptr;
    QPushButton *btnLatch = nullptr;
    QCheckBox *chkPCControl = nullptr;
    QPlainTextEdit *txtStatus = nullptr;
    ClosureTimeEntry *fraTime = nullptr;
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

    QMenu *mnuFile = nullptr;
    QAction *mnuFileNew = nullptr;
    QAction *mnuFileOpen = nullptr;
    QAction *mnuFileSep1 = nullptr;
    QAction *mnuFileSave = nullptr;
    QAction *mnuFileSaveAs = nullptr;
    QAction *mnuFileSep2 = nullptr;
    QAction *mnuFileExit = nullptr;
    QMenu *mnuEdit = nullptr;
    QAction *mnuEditUndo = nullptr;
    QAction *mnuEditRedo = nullptr;
    QAction *mnuLine0 = nullptr;
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
    QAction *mnuEditCompare = nullptr;
    QMenu *MnuClear = nullptr;
    QMenu *mnuClearRelays = nullptr;
    QList<QAction *> mnuClearRelay;
    QAction *mnuClearAll = nullptr;

private:
    void createControls(QWidget *client);
    void createReadProgControls(QWidget *client);
    void createPictureControls(QWidget *client);
    void createMenus(QMainWindow *window);
    // Start-up creates the rest of an item array behind its designed item 0.
    static QAction *addArrayItem(QList<QAction *> &array, QMenu *menu);
};
