// The device reached through a real ser2net bridging the simulated device's
// terminal, raw and as a telnet server with RFC 2217: the dialogues and
// tavikctl over it, a server that goes down mid-dialogue, and none at all.
#include "base/errorlog.h"
#include "dialoguerig.h"
#include "processrunner.h"
#include "ser2netserver.h"
#include "variedrelays.h"

#include <QtTest>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

// The rig's link pointed at a server's address as the port list names it.
struct ServedRig : DialogueRig {
    Ser2netServer server;
    QString entry;

    void use(const QString &address)
    {
        PortDirectory &ports = link.port().directory();
        entry = ports.entryText(ports.addRuntimePort(address));
        link.port().setPortText(entry);
        link.clock().setTimeoutTicks(WaitClock::DefaultTimeoutTicks);
        // The pauses only let a real device settle; cut, the first characters
        // go while the connection is still being made.
        dialogues.setPauses({1, 1});
    }
    bool serve(bool telnet, QString *error)
    {
        if (!start(error) || !server.start(portPath, telnet, error))
            return false;
        use(server.address());
        return true;
    }
};

class TestSerialServer : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    ProcessRun tavikctlRead(const QString &port) const
    {
        return runProcess({QStringLiteral(TAVIKCTL_PATH), {QStringLiteral("read"), QStringLiteral("--port"), port},
                           m_dir.path()});
    }

    static void modes()
    {
        QTest::addColumn<bool>("telnet");
        QTest::newRow("raw") << false;
        QTest::newRow("rfc2217") << true;
    }

private slots:
    void initTestCase() { setErrorLogPath(m_dir.filePath(QStringLiteral("ErrorLog.txt"))); }

    void theDialoguesAndTavikctlRunThroughTheServer_data() { modes(); }
    void theDialoguesAndTavikctlRunThroughTheServer()
    {
        QFETCH(bool, telnet);
        ServedRig rig;
        QString error;
        QVERIFY2(rig.serve(telnet, &error), qPrintable(error));
        QCOMPARE(rig.entry, QStringLiteral("Com%1 (127.0.0.1:%2)").arg(rig.link.port().directory().count()).arg(rig.server.port()));
        for (int i = 0; i < RelayCount; ++i)
            rig.device.setRelay(i, variedDeviceRelay(i));
        const QByteArray onTerminal = tavikctlRead(rig.portPath).out;
        const ProcessRun served = tavikctlRead(rig.server.address());
        QCOMPARE(served.exitCode, 0);
        QCOMPARE(served.out.count('\n'), RelayCount);
        QCOMPARE(served.out, onTerminal);

        QVERIFY(finish(rig.commands.readAll(AllEnding::Quiet)).succeeded());
        for (int i = 0; i < RelayCount; ++i)
            QCOMPARE(rig.table[size_t(i)], asRead(variedDeviceRelay(i)));
        QVERIFY(!rig.link.port().isOpen());

        std::reverse(rig.table.begin(), rig.table.end());
        for (int i = 0; i < RelayCount; ++i)
            rig.device.setRelay(i, SimRelay{});
        QVERIFY(finish(rig.commands.programAll(AllEnding::Quiet)).succeeded());
        for (int i = 0; i < RelayCount; ++i)
            QCOMPARE(rig.device.relay(i), variedDeviceRelay(RelayCount - 1 - i));

        rig.view.setShownRelay(4);
        QCOMPARE(finish(rig.dialogues.setPCControl(true)), LiveOutcome::Succeeded);
        // Its last character is still on its way through the server.
        QTRY_VERIFY(rig.device.relay(4).pcControl);
        QVERIFY(!rig.link.port().isOpen());
        if (!telnet)
            return;
        // The telnet server was told 57600 8N1 over its own 9600 8N2.
        const int terminal = ::open(qPrintable(rig.portPath), O_RDONLY | O_NOCTTY | O_NONBLOCK);
        termios line{};
        QVERIFY(terminal >= 0 && tcgetattr(terminal, &line) == 0);
        ::close(terminal);
        QCOMPARE(cfgetospeed(&line), speed_t(B57600));
        QCOMPARE(line.c_cflag & (CSIZE | PARENB | CSTOPB), tcflag_t(CS8));
    }

    void aServerThatGoesDownMidReadIsALostLine_data() { modes(); }
    void aServerThatGoesDownMidReadIsALostLine()
    {
        QFETCH(bool, telnet);
        ServedRig rig;
        QString error;
        QVERIFY2(rig.serve(telnet, &error), qPrintable(error));
        int losses = 0;
        QElapsedTimer sinceStop;
        // The echo of relay 3's "r": the rest of its report is still to come.
        connect(&rig.link.port(), &DevicePort::arrived, this, [&] {
            if (!sinceStop.isValid() && rig.view.actionText == QStringLiteral("Reading relay 3")) {
                rig.server.stop();
                sinceStop.start();
            }
        });
        connect(&rig.link.port(), &DevicePort::connectionLost, this, [&losses] { ++losses; });
        QCOMPARE(finish(rig.commands.readAll(AllEnding::Quiet)).result, DialogueResult::TimedOut);
        QVERIFY(sinceStop.isValid() && sinceStop.elapsed() < 3100);
        QCOMPARE(rig.view.statusText, DeviceDialogues::ConnectionLostText);
        QVERIFY(!rig.link.port().isOpen());
        QTest::qWait(200);
        QCOMPARE(losses, 1);
    }

    void noServerAnswersAtTheAddress_data()
    {
        QTest::addColumn<QString>("host");
        QTest::newRow("nothing listening") << "127.0.0.1";
        QTest::newRow("no route") << "192.0.2.1"; // a documentation network: no host answers there
    }
    void noServerAnswersAtTheAddress()
    {
        QFETCH(QString, host);
        const QString where = host + u':' + QString::number(Ser2netServer::freePort());
        ServedRig rig;
        QVERIFY(rig.start());
        rig.use(QStringLiteral("tcp://") + where);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(finish(rig.commands.readRelay(0)), DialogueResult::TimedOut);
        QVERIFY(clock.elapsed() < 3100);
        const QString reason = QStringLiteral("no serial server answers at ") + where;
        QCOMPARE(rig.view.statusText, DeviceDialogues::ServerUnreachableText.arg(reason));
        QCOMPARE(loggedFailures(errorLogPath()).filter(reason).size(), 1);
        QVERIFY(!rig.link.port().isOpen());
    }
};

QTEST_GUILESS_MAIN(TestSerialServer)
#include "tst_serialserver.moc"
