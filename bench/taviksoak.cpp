// A long run, never part of the test suite: thousands of dialogues of every
// kind (read, program, PC control, latch, momentary) against the simulated
// device, over its terminal and through ser2net, with random faults laid on
// the line: hang-ups, wrong echoes, silences, bursts, floods and a serial
// server that goes away. After every dialogue that fails, the same dialogue
// on a healthy line must succeed. Resident memory and open descriptors are
// read from /proc (Linux) after a warm-up and at the end; neither may grow.
//
// Usage: taviksoak [DIALOGUES] [SEED]
#include "base/errorlog.h"
#include "config/relayconfig.h"
#include "dialogues/devicesession.h"
#include "finish.h"
#include "privateport.h"
#include "ser2netserver.h"
#include "taviksimulator.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <array>
#include <cstdio>
#include <memory>

namespace
{

enum class Kind { Read, Program, PCControl, Latch, Momentary };
constexpr std::array KindNames{"read", "program", "PC control", "latch", "momentary"};

enum class Fault { None, WrongEcho, HangUp, Silence, Burst, Flood, ServerGoesAway };
constexpr std::array FaultNames{"none", "wrong echo", "hang-up", "silence", "burst", "flood", "server goes away"};

long procStatusKb(const char *field)
{
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size());
}

class Soak
{
public:
    explicit Soak(quint32 seed) : m_random(seed)
    {
        m_dialogues.setPauses({2, 2});
        QObject::connect(&m_session, &DeviceSession::statusChanged,
                         [this](const QString &text) { m_status = text; });
        m_serverStop.setSingleShot(true);
        QObject::connect(&m_serverStop, &QTimer::timeout, [this] {
            if (m_server)
                m_server->stop();
        });
    }

    bool start()
    {
        return replaceDevice();
    }

    // One faulted dialogue, then, if it failed, the same dialogue on a healthy
    // line. False when that second one fails too.
    bool step(int number)
    {
        const Kind kind = pickKind();
        const Fault fault = pickFault();
        ++m_runs[size_t(kind)];
        ++m_faults[size_t(fault)];
        if (fault == Fault::ServerGoesAway && !useServer())
            return false;
        setFaults(fault);
        const bool succeeded = run(kind, fault == Fault::ServerGoesAway);
        if (qEnvironmentVariableIsSet("TAVIK_SOAK_VERBOSE"))
            std::printf("%d %s %s: %s\n", number, KindNames[size_t(kind)], FaultNames[size_t(fault)],
                        succeeded ? "ok" : qPrintable(m_status));
        // A device set to hang up may do so after the dialogue, and a flood
        // goes on: either is a cable unplugged and plugged in again, a fresh
        // device. A server that went away is gone: the device is used
        // directly again.
        if ((fault == Fault::HangUp || fault == Fault::Flood) && !replaceDevice())
            return false;
        if (fault == Fault::ServerGoesAway)
            useDevice();
        m_device->setFaults({});
        if (succeeded)
            return true;
        ++m_failures[size_t(kind)];
        if (run(kind, false))
            return true;
        std::fprintf(stderr, "taviksoak: dialogue %d (%s after %s) failed on a healthy line: %s\n", number,
                     KindNames[size_t(kind)], FaultNames[size_t(fault)], qPrintable(m_status));
        return false;
    }

    void printCounts() const
    {
        for (size_t k = 0; k < KindNames.size(); ++k)
            std::printf("  %-10s %6d runs, %5d failed under a fault, each followed by a success\n", KindNames[k],
                        m_runs[k], m_failures[k]);
        for (size_t f = 0; f < FaultNames.size(); ++f)
            std::printf("  fault %-16s %6d\n", FaultNames[f], m_faults[f]);
    }

private:
    Kind pickKind()
    {
        const int roll = m_random.bounded(100);
        return roll < 35 ? Kind::Read : roll < 60 ? Kind::Program : roll < 80 ? Kind::PCControl
               : roll < 90                        ? Kind::Latch
                                                  : Kind::Momentary;
    }

    // Silences cost a whole timeout each, so they are rare.
    Fault pickFault()
    {
        const int roll = m_random.bounded(1000);
        return roll < 550   ? Fault::None
               : roll < 700 ? Fault::WrongEcho
               : roll < 800 ? Fault::HangUp
               : roll < 805 ? Fault::Silence
               : roll < 935 ? Fault::Burst
               : roll < 950 ? Fault::Flood
                            : Fault::ServerGoesAway;
    }

    void setFaults(Fault fault)
    {
        SimFaults faults;
        switch (fault) {
        case Fault::None:
            break;
        case Fault::WrongEcho:
            faults.wrongEchoAtInput = m_random.bounded(12);
            break;
        case Fault::HangUp:
            faults.hangUpAfterOutput = m_random.bounded(400);
            break;
        case Fault::Silence:
            faults.silentAfterOutput = m_random.bounded(200);
            break;
        case Fault::Burst:
            faults.chunkSize = 1 + m_random.bounded(300);
            faults.chunkDelayMs = m_random.bounded(30);
            break;
        case Fault::Flood:
            faults.flood = true;
            break;
        case Fault::ServerGoesAway:
            faults.paced = true;
            break;
        }
        m_device->setFaults(faults);
    }

    bool run(Kind kind, bool serverGoesAway)
    {
        m_shown = m_random.bounded(RelayCount);
        RelayConfig &relay = m_table[size_t(m_shown)];
        // Somewhere in the dialogue, or before it begins.
        if (serverGoesAway)
            m_serverStop.start(m_random.bounded(400));
        const bool succeeded = runKind(kind, relay);
        m_serverStop.stop();
        return succeeded;
    }

    bool runKind(Kind kind, RelayConfig &relay)
    {
        switch (kind) {
        case Kind::Read:
            return finished(finish(m_dialogues.readRelay(m_shown)));
        case Kind::Program:
            relay.RelayMode = qint16(m_random.bounded(RelayModeCount));
            relay.InputMode = qint16(m_random.bounded(InputModeCount));
            relay.UnlatchInputMode = qint16(m_random.bounded(InputModeCount));
            relay.Counter = m_random.bounded(MaxCounter + 1);
            CounterToTime(relay);
            for (bool &input : relay.InputMap)
                input = m_random.bounded(2) == 1;
            for (bool &input : relay.UnlatchMap)
                input = m_random.bounded(2) == 1;
            return finished(finish(m_dialogues.programRelay(m_shown)));
        case Kind::PCControl:
            return finish(m_dialogues.setPCControl(m_shown, !relay.PCControl)) == LiveOutcome::Succeeded;
        case Kind::Latch:
        case Kind::Momentary:
            // Only a relay under PC control takes them.
            if (!relay.PCControl) {
                const LiveOutcome taken = finish(m_dialogues.setPCControl(m_shown, true));
                if (taken != LiveOutcome::Succeeded)
                    return false;
            }
            return finish(kind == Kind::Latch ? m_dialogues.latchInput(m_shown)
                                              : m_dialogues.pulseInput(m_shown)) == LiveOutcome::Succeeded;
        }
        return false;
    }

    bool finished(DialogueResult result)
    {
        m_status = m_status + QStringLiteral(" (result %1)").arg(int(result));
        return result == DialogueResult::Done;
    }

    bool replaceDevice()
    {
        m_server.reset();
        auto device = std::make_unique<TavikSimulator>();
        QString error;
        if (!device->start(&error)) {
            std::fprintf(stderr, "taviksoak: %s\n", qPrintable(error));
            return false;
        }
        m_device = std::move(device);
        // The device starts with its own relays; the table follows it on the next read.
        m_table = RelayTable{};
        useDevice();
        return true;
    }

    void useDevice()
    {
        m_server.reset();
        usePort(privatePortPath(m_device->portPath()));
    }

    bool useServer()
    {
        auto server = std::make_unique<Ser2netServer>();
        QString error;
        if (!server->start(m_device->portPath(), m_random.bounded(2) == 1, &error)) {
            std::fprintf(stderr, "taviksoak: %s\n", qPrintable(error));
            return false;
        }
        m_server = std::move(server);
        usePort(m_server->address());
        return true;
    }

    void usePort(const QString &path)
    {
        PortDirectory &ports = m_link.port().directory();
        m_link.port().setPortLocation(ports.location(ports.addRuntimePort(path)));
    }

    QRandomGenerator m_random;
    std::unique_ptr<TavikSimulator> m_device;
    std::unique_ptr<Ser2netServer> m_server;
    QTimer m_serverStop;
    RelayTable m_table{};
    DeviceSession m_session{m_table};
    DeviceLink &m_link = m_session.link();
    DeviceDialogues &m_dialogues = m_session.dialogues();
    // A relay at random for each dialogue, and the last status the session gave.
    int m_shown = 0;
    QString m_status;
    std::array<int, KindNames.size()> m_runs{};
    std::array<int, KindNames.size()> m_failures{};
    std::array<int, FaultNames.size()> m_faults{};
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int dialogues = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    const quint32 seed = argc > 2 ? quint32(std::strtoul(argv[2], nullptr, 10)) : 1;
    QTemporaryDir folder;
    setErrorLogPath(qEnvironmentVariable("TAVIK_SOAK_LOG", folder.filePath(QStringLiteral("errors.log"))));

    Soak soak(seed);
    if (!soak.start())
        return 1;
    const int warmUp = std::min(1000, dialogues / 10);
    long rssAfterWarmUp = 0, rssMax = 0;
    int fdsAfterWarmUp = 0, fdsMax = 0, fdsAtEnd = 0;
    QElapsedTimer clock;
    clock.start();
    std::printf("taviksoak: %d dialogues, seed %u\n", dialogues, seed);
    for (int number = 1; number <= dialogues; ++number) {
        if (!soak.step(number)) {
            soak.printCounts();
            return 1;
        }
        // Sockets and processes of a server let go are deleted later, by the event loop.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const long rss = procStatusKb("VmRSS");
        const int fds = openDescriptors();
        if (number == warmUp) {
            rssAfterWarmUp = rssMax = rss;
            fdsAfterWarmUp = fds;
        } else if (number > warmUp) {
            rssMax = std::max(rssMax, rss);
            fdsMax = std::max(fdsMax, fds);
            fdsAtEnd = fds;
        }
        if (number % 1000 == 0 || number == dialogues) {
            std::printf("%6d dialogues  %6.0f s  resident %ld kB  descriptors %d\n", number,
                        double(clock.elapsed()) / 1000, rss, fds);
            std::fflush(stdout);
        }
    }
    soak.printCounts();
    const long rssGrowth = rssMax - rssAfterWarmUp;
    std::printf("after warm-up (%d dialogues): resident %ld kB, at most %ld kB (+%ld kB); descriptors %d, "
                "at most %d, at the end %d\n",
                warmUp, rssAfterWarmUp, rssMax, rssGrowth, fdsAfterWarmUp, fdsMax, fdsAtEnd);
    const bool flat = rssGrowth <= 2048 && fdsAtEnd <= fdsAfterWarmUp;
    std::printf("%s\n", flat ? "flat: memory within 2 MB, no descriptor kept" : "GROWING");
    return flat ? 0 : 2;
}
