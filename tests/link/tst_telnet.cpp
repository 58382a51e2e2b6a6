// The serial-server client against scripted server bytes, and tavikctl reading through misbehaving servers.
#include "base/errorlog.h"
#include "link/portdirectory.h"
#include "link/serveraddress.h"
#include "link/servercontrol.h"
#include "link/telnetclient.h"

#include <QtNetwork>
#include <QtTest>

#include <sys/resource.h>

namespace
{

QByteArray hex(const char *text) { return QByteArray::fromHex(text); }

// What the tool sends to set the line: 57600 baud, 8 data bits, no parity, 1 stop bit, no flow control.
const QByteArray Settings = hex("fffa2c 01 0000e100 fff0  fffa2c 02 08 fff0  fffa2c 03 01 fff0"
                                "fffa2c 04 01 fff0  fffa2c 05 01 fff0");
// A server's answers to them, each with the value it set.
const QByteArray Answers = hex("fffa2c 65 0000e100 fff0  fffa2c 66 08 fff0  fffa2c 67 01 fff0"
                               "fffa2c 68 01 fff0  fffa2c 69 01 fff0");

// A serial server that plays a script: on a connection it sends `greeting`, then, as long as the connection
// stands, `repeated` once every `everyMs` milliseconds, or (everyMs 0) as fast as the client takes it.
struct ScriptedServer : QObject {
    QByteArray greeting, repeated, received;
    int everyMs;
    bool reads, closes = false;
    QPointer<QTcpSocket> client;
    QElapsedTimer sinceConnected;

    explicit ScriptedServer(QByteArray greet = {}, QByteArray again = {}, int every = 0, bool reading = true)
        : greeting(greet), repeated(again), everyMs(every), reads(reading)
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this,
                [this] { serve(m_server.nextPendingConnection()); });
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (client && client->state() == QAbstractSocket::ConnectedState && client->bytesToWrite() < 65536)
                client->write(everyMs > 0 ? repeated : repeated.repeated(1024));
        });
    }
    QString where() const { return QStringLiteral("127.0.0.1:") + QString::number(m_server.serverPort()); }
    QString address(const char *scheme) const { return QString::fromLatin1(scheme) + "://" + where(); }

    void serve(QTcpSocket *socket)
    {
        client = socket;
        sinceConnected.start();
        // One that never reads takes a byte into its buffer and nothing more.
        if (!reads)
            socket->setReadBufferSize(1);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            if (reads)
                received += socket->readAll();
        });
        socket->write(greeting);
        if (closes)
            socket->disconnectFromHost();
        if (!repeated.isEmpty())
            m_timer.start(everyMs);
    }

    QTcpServer m_server;
    QTimer m_timer;
};

} // namespace

// Reads from a server, their data and the answers; fault: 1 settings refused, 2 commands without end.
struct Decoding {
    QByteArrayList reads;
    QByteArray data{}, replies{};
    int fault = 0;
    bool settingsAnswered = false;
};

// A server's script (ScriptedServer) and what tavikctl must say (%1: the server's HOST:PORT).
struct Misbehaviour {
    const char *scheme;
    QByteArray greeting, repeated;
    int everyMs;
    bool reads;
    QString message;
};

class TestTelnet : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase() { setErrorLogPath(m_dir.filePath(QStringLiteral("ErrorLog.txt"))); }

    void theClientDecodesAndAnswersWhatTheServerSends_data()
    {
        QTest::addColumn<Decoding>("d");
        using D = Decoding;
        const QByteArray nops = hex("fff1").repeated(2000);
        QTest::newRow("IAC IAC is one 0xFF") << D{{hex("41ffff42")}, hex("41ff42")};
        QTest::newRow("CR NUL is CR") << D{{hex("0d0078")}, hex("0d78")};
        QTest::newRow("CR NUL kept once binary") << D{{hex("fffb00 0d00")}, hex("0d00")};
        QTest::newRow("command split") << D{{hex("41ff"), hex("fd"), hex("2c42")}, hex("4142"), Settings};
        QTest::newRow("settings answered") << D{{hex("fffd2c") + Answers}, {}, Settings, 0, true};
        QTest::newRow("baud answered otherwise") << D{{hex("fffd2c fffa2c 65 00002580 fff0")}, {}, Settings, 1};
        QTest::newRow("COM-PORT refused") << D{{hex("fffe2c 41")}, {}, {}, 1};
        QTest::newRow("COM-PORT not offered") << D{{hex("fffc2c")}, {}, {}, 1};
        QTest::newRow("WILL ECHO refused once") << D{{hex("fffb01 fffb01"), hex("fffb01")}, {}, hex("fffe01")};
        QTest::newRow("DO ECHO refused once") << D{{hex("fffd01 fffd01")}, {}, hex("fffc01")};
        QTest::newRow("SGA agreed once") << D{{hex("fffb03 fffb03 fffd03")}, {}, hex("fffd03 fffb03")};
        QTest::newRow("binary agreed, dropped") << D{{hex("fffb00 fffc00 fffc00")}, {}, hex("fffe00")};
        QTest::newRow("IAC in a subnegotiation") << D{{hex("fffa2c6a ffff fff0 41")}, hex("41")};
        QTest::newRow("megabyte subnegotiation") << D{{hex("fffa2c") + QByteArray(1 << 20, 'x') + hex("fff041")}, {}, {}, 2};
        QTest::newRow("endless NOPs") << D{{nops, nops}, {}, {}, 2};
        QTest::newRow("NOPs between characters") << D{{nops, hex("41"), nops, hex("42")}, hex("4142")};
    }
    void theClientDecodesAndAnswersWhatTheServerSends()
    {
        QFETCH(Decoding, d);
        TelnetClient client;
        QCOMPARE(client.opening(), hex("fffb2c fffb00 fffd00"));
        QByteArray got, answered;
        for (const QByteArray &read : d.reads)
            got += client.receive(read, answered);
        QCOMPARE(got.toHex(' '), d.data.toHex(' '));
        QCOMPARE(answered.toHex(' '), d.replies.toHex(' '));
        QCOMPARE(int(client.fault()), d.fault);
        QCOMPARE(client.settingsAnswered(), d.settingsAnswered);
    }

    void aServerAddressIsReadOrItsFaultNamed_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shown"); // HOST:PORT as the port list shows it; empty: no server
        QTest::addColumn<QString>("fault");
        QTest::newRow("IPv6") << "tcp://[::1]:4000" << "[::1]:4000" << "";
        QTest::newRow("upper-case scheme") << "RFC2217://Box.Example:23" << "Box.Example:23" << "";
        QTest::newRow("highest port") << "rfc2217://10.0.0.7:65535" << "10.0.0.7:65535" << "";
        QTest::newRow("port 0") << "tcp://10.0.0.7:0" << ""
                                << "'tcp://10.0.0.7:0' has port 0: a serial server's port is a number from 1 to 65535";
        QTest::newRow("port 65536") << "tcp://[::1]:65536" << ""
                                    << "'tcp://[::1]:65536' has port 65536: a serial server's port is a number from 1 "
                                       "to 65535";
        QTest::newRow("trailing path") << "rfc2217://box:4001/dev/ttyS0" << ""
                                       << "'rfc2217://box:4001/dev/ttyS0' has a path after its port: a serial server "
                                          "is named tcp://HOST:PORT or rfc2217://HOST:PORT, and the server chooses "
                                          "the device";
        QTest::newRow("no port") << "tcp://box" << ""
                                 << "'tcp://box' is not a serial server's address (tcp://HOST:PORT or "
                                    "rfc2217://HOST:PORT)";
        QTest::newRow("a device path") << "/dev/ttyUSB0" << "" << "";
    }
    void aServerAddressIsReadOrItsFaultNamed()
    {
        QFETCH(QString, name);
        QFETCH(QString, shown);
        QFETCH(QString, fault);
        const std::optional<ServerAddress> address = serverAddress(name);
        QCOMPARE(address ? address->hostAndPort() : QString(), shown);
        if (address)
            QCOMPARE(address->telnet, name.startsWith(QStringLiteral("rfc2217"), Qt::CaseInsensitive));
        QCOMPARE(serverAddressFault(name), fault);
    }

    void theToolsCharactersWaitUntilTheLineIsSet()
    {
        ScriptedServer server;
        PortDirectory ports;
        ServerControl control(ports);
        QVERIFY(control.setCommPort(ports.addRuntimePort(server.address("rfc2217"))));
        QVERIFY(control.setPortOpen(true));
        QVERIFY(control.output(hex("72ff0d")));
        const QByteArray opening = hex("fffb2c fffb00 fffd00");
        QTRY_COMPARE(server.received.toHex(' '), opening.toHex(' '));
        server.client->write(hex("fffd2c") + Answers.left(Answers.size() - 7));
        QTRY_COMPARE(server.received.toHex(' '), (opening + Settings).toHex(' '));
        QTest::qWait(100);
        QCOMPARE(server.received.size(), opening.size() + Settings.size());
        // The last answer lets them go, escaped.
        server.client->write(Answers.right(7));
        QTRY_COMPARE(server.received.toHex(' '), (opening + Settings + hex("72ffff0d00")).toHex(' '));
    }

    void everyCharacterComesThroughTheBoundedBuffers_data()
    {
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<QByteArray>("greeting");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("closes"); // at once after the greeting
        QTest::newRow("raw, with the close") << "tcp" << hex("72ff0d") << hex("72ff0d") << true;
        QTest::newRow("telnet, with the close")
            << "rfc2217" << hex("fffd2c") + Answers + hex("72ffff0d00") << hex("72ff0d") << true;
        QTest::newRow("a burst of 9000, then silence") << "tcp" << QByteArray(9000, 'x') << QByteArray(9000, 'x') << false;
    }
    void everyCharacterComesThroughTheBoundedBuffers()
    {
        QFETCH(QString, scheme);
        QFETCH(QByteArray, greeting);
        QFETCH(QByteArray, data);
        QFETCH(bool, closes);
        ScriptedServer server(greeting);
        server.closes = closes;
        PortDirectory ports;
        ServerControl control(ports);
        QSignalSpy lost(&control, &PortChannel::connectionLost);
        QVERIFY(control.setCommPort(ports.addRuntimePort(server.address(qPrintable(scheme)))));
        QVERIFY(control.setPortOpen(true));
        QByteArray got;
        QTRY_COMPARE((got += control.input()).toHex(' '), data.toHex(' '));
        QTRY_COMPARE(lost.count(), int(closes));
        QCOMPARE(control.lossReason(), QString());
    }

    // tavikctl reads through a misbehaving server: its message, within the wait's 3.1 s, the memory bounded.
    void aMisbehavingServerCannotHurtTheTool_data()
    {
        QTest::addColumn<Misbehaviour>("m");
        using M = Misbehaviour;
        const QString server = "Could not communicate with Tavik: the serial server at %1 ";
        const QString check = ". Please check the address and the serial server.";
        const QString endless = server + "sends telnet commands without end" + check;
        const QString flooded = "tavikctl: reading relay 1 failed with result 4 (the line is flooded)";
        QTest::newRow("raw flood") << M{"tcp", {}, "noise ", 0, true, flooded};
        QTest::newRow("endless subnegotiation") << M{"rfc2217", hex("fffa2c"), "x", 0, true, endless};
        QTest::newRow("WILL ECHO over and over, never reading") << M{"rfc2217", {}, hex("fffb01"), 0, false, endless};
        QTest::newRow("COM-PORT refused")
            << M{"rfc2217", hex("fffe2c"), {}, 0, true,
                 server + "does not set the line to 57600 baud, 8 data bits, no parity, 1 stop bit (RFC 2217)" + check};
        QTest::newRow("COM-PORT never answered")
            << M{"rfc2217", {}, {}, 0, true, server + "never answered the line settings (RFC 2217)" + check};
        QTest::newRow("another device streams")
            << M{"tcp", {}, "$", 20, true,
                 "The line never fell quiet: characters kept coming that Tavik was not asked for. The port may "
                 "belong to another device; please check the COM port."};
    }
    void aMisbehavingServerCannotHurtTheTool()
    {
        QFETCH(Misbehaviour, m);
        ScriptedServer server(m.greeting, m.repeated, m.everyMs, m.reads);
        QProcess tavikctl;
        tavikctl.setWorkingDirectory(m_dir.path());
        QSignalSpy ended(&tavikctl, &QProcess::finished);
        tavikctl.start(QStringLiteral(TAVIKCTL_PATH), {"read", "--relay", "1", "--port", server.address(m.scheme)});
        QVERIFY(ended.wait(20000));
        const qint64 elapsed = server.sinceConnected.elapsed();
        rusage usage{};
        getrusage(RUSAGE_CHILDREN, &usage);
        const QString err = QString::fromLocal8Bit(tavikctl.readAllStandardError());
        QVERIFY2(err.contains(m.message.replace(QStringLiteral("%1"), server.where())), qPrintable(err));
        QCOMPARE(tavikctl.exitCode(), 1);
        QVERIFY2(elapsed <= 3500, qPrintable(QString::number(elapsed)));
        // The largest child so far, in kilobytes.
        QVERIFY2(usage.ru_maxrss < RSS_LIMIT_MB * 1024, qPrintable(QString::number(usage.ru_maxrss)));
    }
};

QTEST_GUILESS_MAIN(TestTelnet)
#include "tst_telnet.moc"
