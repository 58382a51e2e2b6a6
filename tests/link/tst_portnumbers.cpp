#include "link/connectionpolicy.h"
#include "link/portdirectory.h"
#include "link/portnumber.h"

#include <QFile>
#include <QSerialPortInfo>
#include <QTemporaryDir>
#include <QtTest>

class TestPortNumbers : public QObject
{
    Q_OBJECT
private slots:
    void theEntryTextNamesItsPortNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        QTest::newRow("plain entry") << "Com12" << 12;
        QTest::newRow("entry with system name") << "Com3 (ttyUSB0)" << 3;
        QTest::newRow("system name holding digits") << "Com2 (ttyS14)" << 2;
        QTest::newRow("empty list") << "" << 1;
        QTest::newRow("zero becomes one") << "Com0" << 1;
        QTest::newRow("negative becomes one") << "Com-4" << 1;
        QTest::newRow("no digits") << "ttyUSB0" << 1;
        QTest::newRow("every Com removed") << "ComCom7" << 7;
        QTest::newRow("lower-case com stays") << "com7" << 1;
        QTest::newRow("half rounds to even below") << "Com2.5" << 2;
        QTest::newRow("half rounds to even above") << "Com3.5" << 4;
        QTest::newRow("leading blanks") << "Com  9" << 9;
    }
    void theEntryTextNamesItsPortNumber()
    {
        QFETCH(QString, text);
        QFETCH(int, number);
        QCOMPARE(portNumberFromText(text), number);
    }

    void theEntryShowsTheSystemNameOnlyWhenItIsNotComN_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("systemName");
        QTest::addColumn<QString>("entry");
        QTest::newRow("usb adapter") << 1 << "ttyUSB0"
                                     << "Com1 (ttyUSB0)";
        QTest::newRow("windows port") << 4 << "COM4"
                                      << "Com4";
        QTest::newRow("windows port under another number") << 4 << "COM5"
                                                           << "Com4 (COM5)";
        QTest::newRow("pseudo-terminal") << 17 << "pts/3"
                                         << "Com17 (pts/3)";
        QTest::newRow("link named by the user") << 18 << "tavik-port"
                                                << "Com18 (tavik-port)";
    }
    void theEntryShowsTheSystemNameOnlyWhenItIsNotComN()
    {
        QFETCH(int, number);
        QFETCH(QString, systemName);
        QFETCH(QString, entry);
        QCOMPARE(portEntryText(qint16(number), systemName), entry);
        QCOMPARE(portNumberFromText(entry), number);
    }

    void aRuntimePortShowsAShortName_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("linkName"); // made as a link to /dev/null in a fresh folder when given
        QTest::addColumn<QString>("shortName");
        QTest::newRow("pseudo-terminal") << "/dev/pts/1" << "" << "pts/1";
        QTest::newRow("device directly under /dev") << "/dev/ttyUSB0" << "" << "ttyUSB0";
        QTest::newRow("device deeper under /dev") << "/dev/serial/ttyAMA0" << "" << "serial/ttyAMA0";
        QTest::newRow("file elsewhere") << "/tmp/tavik-a" << "" << "tavik-a";
        QTest::newRow("link elsewhere") << "" << "tavik-port" << "tavik-port";
        QTest::newRow("long by-id style link") << "" << "usb-Tavik_TRX16_A1B2-if00-port0"
                                               << "usb-Tavik_TRX16_A1B2-if00-port0";
    }
    void aRuntimePortShowsAShortName()
    {
        QFETCH(QString, path);
        QFETCH(QString, linkName);
        QFETCH(QString, shortName);
        QTemporaryDir dir;
        if (!linkName.isEmpty()) {
            path = dir.filePath(linkName);
            QVERIFY(QFile::link(QStringLiteral("/dev/null"), path));
        }
        QCOMPARE(shortPortName(path), shortName);
    }

    void aRuntimePortListsItsShortNameAndOpensItsFullPath()
    {
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("tavik-port"));
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), link));
        PortDirectory ports;
        const qint16 number = ports.addRuntimePort(link);
        const QString entry = ports.entryText(number);
        QCOMPARE(entry, QStringLiteral("Com%1 (tavik-port)").arg(number));
        QCOMPARE(portNumberFromText(entry), number);
        QCOMPARE(ports.location(portNumberFromText(entry)), link);
        const qint16 pty = ports.addRuntimePort(QStringLiteral("/dev/pts/7"));
        QCOMPARE(ports.entryText(pty), QStringLiteral("Com%1 (pts/7)").arg(pty));
        QCOMPARE(ports.location(pty), QStringLiteral("/dev/pts/7"));
    }

    void onlyReadWriteAndResourceErrorsMeanTheLineIsGone_data()
    {
        QTest::addColumn<QSerialPort::SerialPortError>("error");
        QTest::addColumn<bool>("lost");
        QTest::newRow("NoError") << QSerialPort::NoError << false;
        QTest::newRow("DeviceNotFoundError") << QSerialPort::DeviceNotFoundError << false;
        QTest::newRow("PermissionError") << QSerialPort::PermissionError << false;
        QTest::newRow("OpenError") << QSerialPort::OpenError << false;
        QTest::newRow("WriteError") << QSerialPort::WriteError << true;
        QTest::newRow("ReadError") << QSerialPort::ReadError << true;
        QTest::newRow("ResourceError") << QSerialPort::ResourceError << true;
        QTest::newRow("UnsupportedOperationError") << QSerialPort::UnsupportedOperationError << false;
        QTest::newRow("UnknownError") << QSerialPort::UnknownError << false;
        QTest::newRow("TimeoutError") << QSerialPort::TimeoutError << false;
        QTest::newRow("NotOpenError") << QSerialPort::NotOpenError << false;
    }
    void onlyReadWriteAndResourceErrorsMeanTheLineIsGone()
    {
        QFETCH(QSerialPort::SerialPortError, error);
        QFETCH(bool, lost);
        QCOMPARE(isConnectionLost(error), lost);
    }

    void runtimePortsAreNumberedAfterTheSystemsPorts()
    {
        PortDirectory ports;
        const qint16 system = qint16(QSerialPortInfo::availablePorts().size());
        QCOMPARE(ports.count(), system);
        const qint16 first = ports.addRuntimePort(QStringLiteral("/tmp/tavik-a"));
        const qint16 second = ports.addRuntimePort(QStringLiteral("/tmp/tavik-b"));
        QCOMPARE(first, system + 1);
        QCOMPARE(second, system + 2);
        QCOMPARE(ports.addRuntimePort(QStringLiteral("/tmp/tavik-a")), first);
        QCOMPARE(ports.location(first), QStringLiteral("/tmp/tavik-a"));
        QCOMPARE(ports.systemName(second), QStringLiteral("tavik-b"));
        QCOMPARE(ports.count(), system + 2);
        QVERIFY(ports.location(qint16(system + 3)).isEmpty());
        QVERIFY(ports.location(0).isEmpty());
        // A new look at the system's ports keeps the run-time ones.
        ports.refresh();
        QCOMPARE(ports.location(second), QStringLiteral("/tmp/tavik-b"));
    }

    void systemPortsAreNumberedInTheOrderOfTheirNames()
    {
        PortDirectory ports;
        QStringList names;
        for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
            names << info.portName();
        if (names.size() < 2)
            QSKIP("this machine lists fewer than two serial ports");
        names.sort();
        for (qsizetype i = 0; i < names.size(); ++i)
            QCOMPARE(ports.systemName(qint16(i + 1)), names.at(i));
    }
};

QTEST_GUILESS_MAIN(TestPortNumbers)
#include "tst_portnumbers.moc"
