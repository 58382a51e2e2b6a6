#include "config/closuretimetext.h"

#include <QtTest>

using namespace ClosureTimeText;

class TestClosureTimeText : public QObject
{
    Q_OBJECT
private slots:
    void aTextReadsAsTheNumberItBeginsWithWithoutItsSign_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        QTest::newRow("plain") << "12" << 12.0;
        QTest::newRow("leading zero") << "07" << 7.0;
        QTest::newRow("negative") << "-7" << 7.0;
        QTest::newRow("plus") << "+3" << 3.0;
        QTest::newRow("trailing letters") << "4x" << 4.0;
        QTest::newRow("letters only") << "ab" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("fraction only") << ".5" << 0.5;
        QTest::newRow("point without fraction") << "1." << 1.0;
        QTest::newRow("lone point") << "." << 0.0;
        QTest::newRow("lone sign") << "-" << 0.0;
        QTest::newRow("exponent") << "1e2" << 100.0;
        QTest::newRow("exponent without digits") << "4e" << 4.0;
        QTest::newRow("leading blanks") << "  9" << 9.0;
        QTest::newRow("second point ends it") << "1.2.3" << 1.2;
    }
    void aTextReadsAsTheNumberItBeginsWithWithoutItsSign()
    {
        QFETCH(QString, text);
        QFETCH(double, number);
        QCOMPARE(leadingNumber(text), number);
    }

    void numbersBeyondADoubleStillGiveAValue()
    {
        QVERIFY(std::isinf(leadingNumber(QStringLiteral("1e400"))));
        QCOMPARE(leadingNumber(QStringLiteral("1e-400")), 0.0);
        QCOMPARE(hundredthsValue(QStringLiteral("1e400"), 5999), 5999);
        QCOMPARE(wholeUnitValue(QStringLiteral("1e400"), 45), 45);
    }

    void halvesRoundToTheEvenNeighbour_data()
    {
        QTest::addColumn<double>("number");
        QTest::addColumn<qint64>("rounded");
        QTest::newRow("0.5") << 0.5 << qint64(0);
        QTest::newRow("1.5") << 1.5 << qint64(2);
        QTest::newRow("2.5") << 2.5 << qint64(2);
        QTest::newRow("550") << 550.0 << qint64(550);
        QTest::newRow("just above a half") << 0.51 << qint64(1);
        QTest::newRow("just below a half") << 2.49 << qint64(2);
        QTest::newRow("5.07 x 100") << 5.07 * 100 << qint64(507);
    }
    void halvesRoundToTheEvenNeighbour()
    {
        QFETCH(double, number);
        QFETCH(qint64, rounded);
        QCOMPARE(roundHalfEven(number), rounded);
    }

    void wholeUnitTextsAreLimitedAndRounded_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("value");
        QTest::newRow("99 hours") << "99" << 45 << 45;
        QTest::newRow("45 hours") << "45" << 45 << 45;
        QTest::newRow(".5 hours") << ".5" << 45 << 0;
        QTest::newRow("1.5 hours") << "1.5" << 45 << 2;
        QTest::newRow("1. hours") << "1." << 45 << 1;
        QTest::newRow("ab minutes") << "ab" << 59 << 0;
        QTest::newRow("-7 minutes") << "-7" << 59 << 7;
        QTest::newRow("60 minutes") << "60" << 59 << 59;
    }
    void wholeUnitTextsAreLimitedAndRounded()
    {
        QFETCH(QString, text);
        QFETCH(int, maximum);
        QFETCH(int, value);
        QCOMPARE(wholeUnitValue(text, maximum), value);
    }

    void secondsTextsBecomeHundredths_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("hundredths");
        QTest::addColumn<QString>("shown");
        QTest::newRow("5.5") << "5.5" << 550 << "5.50";
        QTest::newRow("5.07") << "5.07" << 507 << "5.07";
        QTest::newRow("12") << "12" << 1200 << "12.00";
        QTest::newRow("75") << "75" << 5999 << "59.99";
        QTest::newRow("59.99") << "59.99" << 5999 << "59.99";
        QTest::newRow("half a hundredth") << ".005" << 0 << "0.00";
        QTest::newRow("garbage") << "x1" << 0 << "0.00";
    }
    void secondsTextsBecomeHundredths()
    {
        QFETCH(QString, text);
        QFETCH(int, hundredths);
        QFETCH(QString, shown);
        QCOMPARE(hundredthsValue(text, 5999), hundredths);
        QCOMPARE(secondsText(hundredths), shown);
    }
};

QTEST_APPLESS_MAIN(TestClosureTimeText)
#include "tst_closuretimetext.moc"
