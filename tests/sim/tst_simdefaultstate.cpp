// The built-in simulated device keeps its relays in one file for every
// program, so that what one program programs another reads back.
#include "taviksimulator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtTest>

class TestSimDefaultState : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // Keeps the user's own data folder out of the test.
        QStandardPaths::setTestModeEnabled(true);
    }

    void cleanupTestCase() { QFile::remove(stateFileAs(QStringLiteral("tst_simdefaultstate"))); }

    void everyProgramNameGivesTheSameFile_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("window and command line") << "tavikgui"
                                                 << "tavikctl";
        QTest::newRow("stand-alone simulator and window") << "tavik-sim"
                                                          << "tavikgui";
        QTest::newRow("an organisation set too") << "tavikctl"
                                                 << "tavikctl@Tavik";
    }
    void everyProgramNameGivesTheSameFile()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        const QString path = stateFileAs(first);
        QCOMPARE(stateFileAs(second), path);
        QVERIFY2(path.endsWith(QStringLiteral("/tavik/tavik-sim-state.txt")), qPrintable(path));
        QCOMPARE(QFileInfo(path).absolutePath(),
                 QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                     QStringLiteral("/tavik"));
        QVERIFY2(QFileInfo(path).absoluteDir().exists(), qPrintable(path));
    }

    void relaysProgrammedUnderOneNameAreReadUnderAnother()
    {
        const QString path = stateFileAs(QStringLiteral("tavikgui"));
        QFile::remove(path);
        SimRelay relay;
        relay.mode = 4;
        relay.gate = 9;
        relay.map = 0x0A5;
        relay.counter = 12345;
        {
            TavikSimulator window;
            window.setStateFile(TavikSimulator::defaultStateFile());
            QString error;
            QVERIFY2(window.start(&error), qPrintable(error));
            window.setRelay(6, relay);
            window.stop();
        }
        TavikSimulator commandLine;
        commandLine.setStateFile(stateFileAs(QStringLiteral("tavikctl")));
        QString error;
        QVERIFY2(commandLine.start(&error), qPrintable(error));
        QCOMPARE(commandLine.relay(6), relay);
        QCOMPARE(commandLine.relay(5), SimRelay{});
        commandLine.stop();
        QFile::remove(path);
    }

private:
    // "name@organisation" sets both.
    static QString stateFileAs(const QString &program)
    {
        const QStringList parts = program.split(u'@');
        QCoreApplication::setApplicationName(parts.first());
        QCoreApplication::setOrganizationName(parts.size() > 1 ? parts.at(1) : QString());
        return TavikSimulator::defaultStateFile();
    }
};

QTEST_GUILESS_MAIN(TestSimDefaultState)
#include "tst_simdefaultstate.moc"
