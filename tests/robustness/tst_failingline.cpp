#include "base/errorlog.h"
#include "cputime.h"
#include "dialoguerig.h"
#include "finish.h"
#include "variedrelays.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// A line that fails at every step: the device hangs up, echoes wrongly or
// falls silent after each character of each dialogue in turn. ctest runs
// each sweep of each dialogue as a test of its own, side by side.

namespace
{

constexpr int Swept = 4; // relay 5, shown in the editor so that its updates run too

enum class Kind { Read, Program, Live };

// One dialogue: the device's relay before and after a complete run (the
// device the read reads, or the one the program leaves), and the swept
// record before, which for a read differs from the device in every field.
struct Dialogue {
    Kind kind = Kind::Read;
    char live = 0;
    SimRelay device;
    SimRelay deviceAfter;
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
    RelayTable table{};
    for (int i = 0; i < RelayCount; ++i)
        table[size_t(i)] = asRead(variedDeviceRelay(i));
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

struct Outcome {
    bool succeeded = false;
    qint16 result = -1; // read and program only
    bool portOpen = false;
    int lostSignals = 0;
    int loggedFailures = 0;
    RelayTable table{};
    SimRelay deviceRelay;
    QByteArray received; // what the device was sent
    qint64 sent = 0;     // characters the device sent
    bool freshSucceeded = true;
    bool freshPortOpen = false;
    RelayTable freshTable{};
    SimRelay freshDevice;
};

bool runDialogue(DialogueRig &rig, const Dialogue &d, qint16 &result)
{
    if (d.kind != Kind::Live) {
        result = qint16(finish(d.kind == Kind::Read ? rig.dialogues.readRelay(Swept) : rig.dialogues.programRelay(Swept)));
        return result == 0;
    }
    const LiveOutcome live = finish(d.live == 'c'   ? rig.dialogues.setPCControl(true)
                                    : d.live == 'l' ? rig.dialogues.latchInput()
                                                    : rig.dialogues.pulseInput());
    return live == LiveOutcome::Succeeded;
}

// Runs the dialogue against a device started for this run alone, then, when
// asked, once more over the same link on a fresh device.
Outcome runSwept(const QString &name, SimFaults faults, qint16 ticks, const QString &log, bool fresh,
                 bool settle = false)
{
    const Dialogue &d = dialogues[name];
    Outcome out;
    QFile::remove(log);
    DialogueRig rig;
    if (!rig.start())
        return out;
    // The pauses only let a real device settle; the sweeps would spend most of their time in them.
    rig.dialogues.setPauses({1, 1});
    rig.link.clock().setTimeoutTicks(ticks);
    // Every escape waits a tick for the line to fall quiet, and where the
    // device falls silent every run times out: ticks of 50 ms keep the sweep short.
    rig.link.clock().setTickInterval(50);
    rig.table = tableBefore(name);
    rig.view.setShownRelay(Swept);
    rig.device.setRelay(Swept, d.device);
    rig.device.setFaults(faults);
    rig.device.clearReceived();
    QSignalSpy lost(&rig.link.port(), &DevicePort::connectionLost);
    out.succeeded = runDialogue(rig, d, out.result);
    out.portOpen = rig.link.port().isOpen();
    out.lostSignals = int(lost.count());
    out.loggedFailures = int(loggedFailures(log).size());
    out.table = rig.table;
    // A live command ends without waiting for its carriage return's answer: count all the device says.
    for (qint64 said = -1; settle && rig.device.sentCount() != said; QTest::qWait(100))
        said = rig.device.sentCount();
    out.deviceRelay = rig.device.relay(Swept);
    out.received = rig.device.received();
    out.sent = rig.device.sentCount();
    if (!fresh)
        return out;

    TavikSimulator next;
    out.freshSucceeded = false;
    if (!next.start())
        return out;
    next.setRelay(Swept, d.device);
    rig.useDevice(next);
    rig.table = tableBefore(name);
    rig.link.clock().setTimeoutTicks(WaitClock::DefaultTimeoutTicks);
    rig.link.clock().setTickInterval(100);
    qint16 result = -1;
    out.freshSucceeded = runDialogue(rig, d, result);
    if (!out.freshSucceeded)
        qWarning("fresh run: result %d, status '%s', log %s", result, qPrintable(rig.view.statusText),
                 qPrintable(loggedFailures(log).join('|')));
    out.freshPortOpen = rig.link.port().isOpen();
    out.freshTable = rig.table;
    out.freshDevice = next.relay(Swept);
    return out;
}

// Fields of `after` that hold neither their value before nor the device's.
QString halfParsed(const RelayConfig &before, const RelayConfig &device, const RelayConfig &after)
{
    QStringList wrong;
    auto check = [&](const char *field, auto b, auto d, auto a) {
        if (a != b && a != d)
            wrong += QString::fromLatin1(field);
    };
    check("RelayMode", before.RelayMode, device.RelayMode, after.RelayMode);
    check("InputMode", before.InputMode, device.InputMode, after.InputMode);
    check("UnlatchInputMode", before.UnlatchInputMode, device.UnlatchInputMode, after.UnlatchInputMode);
    for (size_t i = 0; i < InputCount; ++i) {
        check("InputMap", before.InputMap[i], device.InputMap[i], after.InputMap[i]);
        check("UnlatchMap", before.UnlatchMap[i], device.UnlatchMap[i], after.UnlatchMap[i]);
    }
    auto time = [](const RelayConfig &r) { return std::tuple(r.Counter, r.Hours, r.Minutes, r.Seconds, r.Hundredths); };
    check("closure time", time(before), time(device), time(after));
    check("Closed", before.Closed, device.Closed, after.Closed);
    check("PCControl", before.PCControl, device.PCControl, after.PCControl);
    return wrong.join(QStringLiteral(", "));
}

} // namespace

class TestFailingLine : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString log() const { return m_dir.filePath(QStringLiteral("ErrorLog.txt")); }

    // TAVIK_SWEEP_STRIDE (the sanitizer suite) takes every n-th point.
    static qint64 stride() { return qMax(1, qEnvironmentVariableIntValue("TAVIK_SWEEP_STRIDE")); }

    // A sweep may be cut into slices that ctest runs side by side: slice s of
    // n takes every n-th point from s, and the last point.
    static void addDialogues(int slices = 1)
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("slice");
        QTest::addColumn<int>("slices");
        for (const QString &name : dialogues.keys()) {
            for (int s = 0; s < slices; ++s)
                QTest::addRow("%s%s", qPrintable(name), slices > 1 ? qPrintable("." + QString::number(s)) : "")
                    << name << s << slices;
        }
    }

    static void verifyComplete(const QString &name, const RelayTable &table, const SimRelay &device)
    {
        QCOMPARE(table, tableAfter(name));
        if (dialogues[name].kind == Kind::Program)
            QCOMPARE(device, dialogues[name].deviceAfter);
    }

    // A dialogue that did not complete touched no record but its own, and
    // that one only with values the device sent.
    static void verifyNothingHalfDone(const QString &name, const RelayTable &table)
    {
        const RelayTable before = tableBefore(name);
        for (size_t i = 0; i < RelayCount; ++i) {
            if (i != Swept)
                QCOMPARE(table[i], before[i]);
        }
        if (dialogues[name].kind == Kind::Read) {
            const QString wrong = halfParsed(before[Swept], tableAfter(name)[Swept], table[Swept]);
            QVERIFY2(wrong.isEmpty(), qPrintable(QStringLiteral("half-parsed: ") + wrong));
        } else {
            QCOMPARE(table[Swept], before[Swept]);
        }
    }

    // Before the point where the dialogue has all it waits for, every run
    // fails cleanly; from it on, every run succeeds.
    void sweep(const QString &name, qint64 end, const std::function<SimFaults(qint64)> &fault, qint16 ticks)
    {
        QFETCH(int, slice);
        QFETCH(int, slices);
        const bool silence = ticks != WaitClock::DefaultTimeoutTicks;
        qint64 firstSuccess = -1;
        double cpu = 0;
        QElapsedTimer wall;
        wall.start();
        QList<qint64> points;
        for (qint64 k = slice; k < end; k += slices * stride())
            points += k;
        for (qint64 k : points << end) {
            const double cpuBefore = processCpuMilliseconds();
            const Outcome out = runSwept(name, fault(k), ticks, log(), true);
            cpu += processCpuMilliseconds() - cpuBefore;
            const QByteArray at = "after " + QByteArray::number(k) + " of " + QByteArray::number(end);
            QVERIFY2(!out.portOpen, at);
            QVERIFY2(silence ? out.lostSignals == 0 : out.lostSignals <= 1, at);
            QVERIFY2(out.loggedFailures <= 4, at);
            if (out.succeeded) {
                firstSuccess = firstSuccess < 0 ? k : firstSuccess;
                verifyComplete(name, out.table, out.deviceRelay);
            } else {
                QVERIFY2(firstSuccess < 0, at + ": failed (" + QByteArray::number(out.result) + ") after succeeding at " +
                                               QByteArray::number(firstSuccess) + ", sent " + out.received);
                if (dialogues[name].kind != Kind::Live)
                    QVERIFY2(silence ? out.result == 3 : out.result > 0, at + ": " + QByteArray::number(out.result));
                verifyNothingHalfDone(name, out.table);
            }
            QVERIFY2(out.freshSucceeded && !out.freshPortOpen, at + ": the next dialogue on a fresh device");
            verifyComplete(name, out.freshTable, out.freshDevice);
            if (QTest::currentTestFailed())
                return qWarning("%s", at.constData());
        }
        QVERIFY(firstSuccess > 0 || stride() > 1);
        qInfo("%lld characters, success from %lld, %.0f ms CPU in %lld ms", end, firstSuccess, cpu, wall.elapsed());
        // Where the device falls silent the dialogue waits, asleep.
        if (silence)
            QVERIFY2(cpu < wall.elapsed() / 2, "the waits spin instead of sleeping");
    }

    Outcome cleanRun(const QString &name)
    {
        const Outcome clean = runSwept(name, {}, WaitClock::DefaultTimeoutTicks, log(), false, true);
        [&] {
            QVERIFY(clean.succeeded);
            verifyComplete(name, clean.table, clean.deviceRelay);
        }();
        return clean;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        setErrorLogPath(log());
    }

    void hangUp_data() { addDialogues(); }
    void hangUp()
    {
        QFETCH(QString, name);
        const Outcome clean = cleanRun(name);
        sweep(name, clean.sent, [](qint64 k) { SimFaults f; f.hangUpAfterOutput = k; return f; },
              WaitClock::DefaultTimeoutTicks);
    }

    void silence_data() { addDialogues(3); }
    void silence()
    {
        QFETCH(QString, name);
        const Outcome clean = cleanRun(name);
        sweep(name, clean.sent, [](qint64 k) { SimFaults f; f.silentAfterOutput = k; return f; }, 3);
    }

    // A wrong echo of any character the tool checks brings escape and a
    // second attempt, which succeeds.
    void wrongEcho_data() { addDialogues(); }
    void wrongEcho()
    {
        QFETCH(QString, name);
        const QByteArray sent = cleanRun(name).received;
        QVERIFY(!sent.isEmpty());
        for (qsizetype j = 0; j < sent.size(); j += stride()) {
            SimFaults f;
            f.wrongEchoAtInput = j;
            const Outcome out = runSwept(name, f, WaitClock::DefaultTimeoutTicks, log(), false);
            const QByteArray at = "wrong echo of character " + QByteArray::number(j) + " ('" +
                                  sent.mid(j, 1).toPercentEncoding() + "')";
            QVERIFY2(out.succeeded && !out.portOpen, at);
            verifyComplete(name, out.table, out.deviceRelay);
            if (sent.at(j) != '\r' && sent.at(j) != '\x1b')
                QVERIFY2(out.received.indexOf('\x1b', j + 1) > j, at);
            if (QTest::currentTestFailed())
                return;
        }
    }
};

QTEST_GUILESS_MAIN(TestFailingLine)
#include "tst_failingline.moc"
