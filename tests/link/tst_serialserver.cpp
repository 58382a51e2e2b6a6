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

class TestSerialServer : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QByteArray m_readOnTerminal; // tavikctl's read of the varied relays on the terminal itself

    // A rig whose link is pointed at the server's address as the port list names it.
    static QString useServer(DialogueRig &rig, const QString &address)
    {
        PortDirectory &ports = rig.link.port().directory();
        const QString entry = ports.entryText(ports.addRuntimePort(address));
        rig.link.port().setPortText(entry);
        rig.link.clock().setTimeoutTicks(WaitClock::DefaultTimeoutTicks);
        // The pauses only let a real device settle; cut, the first characters
        // go while the connection is still being made.
        rig.dialogues.setPauses({1, 1});
        return entry;
    }

    static void modes()
    {
        QTest::addColumn<bool>("telnet");
        QTest::newRow("raw") << false;
        QTest::newRow("rfc2217") << true;
    }

private slots:
    void initTestCase() { setErrorLogPath(m_dir.filePath(QStringLiteral("ErrorLog.txt"))); }

    void theDialoguesRunThroughTheServer_data() { modes(); }
    void theDialoguesRunThroughTheServer()
    {
        QFETCH(bool, telnet);
        DialogueRig rig;
        QVERIFY(rig.start());
        Ser2netServer server;
        QString error;
        QVERIFY2(server.start(rig.portPath, telnet, &error), qPrintable(error));
        const QString entry = useServer(rig, server.address());
        QCOMPARE(entry, QStringLiteral("Com%1 (127.0.0.1:%2)").arg(rig.link.port().directory().count()).arg(server.port()));
        for (int i = 0; i < RelayCount; ++i)
            rig.device.setRelay(i, variedDeviceRelay(i));
        QVERIFY(rig.commands.readAll(AllEnding::Quiet).succeeded());
        for (int i = 0; i < RelayCount; ++i)
            QCOMPARE(rig.table[size_t(i)], asRead(variedDeviceRelay(i)));
        QVERIFY(!rig.link.port().isOpen());

        std::reverse(rig.table.begin(), rig.table.end());
        for (int i = 0; i < RelayCount; ++i)
            rig.device.setRelay(i, SimRelay{});
        QVERIFY(rig.commands.programAll(AllEnding::Quiet).succeeded());
        for (int i = 0; i < RelayCount; ++i)
            QCOMPARE(rig.device.relay(i), variedDeviceRelay(RelayCount - 1 - i));

        rig.view.setShownRelay(4);
        QCOMPARE(rig.dialogues.setPCControl(true), LiveOutcome::Succeeded);
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
        DialogueRig rig;
        QVERIFY(rig.start());
        Ser2netServer server;
        QString error;
        QVERIFY2(server.start(rig.portPath, telnet, &error), qPrintable(error));
        useServer(rig, server.address());
        int losses = 0;
        QElapsedTimer sinceStop;
        // The echo of relay 3's "r": the rest of its report is still to come.
        connect(&rig.link.port(), &DevicePort::arrived, this, [&] {
            if (!sinceStop.isValid() && rig.view.actionText == QStringLiteral("Reading relay 3")) {
                server.stop();
                sinceStop.start();
            }
        });
        connect(&rig.link.port(), &DevicePort::connectionLost, this, [&losses] { ++losses; });
        const BulkOutcome outcome = rig.commands.readAll(AllEnding::Quiet);
        QVERIFY(sinceStop.isValid() && sinceStop.elapsed() < 3100);
        QCOMPARE(outcome.result, DialogueResult::TimedOut);
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
        DialogueRig rig;
        QVERIFY(rig.start());
        useServer(rig, QStringLiteral("tcp://") + where);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(rig.commands.readRelay(0), DialogueResult::TimedOut);
        QVERIFY(clock.elapsed() < 3100);
        const QString reason = QStringLiteral("no serial server answers at ") + where;
        QCOMPARE(rig.view.statusText, DeviceDialogues::ServerUnreachableText.arg(reason));
        QCOMPARE(loggedFailures(errorLogPath()).filter(reason).size(), 1);
        QVERIFY(!rig.link.port().isOpen());
    }

    void tavikctlReadsThroughTheServerAsOnTheTerminal_data() { modes(); }
    void tavikctlReadsThroughTheServerAsOnTheTerminal()
    {
        QFETCH(bool, telnet);
        DialogueRig rig;
        QVERIFY(rig.start());
        for (int i = 0; i < RelayCount; ++i)
            rig.device.setRelay(i, variedDeviceRelay(i));
        Ser2netServer server;
        QString error;
        QVERIFY2(server.start(rig.portPath, telnet, &error), qPrintable(error));
        const auto read = [this](const QString &port) {
            return runProcess({QStringLiteral(TAVIKCTL_PATH), {QStringLiteral("read"), QStringLiteral("--port"), port},
                               m_dir.path()});
        };
        if (m_readOnTerminal.isEmpty())
            m_readOnTerminal = read(rig.portPath).out;
        const ProcessRun served = read(server.address());
        QCOMPARE(served.exitCode, 0);
        QCOMPARE(served.out, m_readOnTerminal);
        QCOMPARE(served.out.count('\n'), RelayCount);
    }
};

QTEST_GUILESS_MAIN(TestSerialServer)
#include "tst_serialserver.moc"
