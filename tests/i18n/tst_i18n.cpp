// tavikctl and the window in the system's language, and seconds typed as the
// locale writes them. Runs with LANGUAGE=de (tests/i18n/CMakeLists.txt).
#include "base/translations.h"
#include "processrunner.h"
#include "window/closuretimeentry.h"
#include "window/mainwindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestI18n : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { installTranslations(); }
    void cleanup() { QLocale::setDefault(QLocale::system()); }

    // "the language variable | arguments | a line tavikctl writes"
    void tavikctlSpeaksTheFirstLanguageItHas_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("line");
        QTest::newRow("help") << "LANGUAGE=de"
                              << "--help"
                              << "Aufruf: tavikctl BEFEHL [OPTIONEN]";
        QTest::newRow("options") << "LANGUAGE=de"
                                 << "--help"
                                 << "  --help     diese Hilfe anzeigen";
        QTest::newRow("usage") << "LANGUAGE=de"
                               << "read --relay 17 --simulate"
                               << "tavikctl: read: --relay erwartet eine Relaisnummer von 1 bis 16";
        QTest::newRow("LANG alone") << "LANG=de_DE.UTF-8"
                                    << "frobnicate"
                                    << "tavikctl: unbekannter Befehl „frobnicate“";
        QTest::newRow("English first") << "LANGUAGE=en:de"
                                       << "--help"
                                       << "Usage: tavikctl COMMAND [OPTIONS]";
        QTest::newRow("no French") << "LANGUAGE=fr"
                                   << "--help"
                                   << "Usage: tavikctl COMMAND [OPTIONS]";
    }
    void tavikctlSpeaksTheFirstLanguageItHas()
    {
        QFETCH(QString, language);
        QFETCH(QString, arguments);
        QFETCH(QString, line);
        ProcessRequest request{QStringLiteral(TAVIKCTL_PATH), arguments.split(u' ')};
        for (const char *name : {"LANGUAGE", "LANG", "LC_ALL", "LC_MESSAGES"})
            request.environment.remove(QLatin1String(name));
        request.environment.insert(language.section(u'=', 0, 0), language.section(u'=', 1));
        const ProcessRun run = runProcess(request);
        const QString said = QString::fromUtf8(run.out + run.err);
        QVERIFY2(said.split(u'\n').contains(line), qPrintable(said));
    }

    void theWindowSpeaksGerman()
    {
        MainWindow window;
        const QList<QAction *> menus = window.menuBar()->actions();
        QCOMPARE(menus.at(0)->text() + u'|' + menus.at(1)->text(), u"Datei|Bearbeiten"_s);
        QCOMPARE(menus.at(1)->menu()->actions().at(0)->text(), u"Rückgängig"_s);
        QCOMPARE(window.findChild<QPushButton *>("btnReadAll")->text(), u"Alle lesen"_s);
        QCOMPARE(window.findChild<QLabel *>("lblSliSecs")->text(), u"Sekunden"_s);
    }

    // "locale | typed | the seconds slider then | the text then"
    void secondsAreTypedAsTheLocaleWritesThem_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("hundredths");
        QTest::addColumn<QString>("shown");
        QTest::newRow("German comma") << "de_DE"
                                      << "0,50" << 50 << "0,50";
        QTest::newRow("German with a point") << "de_DE"
                                             << "1.5" << 150 << "1,50";
        QTest::newRow("English point") << "en_US"
                                       << "0.5" << 50 << "0.50";
        QTest::newRow("English stops at a comma") << "en_US"
                                                  << "2,50" << 200 << "2.00";
    }
    void secondsAreTypedAsTheLocaleWritesThem()
    {
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        QFETCH(int, hundredths);
        QFETCH(QString, shown);
        QLocale::setDefault(QLocale(locale));
        ClosureTimeEntry entry;
        auto *text = entry.findChild<QLineEdit *>("txtSecs");
        text->clear();
        QTest::keyClicks(text, typed);
        QTest::keyClick(text, Qt::Key_Return);
        QCOMPARE(entry.findChild<QSlider *>("sliSecs")->value(), hundredths);
        QCOMPARE(text->text(), shown);
    }
};

QTEST_MAIN(TestI18n)
#include "tst_i18n.moc"
