#include "taviksimulator.h"

#include "simulatorengine.h"

#include <QDir>
#include <QStandardPaths>

TavikSimulator::TavikSimulator(QObject *parent)
    : QObject(parent), m_engine(std::make_unique<SimulatorEngine>())
{
}

TavikSimulator::~TavikSimulator() = default;

bool TavikSimulator::start(QString *error)
{
    return m_engine->start(error);
}

void TavikSimulator::stop()
{
    m_engine->stop();
}

void TavikSimulator::listenOn(const QString &host, quint16 port, int idleMs)
{
    m_engine->listenOn(host, port, idleMs);
}

QString TavikSimulator::portPath() const
{
    return m_engine->portPath();
}

void TavikSimulator::setStateFile(const QString &path)
{
    m_engine->setStateFile(path);
}

QString TavikSimulator::defaultStateFile()
{
    // One folder for every program, whatever its application name: the relays
    // that tavikgui --simulate programs are the ones tavikctl --simulate reads.
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/tavik");
    QDir().mkpath(folder);
    return folder + QStringLiteral("/tavik-sim-state.txt");
}

void TavikSimulator::setFaults(const SimFaults &faults)
{
    m_engine->setFaults(faults);
}

SimFaults TavikSimulator::faults() const
{
    return m_engine->faults();
}

void TavikSimulator::hangUp()
{
    m_engine->hangUp();
}

SimRelay TavikSimulator::relay(int index) const
{
    return m_engine->relay(index);
}

void TavikSimulator::setRelay(int index, const SimRelay &relay)
{
    m_engine->setRelay(index, relay);
}

QByteArray TavikSimulator::received() const
{
    return m_engine->received();
}

void TavikSimulator::clearReceived()
{
    m_engine->clearReceived();
}

qint64 TavikSimulator::sentCount() const
{
    return m_engine->sentCount();
}
