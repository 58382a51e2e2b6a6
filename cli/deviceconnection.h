#pragma once

#include "commandreport.h"
#include "config/relayconfig.h"
#include "deviceargs.h"
#include "dialogues/devicesession.h"
#include "terminalview.h"

#include <QElapsedTimer>
#include <QList>
#include <QString>

#include <coroutine>
#include <functional>
#include <memory>
#include <vector>

class TavikSimulator;

// One port's link to its device, as a command uses it: the port chosen, a
// relay table, the terminal's view and the command's report, and the core's
// session that runs the command's dialogues on them; with --simulate, the
// built-in simulated device too. A command on several ports has one each,
// all on this thread.
class DeviceConnection
{
public:
    DeviceConnection(const QString &command, bool json);
    ~DeviceConnection();

    // Points the link at --port's port: a number, "ComN", "serial:" and an
    // adapter's serial number, a device path or a serial server's address
    // (added to the port list, since the system never lists pseudo-terminals,
    // links and servers; a link to a listed port is that port). False, with
    // the reason, when there is no such port or the address is malformed.
    bool usePort(const QString &port, QString *error);
    // Starts the built-in simulated device on its state file and points the
    // link at it. False, with the reason, when it cannot start.
    bool useSimulator(QString *error);

    // The port as the user named it; "simulated" for the built-in device.
    QString name() const { return m_name; }
    // The port as a sentence names it: its name, or "the simulated device".
    QString where() const;
    // Says what the command did: text's two lowest placeholders left take
    // the port and the seconds since the command started on it.
    void summarize(const QString &text);
    // One of several ports: its lines are tagged with its name and its JSON
    // becomes its entry in the command's document.
    void setManyPortsTag();

    // Runs the command's work for this port in the session; the work ends
    // with the port's exit code, which its report holds too. Once any has
    // started, a signal cancels instead of ending tavikctl.
    void start(Task<int> work);

    // Cancels the command running on every connection (SIGINT, SIGTERM).
    static void cancelAll();

    DeviceSession &session() { return m_session; }
    DeviceLink &link() { return m_session.link(); }
    RelayTable &table() { return m_table; }
    TerminalView &view() { return m_view; }
    CommandReport &report() { return m_report; }
    DeviceDialogues &dialogues() { return m_session.dialogues(); }
    DeviceCommands &commands() { return m_session.commands(); }

private:
    // The session hears only whether the work was cancelled; what it came
    // to is in the report.
    Task<DialogueResult> runWork(Task<int> work);
    void selectRuntimePort(const QString &path, const QString &name = {});

    // Declared first so that it outlives the port that talks to it.
    std::unique_ptr<TavikSimulator> m_simulator;
    QString m_name;
    QElapsedTimer m_started;
    RelayTable m_table{};
    TerminalView m_view;
    CommandReport m_report;
    DeviceSession m_session{m_table};
};

using DeviceConnections = std::vector<std::unique_ptr<DeviceConnection>>;

// Connects the connection to the one port (or the simulated device) the
// options name, or to none. Returns an exit code, or -1 to go on.
int connectOne(DeviceConnection &connection, const DeviceArgs &args, bool portRequired);

// Connects one connection for each port the options name (--simulate: one),
// tagged when there are several. Returns an exit code, or -1 to go on.
int connectAll(DeviceConnections &connections, const DeviceArgs &args, bool json);

// Starts the work on every connection at once and ends when all have ended:
// with one port as that port's command ends, with several as finishPorts()
// ends them.
Task<int> runOnEveryPort(DeviceConnections connections, QString command, bool json,
                         std::function<Task<int>(DeviceConnection *)> work);

// co_await suspends the command until the work started on every connection
// has ended; it goes on from the event loop, after the last session has
// become idle.
class AllFinished
{
public:
    explicit AllFinished(const DeviceConnections &connections);

    bool await_ready() const;
    void await_suspend(std::coroutine_handle<> waiting);
    void await_resume() const {}

private:
    void check();

    QList<DeviceSession *> m_sessions;
    QList<QMetaObject::Connection> m_watches;
    std::coroutine_handle<> m_waiting;
    QObject m_context;
};
