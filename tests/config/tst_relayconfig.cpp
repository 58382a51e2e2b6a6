#include "config/relayconfig.h"

#include <QtTest>

class TestRelayConfig : public QObject
{
    Q_OBJECT
private slots:
    void counterSplitsIntoHoursMinutesSecondsHundredths_data()
    {
        QTest::addColumn<int>("counter");
        QTest::addColumn<int>("hours");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("hundredths");
        QTest::newRow("zero") << 0 << 0 << 0 << 0 << 0;
        QTest::newRow("longest") << 16559999 << 45 << 59 << 59 << 99;
        QTest::newRow("12345") << 12345 << 0 << 2 << 3 << 45;
        QTest::newRow("last of the first hour") << 359999 << 0 << 59 << 59 << 99;
        QTest::newRow("one hour") << 360000 << 1 << 0 << 0 << 0;
        QTest::newRow("0x8000") << 32768 << 0 << 5 << 27 << 68;
        QTest::newRow("0x1A2B") << 6699 << 0 << 1 << 6 << 99;
    }
    void counterSplitsIntoHoursMinutesSecondsHundredths()
    {
        QFETCH(int, counter);
        QFETCH(int, hours);
        QFETCH(int, minutes);
        QFETCH(int, seconds);
        QFETCH(int, hundredths);
        RelayConfig relay;
        relay.Counter = counter;
        CounterToTime(relay);
        QCOMPARE(relay.Hours, hours);
        QCOMPARE(relay.Minutes, minutes);
        QCOMPARE(relay.Seconds, seconds);
        QCOMPARE(relay.Hundredths, hundredths);
    }

    void everyCounterSurvivesTheRoundTrip()
    {
        RelayConfig relay;
        for (qint32 counter = 0; counter <= 16559999; ++counter) {
            relay.Counter = counter;
            CounterToTime(relay);
            relay.Counter = -1;
            TimeToCounter(relay);
            if (relay.Counter != counter)
                QFAIL(qPrintable(QStringLiteral("counter %1 came back as %2").arg(counter).arg(relay.Counter)));
        }
    }

    void programmingCodes()
    {
        // Relay modes are sent as position + 1; the inverted gates carry the 8 bit.
        const QList<int> gates{0, 1, 2, 3, 8, 9, 10, 11};
        for (qint16 gate = 0; gate < 8; ++gate)
            QCOMPARE(inputModeCode(gate), gates.at(gate));
        QCOMPARE(relayModeCode(9), 10);
        QCOMPARE(relayModeList().size(), 10);
        QCOMPARE(relayModeList().at(9), QStringLiteral("Latching"));
        QCOMPARE(inputModeList(), QStringList({"OR", "AND", "XOR", "IL", "NOR", "NAND", "NXOR", "NIL"}));
    }

    void mapGroupsWeighFourInputsEach()
    {
        std::array<bool, InputCount> map{};
        map[0] = map[1] = map[2] = map[3] = true;
        QCOMPARE(mapGroupValue(map, 0), 15);
        QCOMPARE(mapGroupValue(map, 1), 0);
        map = {};
        map[9] = true;
        QCOMPARE(mapGroupValue(map, 2), 2);
        QCOMPARE(mapGroupValue(map, 0), 0);
    }

    void clearKeepsDeviceAndEditorState()
    {
        RelayConfig relay;
        relay.PCControl = relay.Closed = relay.ShowUnlatch = true;
        relay.RelayMode = 9;
        relay.InputMode = relay.UnlatchInputMode = 7;
        relay.InputMap.fill(true);
        relay.UnlatchMap.fill(true);
        relay.Counter = 12345;
        CounterToTime(relay);
        ClearRelay(relay);
        RelayConfig expected;
        expected.PCControl = expected.Closed = expected.ShowUnlatch = true;
        QVERIFY(relay == expected);
    }
};

QTEST_GUILESS_MAIN(TestRelayConfig)
#include "tst_relayconfig.moc"
