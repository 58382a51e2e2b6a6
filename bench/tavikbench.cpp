// Times tavikctl reading, verifying and programming all 16 relays against the
// simulated device paced at 57600 baud (as tavik-sim --paced), reading them
// through ser2net serving that device (raw and RFC 2217), programming only
// what changed, eight devices programmed at once by a tavikctl each, 32
// programmed by one tavikctl, how soon SIGINT brings escape and the end, and
// the CPU one 3.1 s timeout costs against a silent device (as tavik-sim
// --silent). The devices run in this process so that their transcripts give
// the bytes on the line.
#include "processrunner.h"
#include "ser2netserver.h"
#include "taviksimulator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>

namespace
{

constexpr double BitsPerCharacter = 10; // start bit, 8 data bits, stop bit
constexpr double Baud = 57600;

struct Timing {
    int exitCode = -1;
    double seconds = 0;
    double cpuMs = 0;
    qint64 bytesBothWays = 0;
};

ProcessRun runTavikctl(const QStringList &args, const QString &folder = {})
{
    ProcessRequest request;
    request.program = QStringLiteral(TAVIKCTL_PATH);
    request.arguments = args;
    request.folder = folder;
    request.timeoutMs = -1;
    return runProcess(request);
}

Timing timeTavikctl(TavikSimulator &device, const QStringList &args, const QString &folder, const QString &port)
{
    device.clearReceived();
    const QStringList onDevice = args + QStringList{QStringLiteral("--port"), port};
    const ProcessRun run = runTavikctl(onDevice, folder);
    Timing timing;
    timing.exitCode = run.exitCode;
    timing.seconds = run.elapsedMs / 1000;
    timing.cpuMs = run.cpuMs;
    timing.bytesBothWays = device.received().size() + device.sentCount();
    return timing;
}

void report(const char *what, const Timing &best, double pausesSeconds, double target = 1.2)
{
    const double lineSeconds = best.bytesBothWays * BitsPerCharacter / Baud;
    const double floor = lineSeconds + pausesSeconds;
    std::printf("%-28s %6.3f s  floor %6.3f s (%lld bytes on the line %.3f s + pauses %.3f s)  ratio %.3f  (target <= %.2f)\n",
                what, best.seconds, floor, static_cast<long long>(best.bytesBothWays), lineSeconds, pausesSeconds,
                best.seconds / floor, target);
}

void reportAgainst(const char *what, const Timing &timing, const char *base, const Timing &baseTiming,
                   const char *target)
{
    std::printf("%-28s %6.3f s  %s %6.3f s  ratio %.3f  (target %s)\n", what, timing.seconds, base,
                baseTiming.seconds, timing.seconds / baseTiming.seconds, target);
}

// The fastest of a few runs: the machine's noise only ever adds time. Before
// each run, prepare (if given) sets the device up.
Timing bestOf(int runs, TavikSimulator &device, const QStringList &args, const QString &folder,
              const QString &port = {}, const std::function<void()> &prepare = {})
{
    Timing best;
    for (int run = 0; run < runs; ++run) {
        if (prepare)
            prepare();
        const Timing timing = timeTavikctl(device, args, folder, port.isEmpty() ? device.portPath() : port);
        if (timing.exitCode != 0) {
            std::fprintf(stderr, "tavikbench: tavikctl %s exited %d\n", qPrintable(args.join(u' ')), timing.exitCode);
            std::exit(1);
        }
        if (run == 0 || timing.seconds < best.seconds)
            best = timing;
    }
    return best;
}

std::unique_ptr<TavikSimulator> startDevice(const QString &stateFile, const SimFaults &faults)
{
    auto device = std::make_unique<TavikSimulator>();
    device->setStateFile(stateFile);
    device->setFaults(faults);
    QString error;
    if (!device->start(&error)) {
        std::fprintf(stderr, "tavikbench: %s\n", qPrintable(error));
        std::exit(1);
    }
    return device;
}

// Polls (this process only watches) until the device has received what
// holds, or the time is up; false then.
bool waitForDevice(const TavikSimulator &device, const std::function<bool(const QByteArray &)> &holds,
                   int timeoutMs = 30000)
{
    QElapsedTimer clock;
    clock.start();
    while (!holds(device.received())) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QThread::usleep(200);
    }
    return true;
}

// SIGINT once relay 2 is being programmed: how long until the device has
// heard escape, and until tavikctl has closed the port and ended.
struct CancelTiming {
    double escapeMs = 0;
    double exitMs = 0;
    int exitCode = -1;
};

CancelTiming timeCancel(TavikSimulator &device, const QString &table)
{
    device.clearReceived();
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(QStringLiteral(TAVIKCTL_PATH), {QStringLiteral("program"), QStringLiteral("-i"), table,
                                                  QStringLiteral("--port"), device.portPath()});
    CancelTiming timing;
    if (!waitForDevice(device, [](const QByteArray &heard) { return heard.count('p') >= 2; }))
        return timing;
    // A little into relay 2's dialogue, wherever it then waits.
    QThread::msleep(150);
    QElapsedTimer clock;
    clock.start();
    ::kill(pid_t(process.processId()), SIGINT);
    if (waitForDevice(device, [](const QByteArray &heard) { return heard.endsWith('\x1b'); }, 5000))
        timing.escapeMs = double(clock.nsecsElapsed()) / 1e6;
    process.waitForFinished(10000);
    timing.exitMs = double(clock.nsecsElapsed()) / 1e6;
    timing.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return timing;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    QTemporaryDir folder;
    const QString table = folder.filePath(QStringLiteral("table.csv"));

    TavikSimulator paced;
    paced.setStateFile(folder.filePath(QStringLiteral("state.txt")));
    SimFaults pacing;
    pacing.paced = true;
    paced.setFaults(pacing);
    QString error;
    if (!paced.start(&error)) {
        std::fprintf(stderr, "tavikbench: %s\n", qPrintable(error));
        return 1;
    }
    // A table with timed and Latching relays, so that programming takes every branch.
    for (int index = 0; index < 16; ++index) {
        SimRelay relay;
        relay.mode = index % 10 + 1;
        relay.gate = (index % 4) + (index % 8 >= 4 ? 8 : 0);
        relay.map = quint16((0x5A5 << (index % 3)) & 0xFFF);
        relay.unlatchGate = 9;
        relay.unlatchMap = 0x0F0;
        relay.counter = quint32(6699 * (index + 1));
        paced.setRelay(index, relay);
    }

    std::printf("tavikctl against the simulated device paced at 57600 baud, best of %d runs\n", runs);
    const Timing read = bestOf(runs, paced, {QStringLiteral("read"), QStringLiteral("-o"), table}, folder.path());
    report("read all 16 relays", read, 16 * 0.050);
    const Timing verify = bestOf(runs, paced, {QStringLiteral("verify"), QStringLiteral("-i"), table}, folder.path());
    report("verify all 16 relays", verify, 16 * 0.050, 1.15);
    const Timing program = bestOf(runs, paced, {QStringLiteral("program"), QStringLiteral("-i"), table}, folder.path());
    report("program all 16 relays", program, 16 * 0.300);
    for (const bool telnet : {false, true}) {
        Ser2netServer server;
        if (!server.start(paced.portPath(), telnet, &error)) {
            std::fprintf(stderr, "tavikbench: %s\n", qPrintable(error));
            return 1;
        }
        const Timing served = bestOf(runs, paced, {QStringLiteral("read"), QStringLiteral("-o"), table},
                                     folder.path(), server.address());
        report(telnet ? "read all, ser2net RFC 2217" : "read all, ser2net raw", served, 16 * 0.050, 1.15);
    }

    const QStringList changed{QStringLiteral("program"), QStringLiteral("-i"), table, QStringLiteral("--changed")};
    const SimRelay kept = paced.relay(4);
    SimRelay other = kept;
    other.map ^= 0x801;
    const Timing changedOne =
        bestOf(runs, paced, changed, folder.path(), {}, [&] { paced.setRelay(4, other); });
    if (!(paced.relay(4) == kept)) {
        std::fprintf(stderr, "tavikbench: program --changed left relay 5 as it was\n");
        return 1;
    }
    reportAgainst("program --changed, 1 of 16", changedOne, "full program", program, "< 0.40");
    const Timing changedNone = bestOf(runs, paced, changed, folder.path());
    reportAgainst("program --changed, none", changedNone, "full program", program, "(none)");

    std::vector<CancelTiming> cancels;
    for (int run = 0; run < runs; ++run)
        cancels.push_back(timeCancel(paced, table));
    std::sort(cancels.begin(), cancels.end(),
              [](const CancelTiming &a, const CancelTiming &b) { return a.exitMs < b.exitMs; });
    for (const CancelTiming &cancel : cancels) {
        if (cancel.exitCode != 130) {
            std::fprintf(stderr, "tavikbench: a cancelled tavikctl exited %d\n", cancel.exitCode);
            return 1;
        }
    }
    std::printf("%-28s escape heard after %.1f ms, tavikctl ended (port closed) after %.1f ms; "
                "the last of %d to end: %.1f ms, %.1f ms\n",
                "SIGINT while programming", cancels.front().escapeMs, cancels.front().exitMs, runs,
                cancels.back().escapeMs, cancels.back().exitMs);
    paced.stop();

    // 32 devices, all programmed by one tavikctl.
    constexpr int ManyDevices = 32;
    Timing many;
    for (int run = 0; run < runs; ++run) {
        std::vector<std::unique_ptr<TavikSimulator>> devices;
        QStringList args{QStringLiteral("program"), QStringLiteral("-i"), table};
        for (int d = 0; d < ManyDevices; ++d) {
            devices.push_back(startDevice(folder.filePath(QStringLiteral("many-%1.txt").arg(d)), pacing));
            args << QStringLiteral("--port") << devices.back()->portPath();
        }
        const ProcessRun ran = runTavikctl(args, folder.path());
        if (ran.exitCode != 0) {
            std::fprintf(stderr, "tavikbench: tavikctl on %d devices exited %d\n", ManyDevices, ran.exitCode);
            return 1;
        }
        if (run == 0 || ran.elapsedMs / 1000 < many.seconds)
            many = {ran.exitCode, ran.elapsedMs / 1000, ran.cpuMs, 0};
    }
    std::printf("%-28s %6.3f s  one device %6.3f s  ratio %.3f  CPU %.0f ms for the whole run (%.1f ms a "
                "device; one device alone %.1f ms)\n",
                "program 32 devices, one run", many.seconds, program.seconds, many.seconds / program.seconds,
                many.cpuMs, many.cpuMs / ManyDevices, program.cpuMs);

    // Eight devices, each programmed by a tavikctl of its own, all at once.
    constexpr int Devices = 8;
    double fleetSeconds = 0;
    for (int run = 0; run < runs; ++run) {
        std::vector<std::unique_ptr<TavikSimulator>> devices;
        std::vector<std::unique_ptr<QProcess>> processes;
        for (int d = 0; d < Devices; ++d) {
            auto device = std::make_unique<TavikSimulator>();
            device->setStateFile(folder.filePath(QStringLiteral("fleet-%1.txt").arg(d)));
            device->setFaults(pacing);
            if (!device->start(&error)) {
                std::fprintf(stderr, "tavikbench: %s\n", qPrintable(error));
                return 1;
            }
            devices.push_back(std::move(device));
        }
        QElapsedTimer wall;
        wall.start();
        for (const auto &device : devices) {
            auto process = std::make_unique<QProcess>();
            process->setStandardOutputFile(QProcess::nullDevice());
            process->setStandardErrorFile(QProcess::nullDevice());
            process->start(QStringLiteral(TAVIKCTL_PATH), {QStringLiteral("program"), QStringLiteral("-i"), table,
                                                           QStringLiteral("--port"), device->portPath()});
            processes.push_back(std::move(process));
        }
        for (const auto &process : processes) {
            if (!process->waitForFinished(-1) || process->exitCode() != 0) {
                std::fprintf(stderr, "tavikbench: a tavikctl of the eight failed\n");
                return 1;
            }
        }
        const double seconds = wall.elapsed() / 1000.0;
        if (run == 0 || seconds < fleetSeconds)
            fleetSeconds = seconds;
    }
    std::printf("%-28s %6.3f s  one device %6.3f s  ratio %.3f  (target <= 1.3)\n", "program 8 devices at once",
                fleetSeconds, program.seconds, fleetSeconds / program.seconds);

    TavikSimulator silent;
    silent.setStateFile(folder.filePath(QStringLiteral("silent-state.txt")));
    SimFaults silence;
    silence.silent = true;
    silent.setFaults(silence);
    if (!silent.start(&error)) {
        std::fprintf(stderr, "tavikbench: %s\n", qPrintable(error));
        return 1;
    }
    // The process's own start and end, to set against the timeout run.
    const double startCpu = runTavikctl({QStringLiteral("--version")}).cpuMs;
    const ProcessRun timeout = runTavikctl({QStringLiteral("read"), QStringLiteral("--relay"),
                                            QStringLiteral("1"), QStringLiteral("--port"), silent.portPath()});
    std::printf("%-28s %6.3f s  exit %d  CPU %.1f ms for the whole run (start-up alone %.1f ms, so about "
                "%.1f ms for the wait)  (target < 50 ms)\n",
                "one timeout (silent device)", timeout.elapsedMs / 1000, timeout.exitCode, timeout.cpuMs,
                startCpu, std::max(0.0, timeout.cpuMs - startCpu));
    return 0;
}
