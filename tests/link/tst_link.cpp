// The link's parts, and the device through a real ser2net, raw and with RFC 2217, up, going down and absent.
#include "base/errorlog.h"
#include "cputime.h"
#include "dialoguerig.h"
#include "link/devicelink.h"
#include "link/portaccess.h"
#include "link/promptexchange.h"
#include "privateport.h"
#include "processrunner.h"
#include "ptydevice.h"
#include "ser2netserver.h"
#include "variedrelays.h"
#include "finish.h"

#include <QtTest>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

// One call of sendChar (a text of one character), sendText or waitForPrompt (the text is the prompt).
// result: sends 0 sent, 1 no echo, 2 wrong echo, 3 flooded; prompts 0 seen, 1 timed out.
struct Exchange {
    enum Call { Char, String, Get } call;
    QByteArray text;
    QByteArrayList answers; // to each character the device gets, then silence
    QByteArrayList said;    // by the device of itself, 20 ms apart; the wait is then the full 3.1 s
    int stale = 0, result = 0;
    QByteArray received; // by the device; for waitForPrompt, the text collected
    int leftInRing = 0;
    bool echo = true;
};
namespace
{

Task<int> endsAtOnce(std::pair<quintptr, quintptr> &stack)
{
    // The frame's own address: a local may live on AddressSanitizer's fake stack.
    const auto here = quintptr(__builtin_frame_address(0));
    stack = {std::min(stack.first, here), std::max(stack.second, here)};
    co_return 1;
}

Task<int> waitsForCancel(DeviceLink &link, QStringList &log)
{
    const auto gone = qScopeGuard([&log] { log << QStringLiteral("inner gone"); });
    while (!link.cancelled())
        co_await link.activity();
    co_return 2;
}

// Awaits that many tasks that end at once, or none and one that waits for a cancel.
Task<int> awaitsTasks(DeviceLink &link, QStringList &log, int awaits, std::pair<quintptr, quintptr> &stack)
{
    const auto gone = qScopeGuard([&log] { log << QStringLiteral("outer gone"); });
    log << QStringLiteral("begun");
    int sum = 0;
    for (int i = 0; i < awaits; ++i) {
        Task<int> one = endsAtOnce(stack);
        sum += co_await one;
    }
    if (awaits == 0) {
        Task<int> inner = waitsForCancel(link, log);
        sum = co_await inner;
    }
    log << QStringLiteral("ends");
    co_return sum;
}

} // namespace

// The rig's link pointed at a server's address as the port list names it.
struct ServedRig : DialogueRig {
    Ser2netServer server;

    void use(const QString &address)
    {
        PortDirectory &ports = link.port().directory();
        link.port().setPortLocation(ports.location(ports.addRuntimePort(address)));
        link.clock().setTimeoutTicks(WaitClock::DefaultTimeoutTicks);
        // Pauses cut to nothing would send the first characters while the connection is being made.
        dialogues.setPauses({1, 1});
    }
};

class TestLink : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    struct Rig {
        PtyDevice device;
        DeviceLink link;
        DevicePort &port = link.port();
        PromptExchange exchange{link};
        QStringList statusTexts;
        int number = port.directory().addRuntimePort(privatePortPath(device.portPath()));

        explicit Rig(qint16 timeoutTicks = 2)
        {
            port.setPortLocation(port.directory().location(number));
            link.clock().setTimeoutTicks(timeoutTicks);
            exchange.setStatusSink([this](const QString &text) { statusTexts << text; });
            port.open();
        }
    };

private slots:
    void initTestCase() { setErrorLogPath(m_dir.filePath(QStringLiteral("ErrorLog.txt"))); }

    // A task runs nothing until started; awaits that end at once hand over without the stack growing; destroyed
    // while it waits, it takes down the frames it awaits and leaves the link no step to resume; a cancel
    // resumes the waiting step from the event loop.
    void aTaskRunsWhenStartedAndEndsAsItsOwnerLets_data()
    {
        QTest::addColumn<int>("awaits");
        QTest::addColumn<int>("result"); // -1: destroyed unfinished; else cancelled when it awaits none
        QTest::addColumn<QString>("log");
        QTest::newRow("awaits many") << 10000 << 10000 << "begun, ends, outer gone";
        QTest::newRow("destroyed waiting") << 0 << -1 << "begun, inner gone, outer gone";
        QTest::newRow("cancelled waiting") << 0 << 2 << "begun, inner gone, ends, outer gone";
    }
    void aTaskRunsWhenStartedAndEndsAsItsOwnerLets()
    {
        QFETCH(int, awaits);
        QFETCH(int, result);
        QFETCH(QString, log);
        DeviceLink link;
        QStringList trace;
        std::pair<quintptr, quintptr> stack{~quintptr(0), 0};
        Task<int> task = awaitsTasks(link, trace, awaits, stack);
        QVERIFY(trace.isEmpty());
        bool done = false;
        task.start([&done] { done = true; });
        QCOMPARE(link.stepWaits(), awaits == 0);
        if (result < 0)
            task.reset();
        else
            link.cancel(); // resumes from the event loop, not from in here
        QCOMPARE(link.stepWaits(), awaits == 0 && result >= 0);
        QCOMPARE(done, awaits > 0);
        QTRY_COMPARE(trace.join(QStringLiteral(", ")), log);
        QCOMPARE(done ? task.takeResult() : -1, result);
        QVERIFY(stack.second - stack.first < 4096);
    }

    void theRingTakesWhatFitsAndLosesNothing()
    {
        QByteArray port(1020, '.'); // through the ring beforehand, so that what follows wraps
        ReceiveRing ring;
        ring.setSource([&port](qint64 room) { return std::exchange(port, port.mid(room)).left(room); });
        while (ring.fill() > 0 || ring.RxCount() > 0)
            ring.ReadChar();
        const QByteArray sent = QByteArray("abcdefghijklmnopqrstuvwxyz").repeated(116);
        port = sent;
        QCOMPARE(ring.fill(), qint64(1023)); // one slot stays free, the rest waits in the port
        QByteArray taken;
        while (ring.RxCount() > 0)
            taken.append(ring.ReadChar());
        QCOMPARE(taken, sent);
        QCOMPARE(ring.ReadChar(), '\0');
        // Clearing forgets only what the ring holds.
        port = QByteArray(1023, 'x') + "kept";
        ring.fill();
        ring.clear();
        QCOMPARE(ring.ReadChar(), 'k');
    }

    // A cancel ends every kind of wait at once and lets only escape out. Closing the port ends a wait as timed
    // out; a hang-up, as a lost line.
    void aWaitEndsOnACancelOrWithTheLine()
    {
        Rig rig(WaitClock::DefaultTimeoutTicks);
        QByteArray text;
        QTimer::singleShot(100, &rig.link, [&rig] { rig.link.cancel(); });
        const QDeadlineTimer soon(1000);
        QCOMPARE(finish(rig.exchange.waitForPrompt(text, "> ")), PromptResult::Cancelled);
        QCOMPARE(finish(rig.exchange.sendChar('r', true)), SendResult::Cancelled);
        QCOMPARE(finish(rig.exchange.pause(5000)), false);
        QVERIFY(finish(rig.exchange.letLineFallQuiet()));
        QCOMPARE(finish(rig.exchange.sendChar('\x1b', false)), SendResult::Sent);
        QVERIFY(!soon.hasExpired());
        QTRY_COMPARE(rig.device.received(), QByteArray("\x1b"));
        QVERIFY(rig.statusTexts.isEmpty());
        rig.link.clearCancel();
        const QDeadlineTimer pause(50, Qt::PreciseTimer);
        rig.device.send("characters wake the pause, which goes on");
        QCOMPARE(finish(rig.exchange.pause(50)), true);
        QVERIFY(pause.hasExpired());
        for (const bool hangUp : {false, true}) {
            rig.port.open(); // still open from the rig, or again after the close
            QTimer::singleShot(200, &rig.port, [&] { hangUp ? rig.device.hangUp() : void(rig.port.close()); });
            QCOMPARE(finish(rig.exchange.waitForPrompt(text, "> ")),
                     hangUp ? PromptResult::LineLost : PromptResult::TimedOut);
            QVERIFY(rig.link.clock().TimerTicks() <= WaitClock::DefaultTimeoutTicks);
            QCOMPARE(rig.port.lineLost(), hangUp);
            QCOMPARE(finish(rig.exchange.sendChar('r', true)), hangUp ? SendResult::LineLost : SendResult::NoEcho);
            QCOMPARE(rig.link.clock().TimerTicks(), 0);
        }
    }

    void thePortOpensOnceForTheChosenPortAndARescanLeavesItOpen()
    {
        Rig rig;
        PtyDevice other;
        const int otherNumber = rig.port.directory().addRuntimePort(other.portPath());
        QCOMPARE(rig.port.open(), DevicePort::OpenResult::AlreadyOpen);
        // A rescan while a dialogue holds the port leaves it alone and tries the others aside.
        QVERIFY(rig.port.isAvailable(rig.number) && rig.port.isAvailable(otherNumber));
        QVERIFY(rig.port.rescanPorts().contains(otherNumber));
        QVERIFY(rig.port.isOpen());
        QVERIFY(rig.port.close());
        QVERIFY(!rig.port.isOpen() && !rig.port.isAvailable(otherNumber + 1));
        rig.port.setPortNumber(otherNumber + 1);
        QCOMPARE(rig.port.open(), DevicePort::OpenResult::Refused);
        QCOMPARE(rig.port.openRefusal(),
                 QStringLiteral("There is no port Com%1: choose one the port list offers.").arg(otherNumber + 1));
    }

    // Each system's ports by its own conventions; a serial server added at run time follows them.
    void eachSystemNumbersItsPortsItsOwnWay_data()
    {
        QTest::addColumn<PortSystem>("system");
        QTest::addColumn<QStringList>("listed"); // "location name"
        QTest::addColumn<QString>("again");      // a listed port named as the user may name it, and its number
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("linux") << PortSystem::Unix
                               << QStringList{"/dev/ttyUSB1 ttyUSB1", "/dev/ttyS0 ttyS0", "/dev/ttyUSB0 ttyUSB0"}
                               << "/dev/ttyUSB0 2"
                               << QStringList{"Com1 (ttyS0) /dev/ttyS0", "Com2 (ttyUSB0) /dev/ttyUSB0",
                                              "Com3 (ttyUSB1) /dev/ttyUSB1", "Com4 (127.0.0.1:4001) tcp://127.0.0.1:4001"};
        QTest::newRow("windows") << PortSystem::Windows
                                 << QStringList{R"(\\.\COM7 COM7)", R"(\\.\COM3 COM3)", R"(\\.\CNCA0 CNCA0)"}
                                 << "com3 3"
                                 << QStringList{R"(Com3 \\.\COM3)", R"(Com7 \\.\COM7)", R"(Com8 (CNCA0) \\.\CNCA0)",
                                                "Com9 (127.0.0.1:4001) tcp://127.0.0.1:4001"};
        QTest::newRow("macos") << PortSystem::Mac
                               << QStringList{"/dev/tty.usbserial-A1 tty.usbserial-A1",
                                              "/dev/cu.usbserial-A1 cu.usbserial-A1", "/dev/tty.modem tty.modem"}
                               << "/dev/cu.usbserial-A1 1"
                               << QStringList{"Com1 (cu.usbserial-A1) /dev/cu.usbserial-A1",
                                              "Com2 (tty.modem) /dev/tty.modem", "Com3 (127.0.0.1:4001) tcp://127.0.0.1:4001"};
    }
    void eachSystemNumbersItsPortsItsOwnWay()
    {
        QFETCH(PortSystem, system);
        QFETCH(QStringList, listed);
        QFETCH(QString, again);
        QFETCH(QStringList, entries);
        PortDirectory ports;
        ports.setPortSystem(system);
        QList<SystemPort> list;
        for (const QString &port : listed)
            list.append({port.section(' ', 0, 0), port.section(' ', 1), {}});
        ports.setSystemPortSource([&] { return list; });
        ports.addRuntimePort("tcp://127.0.0.1:4001");
        QStringList shown;
        for (const int number : ports.numbers())
            shown << ports.entryText(number) + ' ' + ports.location(number);
        QCOMPARE(shown, entries);
        QCOMPARE(ports.addRuntimePort(again.section(' ', 0, 0)), again.section(' ', 1).toInt());
    }

    // Each system's rules on a real node whose mode is read for someone else than the tester, so
    // that they hold when tests run as root. PATH and GROUP stand for the node's.
    void aRefusalIsExplainedByEachSystemsRules_data()
    {
        using O = PortAccess::Obstacle;
        QTest::addColumn<PortSystem>("system");
        QTest::addColumn<int>("mode");    // -1: no node
        QTest::addColumn<QString>("who"); // owner, member, account member, other, root
        QTest::addColumn<QSerialPort::SerialPortError>("openError");
        QTest::addColumn<PortAccess::Obstacle>("obstacle");
        QTest::addColumn<QString>("text");
        const auto row = [](const char *name, PortSystem system, int mode, const char *who,
                            QSerialPort::SerialPortError error, O obstacle, const char *text) {
            QTest::newRow(name) << system << mode << QString(who) << error << obstacle << QString(text);
        };
        const auto onLinux = PortSystem::Unix;
        row("missing", onLinux, -1, "other", QSerialPort::NoError, O::Missing,
            "PATH does not exist: is the adapter plugged in?");
        row("owner only", onLinux, 0600, "other", QSerialPort::NoError, O::Permission,
            "Permission denied on PATH: only its owner may read and write it; ask the administrator for a udev "
            "rule that gives group GROUP access.");
        row("owner only, root", onLinux, 0600, "root", QSerialPort::NoError, O::None, "");
        row("in the group yet refused", onLinux, 0060, "owner", QSerialPort::NoError, O::Permission,
            "Permission denied on PATH: user ann is in its group GROUP, yet the system refuses.");
        row("joined after login", onLinux, 0660, "account member", QSerialPort::PermissionError, O::Permission,
            "Permission denied on PATH: user ann joined its group GROUP after this session started; log out "
            "and log in again.");
        row("a member", onLinux, 0660, "member", QSerialPort::NoError, O::None, "");
        row("held by a named program", onLinux, 0666, "other", QSerialPort::PermissionError, O::Held,
            "PATH is in use by picocom (process 42); close that program and try again.");
        row("macos gives no group advice", PortSystem::Mac, 0660, "account member", QSerialPort::NoError,
            O::Permission, "Permission denied on PATH: user ann may not read and write it; ask the "
                           "administrator to allow it.");
        row("windows: in use", PortSystem::Windows, 0666, "other", QSerialPort::PermissionError, O::Held,
            "PATH is in use by another program; close it and try again.");
        row("windows: not present", PortSystem::Windows, 0666, "other", QSerialPort::DeviceNotFoundError,
            O::Missing, "PATH is not present: is the adapter plugged in?");
    }
    void aRefusalIsExplainedByEachSystemsRules()
    {
        QFETCH(PortSystem, system);
        QFETCH(int, mode);
        QFETCH(QString, who);
        QFETCH(QSerialPort::SerialPortError, openError);
        QFETCH(PortAccess::Obstacle, obstacle);
        QFETCH(QString, text);
        QTemporaryFile file;
        struct stat info = {};
        QVERIFY(file.open() && stat(qPrintable(file.fileName()), &info) == 0);
        const QString path = mode < 0 ? file.fileName() + ".gone" : file.fileName();
        QVERIFY(mode < 0 || chmod(qPrintable(path), mode_t(mode)) == 0);
        // Root owns what it creates: the node goes to someone else, so that its owner is no root.
        QVERIFY(info.st_uid != 0 || mode < 0 || chown(qPrintable(path), info.st_uid = 4242, info.st_gid) == 0);
        PortAccess::Identity asker;
        asker.name = "ann";
        asker.uid = who == "root" ? 0 : who == "owner" ? info.st_uid : info.st_uid + 1;
        if (who == "member" || who == "owner")
            asker.groups << info.st_gid;
        if (who == "account member")
            asker.accountGroups << info.st_gid;
        PortAccess::Node node = PortAccess::node(path, asker);
        node.serial = true; // the file stands in for a device node: only a file's owner can be given away
        const PortAccess::Finding finding =
            PortAccess::explain(system, path, node, asker.name, openError, "Unknown error",
                                [] { return QString("picocom (process 42)"); });
        QCOMPARE(finding.obstacle, obstacle);
        QCOMPARE(finding.text, text.replace("PATH", path).replace("GROUP", getgrgid(info.st_gid)->gr_name));
    }

    // The holder a lock file names, when its process holds the port, else the one /proc shows holding it.
    // A lock file anyone could plant names nobody, and one that would block is not read.
    void theHolderIsFoundByItsLockFileOrItsOpenFiles_data()
    {
        QTest::addColumn<QString>("lockFolder"); // empty: a folder of the test's own
        QTest::addColumn<QByteArray>("lock");    // PID: the living process's number; empty: no lock file
        QTest::addColumn<bool>("held");          // the process holds the port open
        QTest::newRow("a stale lock file") << QString() << QByteArray("2147483646\n") << false;
        QTest::newRow("a stale lock file, the port held") << QString() << QByteArray("2147483646\n") << true;
        QTest::newRow("no lock file, the port held") << QString() << QByteArray() << true;
        QTest::newRow("a process that does not hold it") << QString() << QByteArray("PID") << false;
        QTest::newRow("spoofed in /tmp") << "/tmp" << QByteArray("PID\n") << false;
        QTest::newRow("a FIFO in the system's folder") << "/run/lock" << QByteArray("FIFO") << false;
    }
    void theHolderIsFoundByItsLockFileOrItsOpenFiles()
    {
        QFETCH(QString, lockFolder);
        QFETCH(QByteArray, lock);
        QFETCH(bool, held);
        if (!lockFolder.isEmpty() && !QFileInfo(lockFolder).isWritable())
            QSKIP("the system's lock folder is closed to this user; run as root");
        QTemporaryDir locks;
        const QString port = locks.filePath(QString("port%1").arg(QCoreApplication::applicationPid()));
        QFile(port).open(QIODevice::WriteOnly);
        QProcess holder;
        if (held)
            holder.setStandardInputFile(port);
        holder.start("sleep", {"30"});
        QVERIFY(holder.waitForStarted());
        const QString lockPath =
            (lockFolder.isEmpty() ? locks.path() : lockFolder) + "/LCK.." + QFileInfo(port).fileName();
        const auto planted = qScopeGuard([&] { QFile::remove(lockPath); });
        QFile lockFile(lockPath);
        if (lock == "FIFO")
            QCOMPARE(mkfifo(qPrintable(lockPath), 0644), 0);
        else if (!lock.isEmpty())
            QVERIFY(lockFile.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
                    lockFile.write(lock.replace("PID", QByteArray::number(holder.processId()))) > 0);
        QCOMPARE(lockFolder.isEmpty() ? PortAccess::holderOf(port, {locks.path()})
                                      : PortAccess::holderOf(port),
                 held ? QString("sleep (process %1)").arg(holder.processId()) : QString());
        holder.kill();
        holder.waitForFinished();
    }

    // A port that cannot be used says at once what is wrong with it, not that a device there did not answer.
    void aPortThatCannotBeUsedSaysWhy_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("said");
        for (const QString &path : {QCoreApplication::applicationFilePath(), QStringLiteral("/dev/null"), QDir::tempPath()})
            QTest::newRow(qPrintable(path)) << path << path + " is not a serial port";
        const QString free = "127.0.0.1:" + QString::number(Ser2netServer::freePort());
        QTest::newRow("a refused connection") << "tcp://" + free
                                              << "the serial server at " + free + " refused the connection";
        QTest::newRow("an unknown host") << "rfc2217://no-such-host.invalid:2000"
                                         << "cannot find host no-such-host.invalid";
    }
    void aPortThatCannotBeUsedSaysWhy()
    {
        QFETCH(QString, port);
        QFETCH(QString, said);
        if (port.startsWith(u'/'))
            QCOMPARE(PortAccess::probe(port).text, said);
        const ProcessRun read = runProcess({QStringLiteral(TAVIKCTL_PATH), {"read", "--port", port}, m_dir.path()});
        QCOMPARE(read.exitCode, 1);
        QVERIFY2(read.err.contains(said.toUtf8()) && !read.err.contains("cables") &&
                     !read.err.contains("did not answer in time"),
                 read.err.constData());
    }

    void adaptersAreNamedAndFoundByTheirSerialNumberOrStableLink()
    {
        PtyDevice adapter;
        QTemporaryDir byId;
        const QString stable = byId.filePath("usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0");
        QVERIFY(QFile::link(adapter.portPath(), stable));
        PortDirectory ports;
        ports.setByIdFolder(byId.path());
        ports.setSystemPortSource([&] {
            return QList<SystemPort>{
                {adapter.portPath(), "ttyUSB0", {"FT232R USB UART", "FTDI", "A1B2C3", "0403", "6001", {}}}};
        });
        QCOMPARE(ports.numberOfSerial("A1B2C3"), 1);
        QCOMPARE(ports.numberOfSerial("A1B2C4"), 0);
        QCOMPARE(ports.addRuntimePort(stable), 1); // the same port, whatever its number
        QCOMPARE(ports.descriptionLines(1).constLast(), "By id: " + stable);
    }

    void theExchangeGivesItsResults_data()
    {
        QTest::addColumn<Exchange>("x");
        using X = Exchange;
        QTest::newRow("echo and more") << X{X::Char, "r", {"rnum"}, {}, 0, 0, "r", 3};
        QTest::newRow("echo second") << X{X::Char, "r", {"Rr"}, {}, 0, 2, "r", 1};
        QTest::newRow("no echo awaited") << X{X::Char, "\r", {"\r"}, {}, 0, 0, "\r", 1, false};
        QTest::newRow("1024 stale") << X{X::Char, "r", {"r"}, {}, 1024, 0, "r"};
        QTest::newRow("1025 stale") << X{X::Char, "r", {"r"}, {}, 1025, 3, ""};
        QTest::newRow("string unanswered") << X{X::String, "16", {}, {}, 0, 1, "1"};
        QTest::newRow("string echoed wrongly") << X{X::String, "123", {"1", "?"}, {}, 0, 2, "12"};
        QTest::newRow("string on a flood") << X{X::String, "12", {}, {}, 5000, 3, "", 1023};
        QTest::newRow("prompt cut") << X{X::Get, "(1-16): ", {}, {"No (1-", "16): 5"}, 0, 0, "No (1-16): ", 1};
        QTest::newRow("another prompt") << X{X::Get, "(1-16): ", {}, {"(1-9): "}, 0, 1, "(1-9): "};
    }
    void theExchangeGivesItsResults()
    {
        QFETCH(Exchange, x);
        Rig rig(x.said.isEmpty() ? 2 : WaitClock::DefaultTimeoutTicks);
        for (int i = 0; i < x.said.size(); ++i)
            QTimer::singleShot(20 * (i + 1), &rig.device, [&, i] { rig.device.send(x.said.at(i)); });
        rig.device.setResponder([x, n = 0](char) mutable { return x.answers.value(n++); });
        rig.device.send(QByteArray(x.stale, 'z'));
        QTRY_COMPARE(rig.link.ring().RxCount() + rig.port.waiting(), x.stale);
        const int limit = rig.link.clock().timeoutTicks();
        const QDeadlineTimer soonest(100 * limit + 50, Qt::PreciseTimer);
        const double cpuBefore = cpuMilliseconds();
        QByteArray text;
        const int result = x.call == Exchange::Get      ? int(finish(rig.exchange.waitForPrompt(text, x.text)))
                           : x.call == Exchange::String ? int(finish(rig.exchange.sendText(x.text, x.echo)))
                                                        : int(finish(rig.exchange.sendChar(x.text.at(0), x.echo)));
        QCOMPARE(result, x.result);
        const bool timedOut = x.result == 1;
        // A wait sleeps between the ticks: a full 3.1 s costs next to nothing.
        QVERIFY2(!timedOut || cpuMilliseconds() - cpuBefore < 250, "the wait spun");
        // A wait times out at the tick after its limit (the 31st: 3.1 s), never sooner.
        QVERIFY(!timedOut || (rig.link.clock().TimerTicks() == limit + 1 && soonest.hasExpired()));
        QTest::qWait(20);
        QTRY_COMPARE(x.call == Exchange::Get ? text : rig.device.received(), x.received);
        QTRY_COMPARE(rig.link.ring().RxCount(), x.leftInRing);
        QCOMPARE(rig.statusTexts, timedOut && x.call != Exchange::Get
                                      ? QStringList{"Could not communicate with Tavik. Please check COM settings, "
                                                    "power, and signal cables."}
                                      : QStringList());
    }

    // Through the server, raw and with RFC 2217, the dialogues and tavikctl run; a server that goes down
    // mid-read is a lost line at once, and so is an address where none answers.
    void theLineRunsThroughTheServerUntilItGoes_data()
    {
        QTest::addColumn<bool>("telnet");
        QTest::newRow("raw") << false;
        QTest::newRow("rfc2217") << true;
    }
    void theLineRunsThroughTheServerUntilItGoes()
    {
        QFETCH(bool, telnet);
        ServedRig rig;
        QString error;
        QVERIFY2(rig.start(&error) && rig.server.start(rig.portPath, telnet, &error), qPrintable(error));
        rig.use(rig.server.address());
        for (int i = 0; i < RelayCount; ++i)
            rig.device.setRelay(i, variedDeviceRelay(i));
        ProcessRequest tavikctl{QStringLiteral(TAVIKCTL_PATH), {"read", "--port", rig.portPath}, m_dir.path()};
        const QByteArray onTerminal = runProcess(tavikctl).out;
        tavikctl.arguments.last() = rig.server.address();
        const ProcessRun served = runProcess(tavikctl);
        QCOMPARE(served.exitCode, 0);
        QCOMPARE(served.out.count('\n'), RelayCount);
        QCOMPARE(served.out, onTerminal);

        QVERIFY(finish(rig.commands.readAll(AllEnding::Quiet)).succeeded());
        QCOMPARE(rig.table, variedTable());
        QVERIFY(!rig.link.port().isOpen());
        QCOMPARE(finish(rig.dialogues.setPCControl(4, true)), LiveOutcome::Succeeded);
        // Its last character is still on its way through the server.
        QTRY_VERIFY(rig.device.relay(4).pcControl);
        QVERIFY(!rig.link.port().isOpen());
        if (telnet) {
            // The telnet server was told 57600 8N1 without flow control over its own 9600 7E2 with both kinds. (A
            // pseudo-terminal keeps 8 bits and no parity whatever it is told: those are checked as they go out.)
            const int terminal = ::open(qPrintable(rig.portPath), O_RDONLY | O_NOCTTY | O_NONBLOCK);
            termios line{};
            QVERIFY(terminal >= 0 && tcgetattr(terminal, &line) == 0);
            ::close(terminal);
            QCOMPARE(cfgetospeed(&line), speed_t(B57600));
            QCOMPARE(line.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), tcflag_t(CS8));
            QCOMPARE(line.c_iflag & (IXON | IXOFF), tcflag_t(0));
        }

        QSignalSpy losses(&rig.link.port(), &DevicePort::connectionLost);
        QElapsedTimer sinceStop;
        // The echo of relay 3's "r": the rest of its report is still to come.
        connect(&rig.link.port(), &DevicePort::arrived, this, [&] {
            if (!sinceStop.isValid() && rig.view.actionText == QStringLiteral("Reading relay 3")) {
                rig.server.stop();
                sinceStop.start();
            }
        });
        QCOMPARE(finish(rig.commands.readAll(AllEnding::Quiet)).result, DialogueResult::LineLost);
        QVERIFY(sinceStop.isValid() && sinceStop.elapsed() < 3100);
        QCOMPARE(rig.view.statusText,
                 QStringLiteral("The connection to Tavik was lost. Please check the cable and the COM port."));
        QVERIFY(!rig.link.port().isOpen());
        QTest::qWait(200);
        QCOMPARE(losses.count(), 1);

        const QString where = "127.0.0.1:" + QString::number(Ser2netServer::freePort());
        rig.use((telnet ? "rfc2217://" : "tcp://") + where);
        sinceStop.start();
        QCOMPARE(finish(rig.commands.readRelay(0)), DialogueResult::LineLost);
        QVERIFY(sinceStop.elapsed() < 3100);
        const QString reason = "the serial server at " + where + " refused the connection";
        QCOMPARE(rig.view.statusText, "Could not communicate with Tavik: " + reason +
                                          ". Please check the address and the serial server.");
        QCOMPARE(loggedFailures(errorLogPath()).filter(reason).size(), 1);
        QVERIFY(!rig.link.port().isOpen());
    }
};

QTEST_GUILESS_MAIN(TestLink)
#include "tst_link.moc"
