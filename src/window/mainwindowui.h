#pragma once

#include "window/relayeditor.h"

#include <QCoreApplication>
#include <QList>

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QMainWindow;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QWidget;

// The main window's controls and menus as designed, named as designed, for
// the window's own files. Item arrays are lists indexed by position; at
// design each holds its item 0 only, and start-up adds the rest.
struct MainWindowUi {
    Q_DECLARE_TR_FUNCTIONS(MainWindowUi)

public:
    // Places every control and builds the menus on the window. The relay
    // editor's controls go to the editor alone; they are placed here among
    // the others, in the designed order that the Tab key follows.
    RelayEditor::Controls setupUi(QMainWindow *window);

    // Start-up: the run-time items of the menu arrays, and the pictures
    // that show no relay.
    void fillMenus(const QStringList &relayModes, const QStringList &inputModes);
    void loadFixedPictures();
    // Checks an array's item index and no other.
    static void checkOnly(const QList<QAction *> &array, qint16 index);

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
    QPlainTextEdit *txtStatus = nullptr;
    QFrame *Shape1 = nullptr;
    QLabel *lblOpt = nullptr;
    QLabel *lblStatus = nullptr;
    QLabel *imgLogo = nullptr;
    QLabel *Image1 = nullptr;

    QMenu *mnuFile = nullptr;
    QAction *mnuFileNew = nullptr;
    QAction *mnuFileOpen = nullptr;
    QAction *mnuFileSep1 = nullptr;
    QAction *mnuFileSave = nullptr;
    QAction *mnuFileSaveAs = nullptr;
    QAction *mnuFilePrint = nullptr;
    QAction *mnuFileExportPdf = nullptr;
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
    QAction *mnuHelpAbout = nullptr;

private:
    void createControls(QWidget *client, RelayEditor::Controls &editor);
    void createReadProgControls(QWidget *client);
    void createPictureControls(QWidget *client, RelayEditor::Controls &editor);
    void createMenus(QMainWindow *window);
    void orderTabs(const RelayEditor::Controls &editor);
    void nameForScreenReaders(const RelayEditor::Controls &editor);
    // Start-up creates the rest of an item array behind its designed item 0.
    static QAction *addArrayItem(QList<QAction *> &array, QMenu *menu);
};
