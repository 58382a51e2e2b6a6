#include "deviceconnection.h"

#include "clitext.h"
#include "command.h"
#include "link/serveraddress.h"
#include "signalcancel.h"
#include "taviksimulator.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>

#include <algorithm>

namespace
{

// Every connection alive, for a signal to cancel them all.
QList<DeviceConnection *> s_connections;

} // namespace

DeviceConnection::DeviceConnection(const QString &command, bool json) : m_report(command, json)
{
    s_connections << this;
    QObject::connect(&m_session, &DeviceSession::statusChanged, &m_session,
                     [this](const QString &text) { m_view.setStatusText(text); });
    QObject::connect(&m_session, &DeviceSession::actionChanged, &m_session,
                     [this](const QString &text) { m_view.setActionText(text); });
    QObject::connect(&m_session, &DeviceSession::progress, &m_session,
                     [this](int done, int total) { m_view.setDone(done, total); });
}

DeviceConnection::~DeviceConnection()
{
    s_connections.removeOne(this);
    // The simulated device hangs up when it stops; close our end first.
    link().port().close();
}

bool DeviceConnection::usePort(const QString &port, QString *error)
{
    static const QRegularExpression number(QStringLiteral("^(?:com)?(\\d+)$"),
                                           QRegularExpression::CaseInsensitiveOption);
    m_name = port;
    DevicePort &devicePort = link().port();
    if (const QRegularExpressionMatch match = number.match(port); match.hasMatch()) {
        devicePort.setPortNumber(match.captured(1).toInt());
        return true;
    }
    if (port.startsWith(QStringLiteral("serial:"))) {
        PortDirectory &ports = devicePort.directory();
        const int found = ports.numberOfSerial(port.mid(7));
        if (found == 0) {
            *error = CliText::tr("--port: no adapter has the serial number '%1'").arg(port.mid(7));
            return false;
        }
        devicePort.setPortLocation(ports.location(found));
        return true;
    }
    if (looksLikeServerAddress(port)) {
        if (!serverAddress(port)) {
            *error = QStringLiteral("--port: ") + serverAddressFault(port);
            return false;
        }
        selectRuntimePort(port);
        return true;
    }
    if (!QFileInfo::exists(port)) {
        *error = CliText::tr("--port: no port number and no such device '%1'").arg(port);
        return false;
    }
    selectRuntimePort(port);
    return true;
}

bool DeviceConnection::useSimulator(QString *error)
{
    m_name = QStringLiteral("simulated");
    m_simulator = std::make_unique<TavikSimulator>();
    m_simulator->setStateFile(TavikSimulator::defaultStateFile());
    if (!m_simulator->start(error))
        return false;
    selectRuntimePort(m_simulator->portPath(), TavikSimulator::portListName());
    return true;
}

void DeviceConnection::setManyPortsTag()
{
    m_view.setTag(m_name + u'\t');
    m_report.setPortTerminal(&m_view);
}

QString DeviceConnection::where() const
{
    return m_simulator ? CliText::tr("the simulated device") : m_name;
}

void DeviceConnection::summarize(const QString &text)
{
    m_view.summarize(text.arg(where()).arg(double(m_started.elapsed()) / 1000, 0, 'f', 1));
}

void DeviceConnection::start(Task<int> work)
{
    m_started.start();
    SignalCancel::setCancellable();
    m_session.start(runWork(std::move(work)));
}

Task<DialogueResult> DeviceConnection::runWork(Task<int> work)
{
    // Open from the command's first dialogue to its last: opening a port
    // takes longer than a relay's answer.
    dialogues().holdPortOpen();
    co_await work;
    dialogues().releaseHeldPort();
    co_return link().cancelled() ? DialogueResult::Cancelled : DialogueResult::Done;
}

void DeviceConnection::cancelAll()
{
    for (DeviceConnection *connection : std::as_const(s_connections))
        connection->m_session.cancel();
}

void DeviceConnection::selectRuntimePort(const QString &path, const QString &name)
{
    PortDirectory &ports = link().port().directory();
    link().port().setPortLocation(ports.location(ports.addRuntimePort(path, name)));
}

int connectOne(DeviceConnection &connection, const DeviceArgs &args, bool portRequired)
{
    QString error;
    if (args.simulate) {
        if (!connection.useSimulator(&error)) {
            QTextStream(stderr) << CliText::tr("tavikctl: the simulated device cannot start: %1").arg(error)
                                << '\n';
            return ExitFailed;
        }
    } else if (args.ports.size() > 1) {
        return usageError(CliText::tr("%1: --port given twice").arg(args.command));
    } else if (!args.ports.isEmpty()) {
        if (!connection.usePort(args.ports.first(), &error))
            return usageError(error);
    } else if (portRequired) {
        return usageError(CliText::tr("%1 needs --port PORT or --simulate").arg(args.command));
    }
    return -1;
}

int connectAll(DeviceConnections &connections, const DeviceArgs &args, bool json)
{
    if (args.ports.size() <= 1) {
        connections.push_back(std::make_unique<DeviceConnection>(args.command, json));
        return connectOne(*connections.back(), args, true);
    }
    for (const QString &port : args.ports) {
        auto connection = std::make_unique<DeviceConnection>(args.command, json);
        QString error;
        if (!connection->usePort(port, &error))
            return usageError(error);
        connection->setManyPortsTag();
        connections.push_back(std::move(connection));
    }
    return -1;
}

AllFinished::AllFinished(const DeviceConnections &connections)
{
    for (const auto &connection : connections)
        m_sessions << &connection->session();
}

bool AllFinished::await_ready() const
{
    return std::all_of(m_sessions.cbegin(), m_sessions.cend(),
                       [](const DeviceSession *session) { return session->isIdle(); });
}

void AllFinished::await_suspend(std::coroutine_handle<> waiting)
{
    m_waiting = waiting;
    for (DeviceSession *session : std::as_const(m_sessions))
        m_watches << QObject::connect(session, &DeviceSession::stateChanged, session, [this] { check(); });
}

void AllFinished::check()
{
    if (!await_ready())
        return;
    for (const QMetaObject::Connection &watch : std::as_const(m_watches))
        QObject::disconnect(watch);
    m_watches.clear();
    // Resumed from inside the session's own signal, the command could take
    // the session down under it. Posted to the awaiter's own object, it is
    // dropped should the command be destroyed first.
    QMetaObject::invokeMethod(
        &m_context, [waiting = m_waiting] { waiting.resume(); }, Qt::QueuedConnection);
}

Task<int> runOnEveryPort(DeviceConnections connections, QString command, bool json,
                         std::function<Task<int>(DeviceConnection *)> work)
{
    for (const auto &connection : connections)
        connection->start(work(connection.get()));
    // Named: GCC 12 destroys a closure (or an awaiter) made in a statement that awaits twice.
    AllFinished allFinished(connections);
    co_await allFinished;
    if (connections.size() == 1)
        co_return connections.front()->report().exitCode();
    QList<const CommandReport *> reports;
    QStringList ports;
    for (const auto &connection : connections) {
        reports << &connection->report();
        ports << connection->name();
    }
    co_return finishPorts(command, json, reports, ports);
}
