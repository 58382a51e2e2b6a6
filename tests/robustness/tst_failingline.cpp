#include "base/errorlog.h"
#include "cputime.h"
#include "dialoguerig.h"
#include "finish.h"
#include "variedrelays.h"

#include <QtTest>

// A line that fails at every step: the device hangs up, echoes wrongly or falls silent after each character
// of each dialogue in turn.

namespace
{

constexpr int Swept = 4; // relay 5, shown in the editor so that its updates run too

enum class Kind { Read, Program, Live };

// One dialogue: the device's relay before and after a complete run (the device the read reads, or the one the
// program leaves), and the swept record before, which for a read differs from the device in every field.
struct Dialogue {
    Kind kind = Kind::Read;
    char live = 0;
    SimRelay device, deviceAfter;
    RelayConfig before;
};

RelayConfig unlikeAnyDevice()
{
    RelayConfig r = asRead({10, 3, 0x556, 3, 0x555, 360042, false, false});
    r.RelayMode = 3;
    return r;
}

const QMap<QString, Dialogue> dialogues = {
    // Latching, NAND of inputs 0 and 11, unlatched by NIL of 4 and 5
    {"read-latching", {Kind::Read, 0, {10, 9, 0x801, 11, 0x030, 0x1A2B, true, true}, {}, unlikeAnyDevice()}},
    // Max-Time, NXOR; a timed relay's report has no unlatch side
    {"read-timed", {Kind::Read, 0, {8, 10, 0x206, 0, 0, 0xFCAF7F, true, false}, {}, unlikeAnyDevice()}},
    {"program-toggle", {Kind::Program, 0, {}, {2, 2, 0x0F0, 0, 0, 0, false, false}, {}}},
    // Pulse-Stretch, NOR, the longest time
    {"program-timed", {Kind::Program, 0, {}, {6, 8, 0x800, 0, 0, 16559999, false, false}, {}}},
    // AND, unlatched by NXOR
    {"program-latching", {Kind::Program, 0, {}, {10, 1, 0x003, 10, 0xC00, 0, false, false}, {}}},
    {"pc-control", {Kind::Live, 'c', {}, {}, asRead({})}},
    {"latch", {Kind::Live, 'l', {1, 0, 0, 0, 0, 0, false, true}, {}, asRead({1, 0, 0, 0, 0, 0, false, true})}},
    {"moment", {Kind::Live, 'm', {1, 0, 0, 0, 0, 0, false, true}, {}, asRead({1, 0, 0, 0, 0, 0, false, true})}},
};

RelayTable tableBefore(const QString &name)
{
    RelayTable table = variedTable();
    const Dialogue &d = dialogues[name];
    table[Swept] = d.kind == Kind::Program ? asRead(d.deviceAfter) : d.before;
    return table;
}

RelayTable tableAfter(const QString &name)
{
    RelayTable table = tableBefore(name);
    const Dialogue &d = dialogues[name];
    if (d.kind == Kind::Read)
        table[Swept] = asRead(d.device, d.before);
    table[Swept].PCControl = table[Swept].PCControl || d.live == 'c';
    return table;
}

// The dialogue's result, 0 when it succeeded; a live command's failures are all -1.
qint16 runDialogue(DialogueRig &rig, const QString &name)
{
    const Dialogue &d = dialogues[name];
    if (d.kind != Kind::Live)
        return qint16(finish(d.kind == Kind::Read ? rig.dialogues.readRelay(Swept) : rig.dialogues.programRelay(Swept)));
    const LiveOutcome live = finish(d.live == 'c'   ? rig.dialogues.setPCControl(Swept, true)
                                    : d.live == 'l' ? rig.dialogues.latchInput(Swept)
                                                    : rig.dialogues.pulseInput(Swept));
    return live == LiveOutcome::Succeeded ? 0 : -1;
}

void prepare(DialogueRig &rig, const QString &name, const SimFaults &faults, qint16 ticks)
{
    // The pauses only let a real device settle; the sweeps would spend most of their time in them.
    rig.dialogues.setPauses({1, 1});
    rig.link.clock().setTimeoutTicks(ticks);
    // Every escape waits a tick for the line to fall quiet, and where the device falls silent every run times
    // out: ticks of 50 ms keep the sweep short.
    rig.link.clock().setTickInterval(50);
    rig.table = tableBefore(name);
    rig.device.setRelay(Swept, dialogues[name].device);
    rig.device.setFaults(faults);
    rig.device.clearReceived();
}

} // namespace

class TestFailingLine : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString log() const { return m_dir.filePath(QStringLiteral("ErrorLog.txt")); }

    // TAVIK_SWEEP_STRIDE (the sanitizer suite) takes every n-th point.
    static qint64 stride() { return qMax(1, qEnvironmentVariableIntValue("TAVIK_SWEEP_STRIDE")); }

    // Slices of a sweep run side by side under ctest: slice s of n takes every n-th point from s, and the last.
    static void addDialogues(int slices = 1)
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("slice");
        QTest::addColumn<int>("slices");
        for (const QString &name : dialogues.keys())
            for (int s = 0; s < slices; ++s)
                QTest::addRow("%s%s", qPrintable(name), slices > 1 ? qPrintable("." + QString::number(s)) : "")
                    << name << s << slices;
    }

    static void verifyComplete(const QString &name, const RelayTable &table, const SimRelay &device)
    {
        QCOMPARE(table, tableAfter(name));
        if (dialogues[name].kind == Kind::Program)
            QCOMPARE(device, dialogues[name].deviceAfter);
    }

    static void runClean(DialogueRig &rig, const QString &name)
    {
        QVERIFY(rig.start());
        prepare(rig, name, {}, WaitClock::DefaultTimeoutTicks);
        QCOMPARE(runDialogue(rig, name), 0);
        // A live command ends without waiting for its carriage return's answer.
        for (qint64 said = -1; rig.device.sentCount() != said; QTest::qWait(100))
            said = rig.device.sentCount();
        verifyComplete(name, rig.table, rig.device.relay(Swept));
    }

    // The next dialogue over the same link, on a fresh device, completes.
    static void verifyNextOnAFreshDevice(DialogueRig &rig, const QString &name)
    {
        TavikSimulator next;
        QVERIFY(next.start());
        next.setRelay(Swept, dialogues[name].device);
        rig.useDevice(next);
        rig.table = tableBefore(name);
        // A healthy device answers at once: the whole timeout, on the sweep's short tick, which keeps
        // the quiet wait after the escape that follows a dialogue ended halfway short.
        rig.link.clock().setTimeoutTicks(WaitClock::DefaultTimeoutTicks);
        const qint16 result = runDialogue(rig, name);
        QVERIFY2(result == 0, qPrintable(QString("the next dialogue, on a fresh device: result %1, status '%2'")
                                             .arg(result).arg(rig.view.statusText)));
        QVERIFY(!rig.link.port().isOpen());
        verifyComplete(name, rig.table, next.relay(Swept));
    }

    // A dialogue that did not complete touched no record but its own, and that only with values the device sent.
    static void verifyNothingHalfDone(const QString &name, const RelayTable &table)
    {
        RelayTable expected = tableBefore(name);
        if (dialogues[name].kind == Kind::Read) {
            const QStringList before = fields(expected[Swept]), device = fields(tableAfter(name)[Swept]),
                              after = fields(table[Swept]);
            for (qsizetype f = 0; f < after.size(); ++f)
                QVERIFY2(after[f] == before[f] || after[f] == device[f],
                         qPrintable(QStringLiteral("half-parsed field %1: %2").arg(f).arg(after[f])));
            expected[Swept] = table[Swept];
        }
        QCOMPARE(table, expected);
    }

    // Until the dialogue has all it waits for, every run fails cleanly; from then on, every run succeeds.
    void sweep(const std::function<SimFaults(qint64)> &fault, qint16 ticks = WaitClock::DefaultTimeoutTicks)
    {
        QFETCH(QString, name);
        QFETCH(int, slice);
        QFETCH(int, slices);
        DialogueRig clean;
        runClean(clean, name);
        const qint64 end = clean.device.sentCount();
        const bool silence = ticks != WaitClock::DefaultTimeoutTicks;
        qint64 firstSuccess = -1;
        const double cpuStart = cpuMilliseconds();
        QElapsedTimer wall;
        wall.start();
        QList<qint64> points;
        for (qint64 k = slice; k < end; k += slices * stride())
            points += k;
        for (qint64 k : points << end) {
            std::unique_ptr<DialogueRig> rig;
            std::unique_ptr<QSignalSpy> lost;
            qint16 result = -1;
            // A loaded machine may keep an answer past the silence sweep's short timeout: a run that fails
            // where the device must have answered runs again with the whole one, which only silence ends.
            for (const qint16 timeout : {ticks, qint16(WaitClock::DefaultTimeoutTicks)}) {
                QFile::remove(log());
                rig = std::make_unique<DialogueRig>();
                QVERIFY(rig->start());
                prepare(*rig, name, fault(k), timeout);
                lost = std::make_unique<QSignalSpy>(&rig->link.port(), &DevicePort::connectionLost);
                result = runDialogue(*rig, name);
                if (result == 0 || !silence || (firstSuccess < 0 && k < end))
                    break;
            }
            const QByteArray at = "after " + QByteArray::number(k) + " of " + QByteArray::number(end);
            QVERIFY2(!rig->link.port().isOpen(), at);
            QVERIFY2(silence ? lost->count() == 0 : lost->count() <= 1, at);
            QVERIFY2(loggedFailures(log()).size() <= 4, at);
            if (result == 0) {
                firstSuccess = firstSuccess < 0 ? k : firstSuccess;
                verifyComplete(name, rig->table, rig->device.relay(Swept));
            } else {
                QVERIFY2(firstSuccess < 0, at + ": failed (" + QByteArray::number(result) +
                                               ") after succeeding at " + QByteArray::number(firstSuccess) +
                                               ", sent " + rig->device.received());
                if (dialogues[name].kind != Kind::Live)
                    QVERIFY2(silence ? result == 3 : result > 0, at + ": " + QByteArray::number(result));
                verifyNothingHalfDone(name, rig->table);
            }
            verifyNextOnAFreshDevice(*rig, name);
            if (QTest::currentTestFailed())
                return qWarning("%s", at.constData());
        }
        QVERIFY(firstSuccess > 0 || stride() > 1);
        const double cpu = cpuMilliseconds() - cpuStart;
        qInfo("%lld characters, success from %lld, %.0f ms CPU in %lld ms", end, firstSuccess, cpu, wall.elapsed());
        // Where the device falls silent the dialogue waits, asleep.
        if (silence)
            QVERIFY2(cpu < wall.elapsed() / 2, "the waits spin instead of sleeping");
    }

private slots:
    void initTestCase() { setErrorLogPath(log()); }

    void hangUp_data() { addDialogues(); }
    void hangUp() { sweep([](qint64 k) { return SimFaults{.hangUpAfterOutput = k}; }); }

    void silence_data() { addDialogues(3); }
    void silence() { sweep([](qint64 k) { return SimFaults{.silentAfterOutput = k}; }, 3); }

    // A wrong echo of any character the tool checks brings escape and a second attempt, which succeeds.
    void wrongEcho_data() { addDialogues(); }
    void wrongEcho()
    {
        QFETCH(QString, name);
        DialogueRig clean;
        runClean(clean, name);
        const QByteArray sent = clean.device.received();
        for (qsizetype j = 0; j < sent.size(); j += stride()) {
            DialogueRig rig;
            QVERIFY(rig.start());
            prepare(rig, name, {.wrongEchoAtInput = j}, WaitClock::DefaultTimeoutTicks);
            const QByteArray at = "wrong echo of character " + QByteArray::number(j) + " ('" +
                                  sent.mid(j, 1).toPercentEncoding() + "')";
            QVERIFY2(runDialogue(rig, name) == 0 && !rig.link.port().isOpen(), at);
            verifyComplete(name, rig.table, rig.device.relay(Swept));
            if (sent.at(j) != '\r' && sent.at(j) != '\x1b')
                QVERIFY2(rig.device.received().indexOf('\x1b', j + 1) > j, at);
            if (QTest::currentTestFailed())
                return;
        }
    }
};

QTEST_GUILESS_MAIN(TestFailingLine)
#include "tst_failingline.moc"
