#include "cputime.h"
#include "linesweep.h"
#include "base/errorlog.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

// A line that fails at every step: the device hangs up, echoes wrongly or
// falls silent after each character of each dialogue in turn.
class TestFailingLine : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString logPath() const { return m_dir.filePath(QStringLiteral("ErrorLog.txt")); }

    // Each test program sweeps one group (SWEEP_GROUP), so that the slow
    // program dialogues (a 300 ms pause each) run beside the others.
    static void addDialogues()
    {
        QTest::addColumn<SweptDialogue>("dialogue");
#if SWEEP_GROUP == 0
        QTest::newRow("read of a Latching relay") << SweptDialogue::ReadLatching;
        QTest::newRow("read of a timed relay") << SweptDialogue::ReadTimed;
        QTest::newRow("c") << SweptDialogue::PCControl;
        QTest::newRow("l") << SweptDialogue::Latch;
        QTest::newRow("m") << SweptDialogue::Moment;
#elif SWEEP_GROUP == 1
        QTest::newRow("program of a Toggle relay") << SweptDialogue::ProgramMomentary;
#elif SWEEP_GROUP == 2
        QTest::newRow("program of a timed relay") << SweptDialogue::ProgramTimed;
#else
        QTest::newRow("program of a Latching relay") << SweptDialogue::ProgramLatching;
#endif
    }

    // Every point is swept; TAVIK_SWEEP_STRIDE (the sanitizer suite) takes
    // every n-th. The program dialogues check the fresh device at every
    // eighth point only, since each of their runs pauses 300 ms.
    static qint64 stride()
    {
        return qMax(1, qEnvironmentVariableIntValue("TAVIK_SWEEP_STRIDE"));
    }
    static bool checkFreshAt(SweptDialogue dialogue, qint64 k)
    {
        return !isProgram(dialogue) || k % 8 == 0;
    }

    // What a complete dialogue leaves in the table and on the device.
    static void verifyComplete(SweptDialogue dialogue, const RelayTable &table, const SimRelay &device)
    {
        const RelayTable before = sweptTableBefore(dialogue);
        RelayTable expected = before;
        if (isRead(dialogue))
            expected[SweptRelay] = sweptRecordRead(dialogue);
        if (dialogue == SweptDialogue::PCControl)
            expected[SweptRelay].PCControl = true;
        QCOMPARE(table, expected);
        if (isProgram(dialogue))
            QCOMPARE(device, sweptRelayProgrammed(dialogue));
        // The carriage return that ends "c" is sent without waiting for its
        // echo, so the dialogue can end before the device has acted on it:
        // the device is not looked at here.
    }

    // A dialogue that did not complete touched no record but its own, and
    // that one only with values the device sent.
    static void verifyNothingHalfDone(SweptDialogue dialogue, const RelayTable &table)
    {
        const RelayTable before = sweptTableBefore(dialogue);
        for (int i = 0; i < RelayCount; ++i) {
            if (i != SweptRelay)
                QCOMPARE(table[size_t(i)], before[size_t(i)]);
        }
        if (isRead(dialogue)) {
            const QString wrong =
                halfParsedFields(before[SweptRelay], sweptRecordRead(dialogue), table[SweptRelay]);
            QVERIFY2(wrong.isEmpty(), qPrintable(QStringLiteral("half-parsed: ") + wrong));
        } else {
            QCOMPARE(table[SweptRelay], before[SweptRelay]);
        }
    }

    // Where a complete run of the dialogue stands: characters out and in.
    SweepOutcome cleanRun(SweptDialogue dialogue)
    {
        const SweepOutcome clean = runSwept(dialogue, {}, logPath(), false);
        return clean;
    }

    static void verifyFresh(const SweepOutcome &out, const QByteArray &at)
    {
        QVERIFY2(out.freshSucceeded, at + ": the next dialogue on a fresh device failed");
        QVERIFY2(!out.freshPortOpen, at);
        verifyComplete(out.dialogue, out.freshTable, out.freshDeviceRelay);
    }

    static inline int s_points = 0;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        setErrorLogPath(logPath());
    }
    void cleanupTestCase()
    {
        qInfo("%d points swept", s_points);
    }

    void aHangUpAfterAnyCharacterFailsCleanlyAndTheNextDeviceWorks_data()
    {
        addDialogues();
    }
    void aHangUpAfterAnyCharacterFailsCleanlyAndTheNextDeviceWorks()
    {
        QFETCH(SweptDialogue, dialogue);
        const SweepOutcome clean = cleanRun(dialogue);
        QVERIFY(clean.succeeded);
        verifyComplete(dialogue, clean.table, clean.deviceRelay);
        QVERIFY(clean.sent > 0);

        qint64 firstSuccess = -1;
        double cpu = 0;
        qint64 wall = 0;
        for (qint64 k = 0; k <= clean.sent; k += stride()) {
            SweepFault fault;
            fault.hangUpAfterOutput = k;
            QElapsedTimer clock;
            clock.start();
            const double cpuBefore = processCpuMilliseconds();
            const bool fresh = checkFreshAt(dialogue, k);
            const SweepOutcome out = runSwept(dialogue, fault, logPath(), fresh);
            cpu += processCpuMilliseconds() - cpuBefore;
            wall += clock.elapsed();
            ++s_points;
            const QByteArray at =
                "hang-up after " + QByteArray::number(k) + " of " + QByteArray::number(clean.sent);

            QVERIFY2(!out.portOpen, at);
            QVERIFY2(out.lostSignals <= 1, at);
            QVERIFY2(out.loggedFailures <= 4,
                     at + ": " + QByteArray::number(out.loggedFailures) + " failures logged");
            if (out.succeeded) {
                if (firstSuccess < 0)
                    firstSuccess = k;
                verifyComplete(dialogue, out.table, out.deviceRelay);
            } else {
                QVERIFY2(firstSuccess < 0, at + ": failed after succeeding with an earlier hang-up");
                if (out.result >= 0)
                    QVERIFY2(out.result > 0, at);
                verifyNothingHalfDone(dialogue, out.table);
            }
            if (QTest::currentTestFailed())
                qWarning("%s", at.constData());
            if (fresh)
                verifyFresh(out, at);
            if (QTest::currentTestFailed())
                return;
        }
        // Only a hang-up after the last character the dialogue waits for lets it succeed.
        QVERIFY(firstSuccess > 0 || stride() > 1);
        qInfo("%lld characters, success from %lld, %.0f ms CPU in %lld ms", clean.sent, firstSuccess, cpu,
              wall);
        // Read and program dialogues spend most of their time waiting, asleep.
        if (isRead(dialogue) || isProgram(dialogue))
            QVERIFY2(cpu < wall / 2, "the waits spin instead of sleeping");
    }

    void aWrongEchoOfAnyCharacterRestartsTheDialogueWhichThenSucceeds_data()
    {
        addDialogues();
    }
    void aWrongEchoOfAnyCharacterRestartsTheDialogueWhichThenSucceeds()
    {
        QFETCH(SweptDialogue, dialogue);
        const SweepOutcome clean = cleanRun(dialogue);
        QVERIFY(clean.succeeded);
        const QByteArray sent = clean.received;
        QVERIFY(!sent.isEmpty());
        for (qsizetype j = 0; j < sent.size(); ++j) {
            SweepFault fault;
            fault.wrongEchoAtInput = j;
            const SweepOutcome out = runSwept(dialogue, fault, logPath(), false);
            ++s_points;
            const QByteArray at = "wrong echo of character " + QByteArray::number(j) + " of " +
                                  QByteArray::number(sent.size()) + " ('" +
                                  sent.mid(j, 1).toPercentEncoding() + "')";
            QVERIFY2(out.succeeded, at);
            QVERIFY2(!out.portOpen, at);
            verifyComplete(dialogue, out.table, out.deviceRelay);
            // A character whose echo is checked brings the escape character and a second attempt.
            const char c = sent.at(j);
            const bool checked = c != '\r' && c != '\x1b';
            if (checked)
                QVERIFY2(out.received.size() > sent.size() && out.received.indexOf('\x1b', j + 1) > j, at);
            if (QTest::currentTestFailed())
                return;
        }
    }

    void silenceFromAnyCharacterEndsInATimeoutAndTheNextDeviceWorks_data()
    {
        addDialogues();
    }
    void silenceFromAnyCharacterEndsInATimeoutAndTheNextDeviceWorks()
    {
        QFETCH(SweptDialogue, dialogue);
        const SweepOutcome clean = cleanRun(dialogue);
        QVERIFY(clean.succeeded);
        // The program dialogues wait 300 ms before they start: every fourth point.
        const qint64 step = stride() * (isProgram(dialogue) ? 4 : 1);
        qint64 firstSuccess = -1;
        for (qint64 k = 0; k <= clean.sent; k += step) {
            SweepFault fault;
            fault.silentAfterOutput = k;
            fault.timeoutTicks = 3;
            const bool fresh = checkFreshAt(dialogue, k);
            const SweepOutcome out = runSwept(dialogue, fault, logPath(), fresh);
            ++s_points;
            const QByteArray at =
                "silent after " + QByteArray::number(k) + " of " + QByteArray::number(clean.sent);
            QVERIFY2(!out.portOpen, at);
            QVERIFY2(out.lostSignals == 0, at);
            if (out.succeeded) {
                if (firstSuccess < 0)
                    firstSuccess = k;
                verifyComplete(dialogue, out.table, out.deviceRelay);
            } else {
                QVERIFY2(firstSuccess < 0, at + ": failed after succeeding with earlier silence");
                if (isRead(dialogue) || isProgram(dialogue))
                    QVERIFY2(out.result == 3, at + ": result " + QByteArray::number(out.result));
                verifyNothingHalfDone(dialogue, out.table);
            }
            if (fresh)
                verifyFresh(out, at);
            if (QTest::currentTestFailed())
                return;
        }
    }
};

QTEST_GUILESS_MAIN(TestFailingLine)
#include "tst_failingline.moc"
