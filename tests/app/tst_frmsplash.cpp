// The splash window: the maker's logo, the program's identity, and the
// caption prefix that its loading sets.
#include "app/frmsplash.h"
#include "app/pictures.h"
#include "base/titleversion.h"

#include <QLabel>
#include <QScreen>
#include <QtTest>

class TestFrmSplash : public QObject
{
    Q_OBJECT
private slots:
    void theCaptionPrefixIsEmptyUntilTheSplashLoads()
    {
        QVERIFY(TitleVersion.isEmpty());
        frmSplash splash;
        QVERIFY2(TitleVersion.startsWith(QStringLiteral("Tavik Configuration Manager v")),
                 qPrintable(TitleVersion));
    }

    void theSplashShowsTheLogoAndTheProgramsIdentity()
    {
        frmSplash splash;
        QVERIFY(!splash.imgLogo->pixmap().isNull());
        QCOMPARE(splash.imgLogo->pixmap().size(), QSize(420, 128));
        QCOMPARE(splash.imgLogo->pixmap().toImage(), LoadResPicture(101).toImage());
        QCOMPARE(splash.lblTitle->text(), QStringLiteral("Tavik Configuration Manager"));
        QVERIFY(splash.lblVersion->text().startsWith(QStringLiteral("Version ")));
        // "Version 1.0.131" and "... v1.0.131" name the same version.
        QVERIFY(TitleVersion.endsWith(QStringLiteral(" v") + splash.lblVersion->text().mid(8)));
    }

    void theSplashIsCentredOnTheScreen()
    {
        frmSplash splash;
        const QRect screen = splash.screen()->availableGeometry();
        QVERIFY(splash.width() >= 420);
        QVERIFY((splash.geometry().center() - screen.center()).manhattanLength() <= 2);
    }
};

QTEST_MAIN(TestFrmSplash)
#include "tst_frmsplash.moc"
