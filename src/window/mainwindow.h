#pragma once

#include "config/relayconfig.h"
#include "dialogues/devicecommands.h"
#include "dialogues/devicedialogues.h"
#include "dialogues/devicesession.h"
#include "link/devicelink.h"
#include "window/commandrunner.h"
#include "window/edititems.h"
#include "window/portlist.h"
#include "window/relayeditor.h"
#include "window/tablehistory.h"

#include <QMainWindow>

#include <memory>

struct MainWindowUi;
class QTimer;

// The program's one working window. It owns the relay table, its controls,
// the relay editor that shows one relay of the table at a time, and the
// serial line's session, whose signals it shows.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Start-up: lists, menu arrays, pictures, the empty table, the splash
    // window, relay 1 in the editor, the caption, the window shown, the rescan.
    void start();

    RelayTable &relayTable() { return m_relayTable; }

    // The serial line, for the ports start-up adds to the list, and the
    // dialogues over it.
    DeviceLink &deviceLink() { return m_session.link(); }
    DeviceDialogues &deviceDialogues() { return m_session.dialogues(); }
    DeviceSession &deviceSession() { return m_session; }
    // A port the rescan selects instead of the first entry whenever it finds
    // it (the built-in simulated device); empty for the first entry.
    void setPreferredPort(const QString &path) { m_ports.setPreferredPort(path); }
    // True while a device command runs or waits its turn.
    bool deviceCommandRunning() const { return !m_session.isIdle(); }

    const RelayEditor &editor() const { return m_editor; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // The Edit menu's items that reach the editor, and what the menu shows of it.
    void connectEditor();
    void connectCommands();
    // What the session says: the status box, the action label, the bar.
    void connectSession();
    void setStatusText(const QString &text);
    // The bar is stepped in fractions and shows whole steps.
    void setProgressValue(double value);
    // The read/program buttons and the Edit menu.
    void enableControls(bool enabled);

    // Read and program (the logic is DeviceCommands').
    void onReadRelayClicked();
    void onProgramRelayClicked();
    void onReadAllClicked();
    void onProgramAllClicked();
    void onReadRelayChosen(qint16 relay);
    void onProgramRelayChosen(qint16 relay);
    void onReadAllChosen();
    void onProgramAllChosen();
    // Reads all 16 beside the table and shows where the device differs.
    void onCompareChosen();
    // The Compare dialog's confirmed offer: program just the relays (1 to 16) that differ.
    void onProgramDifferingChosen(const QList<int> &relays);

    // The live inputs of the relay shown.
    void onPCControlToggled(bool underPCControl);
    void onLatchInputPressed();
    void onMomentaryInputPressed();

    // The File menu.
    void newFile();
    void openFile();
    void saveFile();
    void saveFileAs();
    // The commissioning record of the table, printed or as a PDF; Help > About.
    void connectRecord();

    // Starts a device command, or lets it wait its turn behind the one that
    // runs (only those whose controls stay enabled meanwhile get here then).
    void runDeviceCommand(Task<DialogueResult> command,
                          CommandRunner::Controls controls = CommandRunner::Controls::Held);
    // The same for a whole-table command, which Cancel (and Esc) can stop.
    void runBulkCommand(Task<BulkOutcome> command);
    // False, with a status line, while a command runs: for the commands whose
    // controls are disabled meanwhile, should one be reached all the same.
    bool lineIsFree();
    void onSessionStateChanged(DeviceSession::State state);
    // The Cancel button and Esc, while a whole-table command runs.
    void showCancel(bool shown);
    Task<DialogueResult> compareWithDevice();
    Task<DialogueResult> programRelays(QList<int> relays);
    Task<DialogueResult> setPCControlCommand(bool checked);
    Task<DialogueResult> liveInputCommand(bool latch);

    std::unique_ptr<MainWindowUi> m_ui;
    RelayTable m_relayTable{};
    RelayEditor m_editor;
    TableHistory m_history{m_relayTable, [this](qint16 relay) { m_editor.setShownRelay(relay); }};
    // The configuration file in use: last opened, or last named in Save As.
    QString m_currentFile;
    double m_progress = 0.0;

    DeviceSession m_session{m_relayTable, this};
    CommandRunner m_runner{m_session, this};
    PortList m_ports;
    EditItems m_editItems;
    // The user closed the window while a command ran: it closes once the
    // cancelled command has let the device go.
    bool m_closePending = false;
    QAction *m_cancelKey = nullptr;
};
