#include "simulatorengine.h"

#include "simline.h"
#include "simstatefile.h"
#include "simtcpwire.h"

#include <QThread>
#include <QtDebug>

namespace
{

// What received() keeps: at least the last mebibyte, at most two.
constexpr qsizetype ReceivedKept = 1 << 20;

} // namespace

SimulatorEngine::SimulatorEngine() = default;

SimulatorEngine::~SimulatorEngine()
{
    stop();
}

bool SimulatorEngine::start(QString *error)
{
    std::lock_guard life(m_lifecycle);
    if (m_thread)
        return true;
    SimFaults faults;
    {
        std::lock_guard lock(m_mutex);
        loadState();
        m_filter.setFaults(m_faults);
        m_menu.setManner(m_faults.echoEscape, m_faults.menuAfterCommand);
        faults = m_faults;
    }
    m_thread = std::make_unique<QThread>();
    m_thread->setObjectName(QStringLiteral("tavik-sim"));
    m_line = new SimLine(this);
    m_line->moveToThread(m_thread.get());
    m_thread->start();

    bool opened = false;
    QString reason;
    QString path;
    const QString host = m_listenHost;
    const quint16 port = m_listenPort;
    const int idleMs = m_listenIdleMs;
    runOnLine([&] {
        // The wire is made on the line's thread, where it is used.
        std::unique_ptr<SimWire> wire =
            host.isEmpty() ? makeSystemWire() : std::make_unique<SimTcpWire>(host, port, idleMs);
        opened = m_line->open(std::move(wire), &reason, &path);
        if (opened)
            m_line->applyFaults(faults);
    });
    if (!opened) {
        stopThread();
        if (error)
            *error = reason;
        return false;
    }
    std::lock_guard lock(m_mutex);
    m_portPath = path;
    return true;
}

void SimulatorEngine::stop()
{
    std::lock_guard life(m_lifecycle);
    stopThread();
}

void SimulatorEngine::stopThread()
{
    if (!m_thread)
        return;
    runOnLine([this] { m_line->close(); });
    m_thread->quit();
    m_thread->wait();
    delete m_line;
    m_line = nullptr;
    m_thread.reset();
    std::lock_guard lock(m_mutex);
    m_portPath.clear();
}

QString SimulatorEngine::portPath() const
{
    std::lock_guard lock(m_mutex);
    return m_portPath;
}

void SimulatorEngine::setStateFile(const QString &path)
{
    std::lock_guard life(m_lifecycle);
    std::lock_guard lock(m_mutex);
    m_stateFile = path;
    // Read now, so that a file that is not one of the simulator's is never written over.
    loadState();
}

void SimulatorEngine::listenOn(const QString &host, quint16 port, int idleMs)
{
    std::lock_guard life(m_lifecycle);
    m_listenHost = host;
    m_listenPort = port;
    m_listenIdleMs = idleMs;
}

void SimulatorEngine::setFaults(const SimFaults &faults)
{
    std::lock_guard life(m_lifecycle);
    {
        std::lock_guard lock(m_mutex);
        m_faults = faults;
        m_filter.setFaults(faults);
        m_menu.setManner(faults.echoEscape, faults.menuAfterCommand);
    }
    if (m_thread)
        runOnLine([this, faults] { m_line->applyFaults(faults); });
}

SimFaults SimulatorEngine::faults() const
{
    std::lock_guard lock(m_mutex);
    return m_faults;
}

void SimulatorEngine::hangUp()
{
    std::lock_guard life(m_lifecycle);
    if (m_thread)
        runOnLine([this] { m_line->hangUp(); });
}

SimRelay SimulatorEngine::relay(int index) const
{
    std::lock_guard lock(m_mutex);
    if (index < 0 || index >= int(m_menu.relays().size()))
        return {};
    return m_menu.relays()[index];
}

void SimulatorEngine::setRelay(int index, const SimRelay &relay)
{
    std::lock_guard lock(m_mutex);
    if (index < 0 || index >= int(m_menu.relays().size())) {
        qWarning("TavikSimulator: no relay with index %d", index);
        return;
    }
    m_menu.setRelay(index, relay);
    saveState();
}

QByteArray SimulatorEngine::received() const
{
    std::lock_guard lock(m_mutex);
    return m_received;
}

void SimulatorEngine::clearReceived()
{
    std::lock_guard lock(m_mutex);
    m_received.clear();
    m_sent = 0;
}

qint64 SimulatorEngine::sentCount() const
{
    std::lock_guard lock(m_mutex);
    return m_sent;
}

QByteArray SimulatorEngine::answer(const QByteArray &input)
{
    std::lock_guard lock(m_mutex);
    // The latest characters only: a program that floods the line must not fill the memory.
    m_received += input;
    if (m_received.size() > 2 * ReceivedKept)
        m_received.remove(0, m_received.size() - ReceivedKept);
    QByteArray output;
    for (const char c : input)
        output += m_filter.pass(c, m_menu);
    if (m_menu.takeChanged())
        saveState();
    return output;
}

void SimulatorEngine::countSent(qint64 count)
{
    std::lock_guard lock(m_mutex);
    m_sent += count;
}

void SimulatorEngine::fallSilent()
{
    std::lock_guard lock(m_mutex);
    m_filter.fallSilent();
}

// Blocks until the line's thread has done the work, so that a fault set or a
// hang-up asked for is in force when the call returns.
void SimulatorEngine::runOnLine(const std::function<void()> &work)
{
    if (QThread::currentThread() == m_thread.get()) {
        work();
        return;
    }
    // The work and its end pass between the threads under a standard lock,
    // not in a blocking queued call, whose wait is hidden in Qt's library.
    std::unique_lock lock(m_handover);
    m_handedOver = &work;
    QMetaObject::invokeMethod(m_line, "runHandedOver", Qt::QueuedConnection);
    m_handedBack.wait(lock, [this] { return m_handedOver == nullptr; });
}

void SimulatorEngine::runHandedOver()
{
    std::lock_guard lock(m_handover);
    if (m_handedOver)
        (*m_handedOver)();
    m_handedOver = nullptr;
    m_handedBack.notify_all();
}

void SimulatorEngine::loadState()
{
    if (m_stateFile.isEmpty())
        return;
    QString error;
    if (const auto relays = SimStateFile::load(m_stateFile, &error)) {
        m_menu.setRelays(*relays);
    } else if (!error.isEmpty()) {
        // Someone else's file: the relays are kept in memory only.
        qWarning("TavikSimulator: %s", qPrintable(error));
        m_stateFile.clear();
    }
}

void SimulatorEngine::saveState()
{
    if (m_stateFile.isEmpty())
        return;
    QString error;
    if (!SimStateFile::save(m_stateFile, m_menu.relays(), &error))
        qWarning("TavikSimulator: cannot keep the relays in %s: %s", qPrintable(m_stateFile),
                 qPrintable(error));
}
