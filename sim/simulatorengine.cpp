#include "simulatorengine.h"

#include "simline.h"
#include "simstatefile.h"
#include "simtcpwire.h"

#include <QMutexLocker>
#include <QThread>
#include <QtDebug>

SimulatorEngine::SimulatorEngine() = default;

SimulatorEngine::~SimulatorEngine()
{
    stop();
}

bool SimulatorEngine::start(QString *error)
{
    QMutexLocker life(&m_lifecycle);
    if (m_thread)
        return true;
    SimFaults faults;
    {
        QMutexLocker lock(&m_mutex);
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
    runOnLine([&] {
        // The wire is made on the line's thread, where it is used.
        std::unique_ptr<SimWire> wire =
            host.isEmpty() ? makeSystemWire() : std::make_unique<SimTcpWire>(host, port);
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
    QMutexLocker lock(&m_mutex);
    m_portPath = path;
    return true;
}

void SimulatorEngine::stop()
{
    QMutexLocker life(&m_lifecycle);
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
    QMutexLocker lock(&m_mutex);
    m_portPath.clear();
}

QString SimulatorEngine::portPath() const
{
    QMutexLocker lock(&m_mutex);
    return m_portPath;
}

void SimulatorEngine::setStateFile(const QString &path)
{
    QMutexLocker life(&m_lifecycle);
    QMutexLocker lock(&m_mutex);
    m_stateFile = path;
    if (m_thread)
        loadState();
}

void SimulatorEngine::listenOn(const QString &host, quint16 port)
{
    QMutexLocker life(&m_lifecycle);
    m_listenHost = host;
    m_listenPort = port;
}

void SimulatorEngine::setFaults(const SimFaults &faults)
{
    QMutexLocker life(&m_lifecycle);
    {
        QMutexLocker lock(&m_mutex);
        m_faults = faults;
        m_filter.setFaults(faults);
        m_menu.setManner(faults.echoEscape, faults.menuAfterCommand);
    }
    if (m_thread)
        runOnLine([this, faults] { m_line->applyFaults(faults); });
}

SimFaults SimulatorEngine::faults() const
{
    QMutexLocker lock(&m_mutex);
    return m_faults;
}

void SimulatorEngine::hangUp()
{
    QMutexLocker life(&m_lifecycle);
    if (m_thread)
        runOnLine([this] { m_line->hangUp(); });
}

SimRelay SimulatorEngine::relay(int index) const
{
    QMutexLocker lock(&m_mutex);
    if (index < 0 || index >= int(m_menu.relays().size()))
        return {};
    return m_menu.relays()[index];
}

void SimulatorEngine::setRelay(int index, const SimRelay &relay)
{
    QMutexLocker lock(&m_mutex);
    if (index < 0 || index >= int(m_menu.relays().size())) {
        qWarning("TavikSimulator: no relay with index %d", index);
        return;
    }
    m_menu.setRelay(index, relay);
    saveState();
}

QByteArray SimulatorEngine::received() const
{
    QMutexLocker lock(&m_mutex);
    return m_received;
}

void SimulatorEngine::clearReceived()
{
    QMutexLocker lock(&m_mutex);
    m_received.clear();
    m_sent = 0;
}

qint64 SimulatorEngine::sentCount() const
{
    QMutexLocker lock(&m_mutex);
    return m_sent;
}

QByteArray SimulatorEngine::answer(const QByteArray &input)
{
    QMutexLocker lock(&m_mutex);
    m_received += input;
    QByteArray output;
    for (const char c : input)
        output += m_filter.pass(c, m_menu);
    if (m_menu.takeChanged())
        saveState();
    return output;
}

void SimulatorEngine::countSent(qint64 count)
{
    QMutexLocker lock(&m_mutex);
    m_sent += count;
}

void SimulatorEngine::fallSilent()
{
    QMutexLocker lock(&m_mutex);
    m_filter.fallSilent();
}

// Blocks until the line's thread has done the work, so that a fault set or a
// hang-up asked for is in force when the call returns.
void SimulatorEngine::runOnLine(const std::function<void()> &work)
{
    if (QThread::currentThread() == m_thread.get())
        work();
    else
        QMetaObject::invokeMethod(m_line, work, Qt::BlockingQueuedConnection);
}

void SimulatorEngine::loadState()
{
    if (m_stateFile.isEmpty())
        return;
    if (const auto relays = SimStateFile::load(m_stateFile))
        m_menu.setRelays(*relays);
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
