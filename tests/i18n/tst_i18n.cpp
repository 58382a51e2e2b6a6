// tavikctl and the window in the system's language. Runs with LANGUAGE=de
// (tests/i18n/CMakeLists.txt).
#include "base/translations.h"
#include "processrunner.h"
#include "record/pictures.h"
#include "window/mainwindow.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestI18n : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { installTranslations(); }

    // "the language variable | arguments | a line tavikctl writes"
    void tavikctlSpeaksTheFirstLanguageItHas_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("line");
        QTest::newRow("help") << "LANGUAGE=de" << "--help" << "Aufruf: tavikctl BEFEHL [OPTIONEN]";
        QTest::newRow("a command's own")
            << "LANGUAGE=de" << "program --help" << "  4         --changed: das Gerät weicht noch ab";
        QTest::newRow("usage") << "LANGUAGE=de" << "read --relay 17 --simulate"
                               << "tavikctl: read: --relay erwartet eine Relaisnummer von 1 bis 16";
        QTest::newRow("LANG alone")
            << "LANG=de_DE.UTF-8" << "frobnicate" << "tavikctl: unbekannter Befehl „frobnicate“";
        QTest::newRow("English first") << "LANGUAGE=en:de" << "--help" << "Usage: tavikctl COMMAND [OPTIONS]";
        QTest::newRow("no French") << "LANGUAGE=fr" << "--help" << "Usage: tavikctl COMMAND [OPTIONS]";
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
        QCOMPARE(menus.at(0)->text() + u'|' + menus.at(1)->text(), u"&Datei|&Bearbeiten"_s);
        QCOMPARE(menus.at(1)->menu()->actions().at(0)->text(), u"&Rückgängig"_s);
        QCOMPARE(window.findChild<QPushButton *>("btnReadAll")->text(), u"&Alle lesen"_s);
        QCOMPARE(window.findChild<QLabel *>("lblSliSecs")->text(), u"Sekunden"_s);
        // The words the window and the record paint over the input and relay pictures.
        QCOMPARE(inputPictureText(2) + u'|' + relayPictureText(0), u"Eingang 3|Relais 1"_s);
    }
};

QTEST_MAIN(TestI18n)
#include "tst_i18n.moc"
