// Commands the user starts while Read All or Program All talks to the device: those the window leaves enabled
// wait their turn and run between two relays, those it disables are refused, and Cancel, Esc or File Exit stop
// the bulk command with the device back at its menu.
#include "base/errorlog.h"
#include "userstep.h"
#include "windowrig.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using Probe = MainWindowProbe;

class TestOverlap : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { setErrorLogPath(m_dir.filePath(u"ErrorLog.txt"_s)); }

    void aSecondCommandWaitsIsRefusedOrCancels_data()
    {
        QTest::addColumn<QString>("second");
        QTest::addColumn<QByteArray>("between"); // what the device gets between two relays; empty: none
        QTest::addColumn<QString>("outcome");
        for (const auto &[second, between] : {std::pair{"force Program Relay", "p1\r"},
                                              {"click PC-Control", "\033c1\r"},
                                              {"click Latch Input", "\033l1\r"},
                                              {"click Momentary Input", "\033m1\r"}})
            QTest::newRow(second) << QString::fromLatin1(second) << QByteArray(between) << u"waits"_s;
        for (const char *second : {"force Read All", "force Read Relay"})
            QTest::newRow(second) << QString::fromLatin1(second) << QByteArray() << u"refused"_s;
        for (const char *second : {"click Cancel", "key Escape", "menu File/Exit"})
            QTest::newRow(second) << QString::fromLatin1(second) << QByteArray() << u"cancels"_s;
        // Edits touch no device; one half of the pair is enough for them.
        if (qEnvironmentVariable("TAVIK_OVERLAP_BULK") == u"program"_s)
            return;
        for (const char *edit : {"menu File/New", "relay 5", "mode Min-Time", "gate NXOR", "input 8",
                                 "slider hours 3", "hours 12", "click R"})
            QTest::newRow(edit) << QString::fromLatin1(edit) << QByteArray() << u"waits"_s;
    }
    void aSecondCommandWaitsIsRefusedOrCancels()
    {
        QFETCH(QString, second);
        QFETCH(QByteArray, between);
        QFETCH(QString, outcome);
        const bool cancels = outcome == u"cancels"_s, exits = second == u"menu File/Exit"_s;
        // ctest runs the two halves side by side, each as an entry of its own.
        const bool reading = qEnvironmentVariable("TAVIK_OVERLAP_BULK") != u"program"_s;
        WindowRig rig;
        QVERIFY(rig.start(4));
        RelayTable &table = rig.window.relayTable();
        SimRelay first = rig.device.relay(0); // under PC control, so that Latch and Momentary reach it
        first.pcControl = true;
        rig.device.setRelay(0, first);
        for (int i = 0; !reading && i < RelayCount; ++i)
            table[size_t(i)] = asRead(rig.device.relay((i + 5) % RelayCount));
        table[0].PCControl = true;
        rig.probe.select(Probe::List::RelayNumber, u"Relay 2"_s); // and back, to show the table's relay
        rig.probe.select(Probe::List::RelayNumber, u"Relay 1"_s);
        const RelayTable before = table;

        // The second command goes off while relay fireAt's dialogue runs.
        const int fireAt = 5;
        const QString verb = reading ? u"Reading relay "_s : u"Programming relay "_s;
        bool started = false;
        QString statusAfterSecond;
        RelayTable afterSecond{};
        rig.window.onAction = [&](const QString &text) {
            if (text != verb + QString::number(fireAt))
                return;
            QTimer::singleShot(1, &rig.window, [&] {
                rig.probe.setSettles(false);
                started = performStep(rig.probe, second);
                rig.probe.setSettles(true);
                statusAfterSecond = rig.probe.statusText();
                afterSecond = table;
            });
        };
        const QByteArray receivedBefore = rig.device.received();
        QVERIFY(rig.probe.click(reading ? u"Read All"_s : u"Program All"_s));
        QVERIFY2(started, qPrintable(rig.window.actions.join(u"|"_s) + u" / "_s + rig.probe.statusText()));
        QVERIFY(!rig.probe.commandRuns());
        QVERIFY(!rig.probe.portOpen());
        QCOMPARE(rig.window.isVisible(), !exits);
        QCOMPARE(statusAfterSecond.startsWith(u"Tavik is busy with another command"_s),
                 outcome == u"refused"_s);

        QCOMPARE(rig.window.actions.contains(verb + QString::number(fireAt + 1)), !cancels);
        if (!cancels) {
            QCOMPARE(rig.window.actions.last(), reading ? u"Finished reading all"_s : u"Finished programming all"_s);
        } else {
            // Sent back to its menu (the escape may still be on the line); the next command finds it there.
            QTRY_VERIFY(rig.device.received().endsWith('\033'));
            QCOMPARE(rig.probe.statusText(), u"Cancelled after relay %1 of 16"_s.arg(fireAt - 1));
            QVERIFY(!rig.probe.isEnabled(u"Cancel"_s));
            if (!exits) {
                QVERIFY(rig.probe.click(u"Read Relay"_s));
                QCOMPARE(rig.window.actions.last(), u"Relay read"_s);
            }
        }
        if (!between.isEmpty()) { // after relay fireAt's dialogue, before the next one's
            const QByteArray wire = rig.device.received().mid(receivedBefore.size()),
                             verb = reading ? "r" : "p";
            const qsizetype at = wire.lastIndexOf(between);
            QVERIFY2(at > wire.indexOf(verb + QByteArray::number(fireAt) + '\r') &&
                         at < wire.indexOf(verb + QByteArray::number(fireAt + 1) + '\r'),
                     wire.toPercentEncoding().constData());
        }

        // Each record: as it was, as the second command left it, or as read from the device;
        // PC-Control, once it had its turn, switched relay 1 over.
        if (second == u"click PC-Control"_s) {
            QCOMPARE(table[0].PCControl, !before[0].PCControl);
            table[0].PCControl = before[0].PCControl;
        }
        for (size_t i = 0; i < size_t(RelayCount); ++i) {
            const QStringList now = fields(table[i]), old = fields(before[i]),
                              edited = fields(afterSecond[i]),
                              read = fields(asRead(rig.device.relay(int(i)), before[i])),
                              readOverEdit = fields(asRead(rig.device.relay(int(i)), afterSecond[i]));
            for (int f = 0; f < now.size(); ++f)
                QVERIFY2(now[f] == old[f] || now[f] == edited[f] ||
                             (reading && (now[f] == read[f] || now[f] == readOverEdit[f])),
                         qPrintable(u"relay %1: %2"_s.arg(i + 1).arg(now[f])));
        }
    }
};

QTEST_MAIN(TestOverlap)
#include "tst_overlap.moc"
