#include "cputime.h"
#include "link/devicelink.h"
#include "ptydevice.h"
#include "base/errorlog.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class TestDeviceLink : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString logPath() const { return m_dir.filePath(QStringLiteral("ErrorLog.txt")); }
    QStringList logLines() const
    {
        QFile file(logPath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLocal8Bit(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
    QStringList logLinesWith(const QString &text) const { return logLines().filter(text); }

    // Points the link at the device and returns the port number it got.
    static qint16 attach(DeviceLink &link, const PtyDevice &device)
    {
        const qint16 number = link.ports().addRuntimePort(device.portPath());
        link.setPortText(QStringLiteral("Com") + QString::number(number));
        return number;
    }

    // Waits, letting events run, until the link holds this many characters
    // in its ring and its port together.
    static bool arrivedInAll(DeviceLink &link, qint64 count)
    {
        QElapsedTimer clock;
        clock.start();
        while (link.RxCount() + link.comSerPort().inBufferCount() < count && clock.elapsed() < 5000)
            QTest::qWait(5);
        return link.RxCount() + link.comSerPort().inBufferCount() == count;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        setErrorLogPath(logPath());
    }
    void init() { QFile::remove(logPath()); }

    void openSerPortOpensTheSelectedPortOnceAndCloseSerPortClosesItOnce()
    {
        PtyDevice device;
        QVERIFY(device.isOpen());
        DeviceLink link;
        const qint16 number = attach(link, device);
        link.setPortText(QStringLiteral("Com%1 (pts)").arg(number));
        QCOMPARE(link.OpenSerPort(), 1);
        QVERIFY(link.comSerPort().portOpen());
        QCOMPARE(link.comSerPort().commPort(), number);
        QCOMPARE(link.OpenSerPort(), 0);
        QVERIFY(link.comSerPort().portOpen());
        QCOMPARE(link.CloseSerPort(), 1);
        QVERIFY(!link.comSerPort().portOpen());
        QCOMPARE(link.CloseSerPort(), 0);
        QVERIFY(logLines().isEmpty());
    }

    void aPortThatCannotBeOpenedIsLoggedAndStillCountsAsOpenedByTheCall()
    {
        DeviceLink link;
        link.setPortText(QStringLiteral("Com250"));
        QCOMPARE(link.OpenSerPort(), 1);
        QVERIFY(!link.comSerPort().portOpen());
        QCOMPARE(logLinesWith(QStringLiteral("in procedure OpenSerPort of Form frmMain")).size(), 2);
        QCOMPARE(link.CloseSerPort(), 0);
    }

    void aPortNumberNoPortHasNeverOpensThePortChosenBefore()
    {
        PtyDevice device;
        DeviceLink link;
        attach(link, device);
        QCOMPARE(link.OpenSerPort(), 1);
        QCOMPARE(link.CloseSerPort(), 1);
        link.setPortText(QStringLiteral("Com240"));
        QCOMPARE(link.OpenSerPort(), 1);
        QVERIFY(!link.comSerPort().portOpen());
        QCOMPARE(link.comSerPort().commPort(), 240);
    }

    void openSerPortDuringARescanTouchesNothing()
    {
        PtyDevice device;
        DeviceLink link;
        attach(link, device);
        QSignalSpy busy(&link, &DeviceLink::rescanBusyChanged);
        qint16 openedDuringRescan = -1;
        bool portOpenDuringRescan = true;
        // Events run between the probes, so a command can start meanwhile.
        QTimer::singleShot(0, &link, [&] {
            openedDuringRescan = link.OpenSerPort();
            portOpenDuringRescan = link.comSerPort().portOpen();
        });
        link.rescanPorts();
        QCOMPARE(openedDuringRescan, 0);
        QVERIFY(!portOpenDuringRescan);
        QCOMPARE(busy.size(), 2);
        QCOMPARE(busy.at(0).at(0).toBool(), true);
        QCOMPARE(busy.at(1).at(0).toBool(), false);
        QVERIFY(!link.rescanBusy());
    }

    void theRescanListsEveryPortThatOpensAndLeavesThePortClosed()
    {
        PtyDevice device;
        DeviceLink link;
        const qint16 number = attach(link, device);
        const QStringList entries = link.rescanPorts();
        // The list names a pseudo-terminal below /dev: "pts/3" for /dev/pts/3.
        const QString expected = QStringLiteral("Com%1 (%2)").arg(number).arg(device.portPath().mid(5));
        QVERIFY2(device.portPath().startsWith(QStringLiteral("/dev/pts/")), qPrintable(device.portPath()));
        QVERIFY(entries.contains(expected));
        QCOMPARE(link.ports().entryText(number), expected);
        QVERIFY(!link.comSerPort().portOpen());
        for (const QString &entry : entries)
            QVERIFY2(entry.startsWith(QStringLiteral("Com")), qPrintable(entry));
        QVERIFY(logLines().isEmpty());
    }

    void portAvailableAnswersForPresentAndMissingPorts()
    {
        PtyDevice device;
        DeviceLink link;
        const qint16 number = attach(link, device);
        QVERIFY(link.PortAvailable(number));
        QVERIFY(!link.comSerPort().portOpen());
        QVERIFY(!link.PortAvailable(qint16(number + 1)));
        QVERIFY(!link.PortAvailable(255));
        device.hangUp();
        QVERIFY(!link.PortAvailable(number + 100));
    }

    void readCharOnAnEmptyRingGivesCodeZeroAndChangesNothing()
    {
        DeviceLink link;
        QCOMPARE(link.ReadChar(), '\0');
        QCOMPARE(link.RxCount(), 0);
        QCOMPARE(link.RxReadPos(), 0);
        QCOMPARE(link.RxWritePos(), 0);
    }

    void theRingHoldsAtMost1023AndLosesNothingOfWhatDoesNotFit()
    {
        PtyDevice device;
        DeviceLink link;
        attach(link, device);
        QCOMPARE(link.OpenSerPort(), 1);
        QByteArray sent;
        for (int i = 0; i < 3000; ++i)
            sent.append(char('a' + i % 26));
        device.send(sent);
        QVERIFY(arrivedInAll(link, 3000));
        QCOMPARE(link.RxCount(), 1023);
        QCOMPARE(link.RxWritePos(), 1023);
        QCOMPARE(link.comSerPort().inBufferCount(), 3000 - 1023);

        QByteArray taken;
        while (link.RxCount() > 0)
            taken.append(link.ReadChar());
        QCOMPARE(taken, sent);
        QCOMPARE(link.comSerPort().inBufferCount(), 0);
        // 3000 characters have gone round the 1024 slots.
        QCOMPARE(link.RxReadPos(), 3000 % 1024);
        QCOMPARE(link.RxWritePos(), 3000 % 1024);
        link.CloseSerPort();
    }

    void theRingWrapsFromTheLastSlotToTheFirst()
    {
        PtyDevice device;
        DeviceLink link;
        attach(link, device);
        QCOMPARE(link.OpenSerPort(), 1);
        device.send(QByteArray(1020, 'x'));
        QVERIFY(arrivedInAll(link, 1020));
        while (link.RxCount() > 0)
            link.ReadChar();
        QCOMPARE(link.RxReadPos(), 1020);
        device.send("ABCDEFGH");
        QVERIFY(arrivedInAll(link, 8));
        QCOMPARE(link.RxWritePos(), 4);
        QByteArray taken;
        while (link.RxCount() > 0)
            taken.append(link.ReadChar());
        QCOMPARE(taken, QByteArray("ABCDEFGH"));
        QCOMPARE(link.RxReadPos(), 4);
        link.CloseSerPort();
    }

    void clearingTheRingForgetsWhatWaits()
    {
        PtyDevice device;
        DeviceLink link;
        attach(link, device);
        QCOMPARE(link.OpenSerPort(), 1);
        device.send("stale");
        QVERIFY(arrivedInAll(link, 5));
        link.clearRxRing();
        QCOMPARE(link.RxCount(), 0);
        QCOMPARE(link.RxReadPos(), link.RxWritePos());
        link.CloseSerPort();
    }

    void openingThePortEmptiesWhatTheLineHeldBefore()
    {
        PtyDevice device;
        DeviceLink link;
        attach(link, device);
        device.send("left over");
        QTest::qWait(50);
        QCOMPARE(link.OpenSerPort(), 1);
        QTest::qWait(50);
        QCOMPARE(link.RxCount() + link.comSerPort().inBufferCount(), 0);
        link.CloseSerPort();
    }

    void timerTicksCountOnlyWhileTheTimerRuns()
    {
        DeviceLink link;
        QTest::qWait(250);
        QCOMPARE(link.TimerTicks(), 0);
        link.startTicks();
        QTRY_VERIFY_WITH_TIMEOUT(link.TimerTicks() >= 2, 2000);
        link.stopTicks();
        const qint16 stopped = link.TimerTicks();
        QTest::qWait(250);
        QCOMPARE(link.TimerTicks(), stopped);
        link.startTicks();
        QCOMPARE(link.TimerTicks(), 0);
        link.stopTicks();
    }

    void aHungUpLineClosesThePortOnceWithOneReportAndNoStorm()
    {
        PtyDevice device;
        DeviceLink link;
        attach(link, device);
        QSignalSpy lost(&link, &DeviceLink::connectionLost);
        QCOMPARE(link.OpenSerPort(), 1);
        const double cpuBefore = processCpuMilliseconds();
        device.hangUp();
        QTRY_VERIFY_WITH_TIMEOUT(!link.comSerPort().portOpen(), 3000);
        QVERIFY(link.lineLost());
        QTest::qWait(1000);
        const double cpuUsed = processCpuMilliseconds() - cpuBefore;
        QCOMPARE(lost.size(), 1);
        QCOMPARE(logLinesWith(QStringLiteral("The serial connection was lost")).size(), 1);
        QCOMPARE(logLinesWith(QStringLiteral("Error 1005 ")).size(), 1);
        // A second of a flooding error signal would burn most of that second.
        QVERIFY2(cpuUsed < 500, qPrintable(QStringLiteral("%1 ms of CPU").arg(cpuUsed)));
        QCOMPARE(link.CloseSerPort(), 0);
        QCOMPARE(logLinesWith(QStringLiteral(" in procedure ")).size(), 1);
    }

    void aLostLineEndsTheWaitInProgress()
    {
        PtyDevice device;
        DeviceLink link;
        attach(link, device);
        QCOMPARE(link.OpenSerPort(), 1);
        link.setTimeoutTicks(30);
        QTimer::singleShot(200, &device, &PtyDevice::hangUp);
        QElapsedTimer clock;
        clock.start();
        link.startTicks();
        while (!link.waitExpired())
            link.awaitActivity();
        link.stopTicks();
        QVERIFY(link.lineLost());
        QVERIFY2(clock.elapsed() < 2500, qPrintable(QString::number(clock.elapsed())));
    }

    void reopeningAfterALossClearsTheLostState()
    {
        PtyDevice first;
        DeviceLink link;
        attach(link, first);
        QCOMPARE(link.OpenSerPort(), 1);
        first.hangUp();
        QTRY_VERIFY_WITH_TIMEOUT(link.lineLost(), 3000);
        PtyDevice second;
        attach(link, second);
        QCOMPARE(link.OpenSerPort(), 1);
        QVERIFY(link.comSerPort().portOpen());
        QVERIFY(!link.lineLost());
        link.CloseSerPort();
    }

    void closingThePortOnPurposeEndsTheWaitInProgressWithoutALoss()
    {
        PtyDevice device;
        DeviceLink link;
        attach(link, device);
        QSignalSpy lost(&link, &DeviceLink::connectionLost);
        QCOMPARE(link.OpenSerPort(), 1);
        link.setTimeoutTicks(30);
        QTimer::singleShot(200, &link, [&link] { QCOMPARE(link.CloseSerPort(), 1); });
        QElapsedTimer clock;
        clock.start();
        link.startTicks();
        int passes = 0;
        while (!link.waitExpired()) {
            link.awaitActivity();
            ++passes;
        }
        link.stopTicks();
        // Ended by the close (within the 3.1 s limit), not by the 31st tick.
        QVERIFY2(link.TimerTicks() <= 30, qPrintable(QString::number(link.TimerTicks())));
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!link.comSerPort().portOpen());
        QVERIFY(!link.lineLost());
        QCOMPARE(lost.size(), 0);
        QCOMPARE(logLinesWith(QStringLiteral(" in procedure ")), QStringList());
        QCOMPARE(link.CloseSerPort(), 0);
        // The next open starts a wait afresh.
        QCOMPARE(link.OpenSerPort(), 1);
        QVERIFY(!link.waitExpired());
        link.CloseSerPort();
    }

    void aWaitWhileTheApplicationQuitsCountsAsTimedOutInsteadOfSpinning()
    {
        PtyDevice device;
        DeviceLink link;
        attach(link, device);
        QCOMPARE(link.OpenSerPort(), 1);
        link.setTimeoutTicks(30);
        // From here on no event loop starts: exec() returns -1 at once.
        QCoreApplication::exit(0);
        link.startTicks();
        int passes = 0;
        while (!link.waitExpired() && passes < 1000) {
            link.awaitActivity();
            ++passes;
        }
        link.stopTicks();
        QCOMPARE(passes, 1);
        QVERIFY(link.waitExpired());
        QVERIFY(!link.lineLost());
        link.CloseSerPort();
    }

    void aWaitStartedInsideAnotherLeavesTheOuterOneItsOwnCountAndTick()
    {
        DeviceLink link;
        link.startTicks();
        QTRY_VERIFY_WITH_TIMEOUT(link.TimerTicks() >= 2, 2000);
        const qint16 outer = link.TimerTicks();
        const quint64 started = link.waitsStarted();
        link.startTicks();
        QCOMPARE(link.TimerTicks(), qint16(0));
        QCOMPARE(link.waitsStarted(), started + 1);
        link.stopTicks();
        QCOMPARE(link.TimerTicks(), outer);
        QVERIFY(link.tmrTimer().isActive());
        QTRY_VERIFY_WITH_TIMEOUT(link.TimerTicks() > outer, 2000);
        link.stopTicks();
        QVERIFY(!link.tmrTimer().isActive());
    }

    void aRescanWhileADialogueHoldsThePortListsItAndLeavesItOpen()
    {
        PtyDevice held;
        PtyDevice other;
        DeviceLink link;
        const qint16 heldNumber = attach(link, held);
        const qint16 otherNumber = link.ports().addRuntimePort(other.portPath());
        QCOMPARE(link.OpenSerPort(), 1);
        QVERIFY(link.PortAvailable(heldNumber));
        QVERIFY(link.PortAvailable(otherNumber));
        QVERIFY(link.comSerPort().portOpen());
        QCOMPARE(link.comSerPort().commPort(), heldNumber);
        QCOMPARE(link.CloseSerPort(), 1);
    }
};

QTEST_GUILESS_MAIN(TestDeviceLink)
#include "tst_devicelink.moc"
