// Times tavikctl reading, verifying and programming all 16 relays against the
// simulated device paced at 57600 baud (as tavik-sim --paced), once as a
// device that lists no menu and once as one that does, each against the
// line's floor; whole-table commands against sixteen single-relay runs;
// reading through ser2net (raw and RFC 2217); programming only what
// changed; 32 devices programmed by one tavikctl and eight by a tavikctl
// each; how soon SIGINT brings escape and the end; and the CPU one 3.1 s
// timeout costs against a silent device (as tavik-sim --silent).
#include "processrunner.h"
#include "ser2netserver.h"
#include "simmenu.h"
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
constexpr double ReadPauseSeconds = 0.050;
constexpr double ProgramPauseSeconds = 0.300;

// The least time a run's dialogues can take on the line: every character the
// tool sent, every character of the device's answer that a dialogue waits
// for (echoes, prompts, the report up to the carriage return after
// "controlled: " and its value, a program's echoed "y"), and the pause before
// each read and each program. What the device says beyond that (its list of
// commands, its menu prompt, "Relay configuration saved") no dialogue waits
// for, and escape and what answers it are restarts, not the dialogue: none of
// it counts. The device's answers are replayed from the relays it held.
struct LineFloor {
    qint64 characters = 0;
    double pauseSeconds = 0;

    double seconds() const { return double(characters) * BitsPerCharacter / Baud + pauseSeconds; }
};

LineFloor lineFloor(const QByteArray &wire, const SimMenu::Relays &relays)
{
    SimMenu menu;
    menu.setManner(false, false);
    menu.setRelays(relays);
    LineFloor floor;
    char command = 0;
    for (const char c : wire) {
        if (c == SimMenu::Escape) {
            menu.receive(c);
            continue;
        }
        if (menu.atMenu()) {
            command = c;
            floor.pauseSeconds += c == 'r' ? ReadPauseSeconds : c == 'p' ? ProgramPauseSeconds : 0;
        }
        const bool confirming = command == 'p' && c == 'y' && !menu.atMenu();
        QByteArray answer = menu.receive(c);
        if (confirming)
            answer.truncate(1);
        if (const qsizetype last = answer.indexOf("controlled: "); last >= 0)
            answer.truncate(answer.indexOf('\r', last) + 1);
        floor.characters += 1 + answer.size();
    }
    return floor;
}

struct Timing {
    int exitCode = -1;
    double seconds = 0;
    double cpuMs = 0;
    LineFloor floor;
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

SimMenu::Relays relaysOf(const TavikSimulator &device)
{
    SimMenu::Relays relays;
    for (int i = 0; i < int(relays.size()); ++i)
        relays[size_t(i)] = device.relay(i);
    return relays;
}

Timing timeTavikctl(TavikSimulator &device, const QStringList &args, const QString &folder)
{
    const SimMenu::Relays before = relaysOf(device);
    device.clearReceived();
    const ProcessRun run = runTavikctl(args + QStringList{QStringLiteral("--port"), device.portPath()}, folder);
    return {run.exitCode, run.elapsedMs / 1000, run.cpuMs, lineFloor(device.received(), before)};
}

void failed(const QStringList &args, int exitCode)
{
    std::fprintf(stderr, "tavikbench: tavikctl %s exited %d\n", qPrintable(args.join(u' ')), exitCode);
    std::exit(1);
}

// The fastest of a few runs: the machine's noise only ever adds time. Before
// each run, prepare (if given) sets the device up.
Timing bestOf(int runs, TavikSimulator &device, const QStringList &args, const QString &folder,
              const std::function<void()> &prepare = {})
{
    Timing best;
    for (int run = 0; run < runs; ++run) {
        if (prepare)
            prepare();
        const Timing timing = timeTavikctl(device, args, folder);
        if (timing.exitCode != 0)
            failed(args, timing.exitCode);
        if (run == 0 || timing.seconds < best.seconds)
            best = timing;
    }
    return best;
}

// Sixteen tavikctl runs, one a relay, one after another: the best of a few rounds.
double sixteenRuns(int runs, TavikSimulator &device, const QStringList &args, const QString &folder)
{
    double best = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer wall;
        wall.start();
        for (int relay = 1; relay <= 16; ++relay) {
            const QStringList one = args + QStringList{QStringLiteral("--relay"), QString::number(relay),
                                                       QStringLiteral("--port"), device.portPath()};
            if (const ProcessRun ran = runTavikctl(one, folder); ran.exitCode != 0)
                failed(one, ran.exitCode);
        }
        const double seconds = wall.elapsed() / 1000.0;
        if (run == 0 || seconds < best)
            best = seconds;
    }
    return best;
}

void reportFloor(const char *what, const Timing &quiet, const Timing &listing, double target)
{
    std::printf("%-28s floor %6.3f s (%lld characters %.3f s + pauses %.3f s)\n"
                "%-28s   no menu listing %6.3f s  ratio %.3f (target <= %.2f); menu listing %6.3f s  ratio %.3f\n",
                what, quiet.floor.seconds(), static_cast<long long>(quiet.floor.characters),
                quiet.floor.seconds() - quiet.floor.pauseSeconds, quiet.floor.pauseSeconds, "", quiet.seconds,
                quiet.seconds / quiet.floor.seconds(), target, listing.seconds, listing.seconds / listing.floor.seconds());
}

void reportAgainst(const char *what, double seconds, const char *base, double baseSeconds, const char *target)
{
    std::printf("%-28s %6.3f s  %s %6.3f s  ratio %.3f  (target %s)\n", what, seconds, base, baseSeconds,
                seconds / baseSeconds, target);
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

    SimFaults pacing;
    pacing.paced = true;
    SimFaults pacedQuiet = pacing;
    pacedQuiet.menuAfterCommand = false;
    const std::unique_ptr<TavikSimulator> quiet = startDevice(folder.filePath(QStringLiteral("quiet.txt")), pacedQuiet);
    const std::unique_ptr<TavikSimulator> listing = startDevice(folder.filePath(QStringLiteral("listing.txt")), pacing);
    TavikSimulator &paced = *quiet;
    // A table with timed and Latching relays, so that programming takes every branch.
    for (int index = 0; index < 16; ++index) {
        SimRelay relay;
        relay.mode = index % 10 + 1;
        relay.gate = (index % 4) + (index % 8 >= 4 ? 8 : 0);
        relay.map = quint16((0x5A5 << (index % 3)) & 0xFFF);
        relay.unlatchGate = 9;
        relay.unlatchMap = 0x0F0;
        relay.counter = quint32(6699 * (index + 1));
        quiet->setRelay(index, relay);
        listing->setRelay(index, relay);
    }

    std::printf("tavikctl against the simulated device paced at 57600 baud, best of %d runs\n", runs);
    const QStringList readAll{QStringLiteral("read"), QStringLiteral("-o"), table};
    const QStringList verifyAll{QStringLiteral("verify"), QStringLiteral("-i"), table};
    const QStringList programAll{QStringLiteral("program"), QStringLiteral("-i"), table};
    const Timing read = bestOf(runs, paced, readAll, folder.path());
    reportFloor("read all 16 relays", read, bestOf(runs, *listing, readAll, folder.path()), 1.05);
    const Timing verify = bestOf(runs, paced, verifyAll, folder.path());
    reportFloor("verify all 16 relays", verify, bestOf(runs, *listing, verifyAll, folder.path()), 1.05);
    const Timing program = bestOf(runs, paced, programAll, folder.path());
    reportFloor("program all 16 relays", program, bestOf(runs, *listing, programAll, folder.path()), 1.05);
    listing->stop();

    reportAgainst("read all, one run", read.seconds, "16 runs of one relay",
                  sixteenRuns(runs, paced, {QStringLiteral("read")}, folder.path()), "<= 1");
    reportAgainst("program all, one run", program.seconds, "16 runs of one relay",
                  sixteenRuns(runs, paced, programAll, folder.path()), "<= 1");

    QString error;
    for (const bool telnet : {false, true}) {
        Ser2netServer server;
        if (!server.start(paced.portPath(), telnet, &error)) {
            std::fprintf(stderr, "tavikbench: %s\n", qPrintable(error));
            return 1;
        }
        Timing served;
        for (int run = 0; run < runs; ++run) {
            const ProcessRun ran = runTavikctl(readAll + QStringList{QStringLiteral("--port"), server.address()},
                                               folder.path());
            if (ran.exitCode != 0)
                failed(readAll, ran.exitCode);
            if (run == 0 || ran.elapsedMs / 1000 < served.seconds)
                served.seconds = ran.elapsedMs / 1000;
        }
        reportAgainst(telnet ? "read all, ser2net RFC 2217" : "read all, ser2net raw", served.seconds,
                      "floor", read.floor.seconds(), "<= 1.15");
    }

    const QStringList changed{QStringLiteral("program"), QStringLiteral("-i"), table, QStringLiteral("--changed")};
    const SimRelay kept = paced.relay(4);
    SimRelay other = kept;
    other.map ^= 0x801;
    const Timing changedOne = bestOf(runs, paced, changed, folder.path(), [&] { paced.setRelay(4, other); });
    if (!(paced.relay(4) == kept)) {
        std::fprintf(stderr, "tavikbench: program --changed left relay 5 as it was\n");
        return 1;
    }
    reportAgainst("program --changed, 1 of 16", changedOne.seconds, "full program", program.seconds, "< 0.30");
    const Timing changedNone = bestOf(runs, paced, changed, folder.path());
    reportAgainst("program --changed, none", changedNone.seconds, "full program", program.seconds, "(none)");

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
    quiet->stop();

    // 32 devices, all programmed by one tavikctl.
    constexpr int ManyDevices = 32;
    Timing many;
    for (int run = 0; run < runs; ++run) {
        std::vector<std::unique_ptr<TavikSimulator>> devices;
        QStringList args{QStringLiteral("program"), QStringLiteral("-i"), table};
        for (int d = 0; d < ManyDevices; ++d) {
            devices.push_back(startDevice(folder.filePath(QStringLiteral("many-%1.txt").arg(d)), pacedQuiet));
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
            device->setFaults(pacedQuiet);
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
