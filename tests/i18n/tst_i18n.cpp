// tavikctl and the window in the system's language. Runs with LANGUAGE=de
// (tests/i18n/CMakeLists.txt).
#include "base/translations.h"
#include "processrunner.h"
#include "record/pictures.h"
#include "window/mainwindow.h"

#include <QtTest>
#include <QtWidgets>

using namespace Qt::Literals::StringLiterals;

class TestI18n : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { installTranslations(); }

    // "the language variable|arguments|a line tavikctl writes"
    void tavikctlSpeaksTheFirstLanguageItHas_data()
    {
        QTest::addColumn<QStringList>("cells");
        for (const char *row : {"LANGUAGE=de|--help|Aufruf: tavikctl BEFEHL [OPTIONEN]",
                                "LANGUAGE=de|program --help|  4         --changed: das Gerät weicht noch ab",
                                "LANGUAGE=de|read --relay 17 --simulate|"
                                "tavikctl: read: --relay erwartet eine Relaisnummer von 1 bis 16",
                                "LANG=de_DE.UTF-8|frobnicate|tavikctl: unbekannter Befehl „frobnicate“",
                                "LANGUAGE=en:de|--help|Usage: tavikctl COMMAND [OPTIONS]",
                                "LANGUAGE=fr|--help|Usage: tavikctl COMMAND [OPTIONS]"})
            QTest::newRow(row) << QString::fromUtf8(row).split(u'|');
    }
    void tavikctlSpeaksTheFirstLanguageItHas()
    {
        QFETCH(QStringList, cells);
        ProcessRequest request{QStringLiteral(TAVIKCTL_PATH), cells[1].split(u' '), {}};
        for (const char *name : {"LANGUAGE", "LANG", "LC_ALL", "LC_MESSAGES"})
            request.environment.remove(QLatin1String(name));
        request.environment.insert(cells[0].section(u'=', 0, 0), cells[0].section(u'=', 1));
        const ProcessRun run = runProcess(request);
        const QString said = QString::fromUtf8(run.out + run.err);
        QVERIFY2(said.split(u'\n').contains(cells[2]), qPrintable(said));
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
