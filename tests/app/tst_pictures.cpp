#include "app/pictures.h"
#include "app/visualstyles.h"

#include <QApplication>
#include <QBuffer>
#include <QDirIterator>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QStyle>
#include <QStyleFactory>
#include <QtTest>

class TestPictures : public QObject
{
    Q_OBJECT

private slots:
    void qtCanReadGifPictures();

    void everyGifResourceLoadsAtItsSize_data();
    void everyGifResourceLoadsAtItsSize();
    void everyGifResourceIsGif89a_data();
    void everyGifResourceIsGif89a();

    void theResourcesHoldExactlyTheListedPictures();
    void theLogoIsA420By128BitmapOf32BitsPerPixel();
    void theBackgroundIs512By512();
    void theIconIs64By64();
    void theBackgroundsWiresMeetThePicturesLaidOverIt_data();
    void theBackgroundsWiresMeetThePicturesLaidOverIt();
    void aResourceThatDoesNotExistGivesNoBytes_data();
    void aResourceThatDoesNotExistGivesNoBytes();

    void brokenPictureBytesGiveNoPicture_data();
    void brokenPictureBytesGiveNoPicture();
    void aCompleteGifInMemoryGivesItsPicture();

    void aStyleIsForcedOnlyByTheUsersOwnChoice_data();
    void aStyleIsForcedOnlyByTheUsersOwnChoice();
    void initVisualStylesLeavesAValidStyle();
    void aForcedStyleIsLeftAlone();
    void aStyleGivenOnTheCommandLineIsLeftAlone();
    void styleProbe();
};

namespace
{

struct GifResource {
    const char *type;
    int id;
    int width;
    int height;
};

QList<GifResource> allGifResources()
{
    QList<GifResource> list;
    const int gateWidths[8] = {150, 150, 150, 150, 160, 165, 160, 160};
    for (int i = 0; i < 8; ++i)
        list.append({"INMODE", 101 + i, gateWidths[i], 128});
    for (int id = 101; id <= 112; ++id) {
        list.append({"INON", id, 128, 32});
        list.append({"INOFF", id, 128, 32});
    }
    for (int id = 101; id <= 116; ++id)
        list.append({"RELAY", id, 128, 80});
    return list;
}

QByteArray gifBytes()
{
    return LoadResData(101, QStringLiteral("INMODE"));
}

} // namespace

void TestPictures::qtCanReadGifPictures()
{
    QVERIFY(QImageReader::supportedImageFormats().contains("gif"));
    QVERIFY(QImageReader::supportedImageFormats().contains("bmp"));
    QVERIFY(QImageReader::supportedImageFormats().contains("png"));
}

void TestPictures::everyGifResourceLoadsAtItsSize_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("id");
    QTest::addColumn<QSize>("size");
    for (const GifResource &r : allGifResources())
        QTest::addRow("%s %d", r.type, r.id)
            << QString::fromLatin1(r.type) << r.id << QSize(r.width, r.height);
}

void TestPictures::everyGifResourceLoadsAtItsSize()
{
    QFETCH(QString, type);
    QFETCH(int, id);
    QFETCH(QSize, size);
    const QPixmap picture = PictureFromBytes(LoadResData(id, type));
    QVERIFY(!picture.isNull());
    QCOMPARE(picture.size(), size);
}

void TestPictures::everyGifResourceIsGif89a_data()
{
    QTest::addColumn<QString>("path");
    for (const GifResource &r : allGifResources())
        QTest::addRow("%s %d", r.type, r.id)
            << QStringLiteral(":/res/%1/%2.gif").arg(QLatin1String(r.type)).arg(r.id);
    QTest::newRow("background") << QStringLiteral(":/res/IMAGE1.gif");
}

void TestPictures::everyGifResourceIsGif89a()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
    QCOMPARE(file.read(6), QByteArray("GIF89a"));
}

void TestPictures::theResourcesHoldExactlyTheListedPictures()
{
    QStringList expected{QStringLiteral(":/res/IMAGE1.gif"), QStringLiteral(":/res/BITMAP/101.bmp"),
                         QStringLiteral(":/res/ICON/30001.png")};
    for (const GifResource &r : allGifResources())
        expected.append(QStringLiteral(":/res/%1/%2.gif").arg(QLatin1String(r.type)).arg(r.id));
    QCOMPARE(expected.size(), 51);

    QStringList present;
    QDirIterator it(QStringLiteral(":/res"), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        present.append(it.next());
    expected.sort();
    present.sort();
    QCOMPARE(present, expected);
}

void TestPictures::theLogoIsA420By128BitmapOf32BitsPerPixel()
{
    const QByteArray bytes = LoadResData(101, QStringLiteral("BITMAP"));
    QCOMPARE(bytes.left(2), QByteArray("BM"));
    const int bitsPerPixel = quint8(bytes.at(28)) | quint8(bytes.at(29)) << 8;
    QCOMPARE(bitsPerPixel, 32);
    QCOMPARE(QImage::fromData(bytes).depth(), 32);

    const QPixmap logo = LoadResPicture(101);
    QVERIFY(!logo.isNull());
    QCOMPARE(logo.size(), QSize(420, 128));
}

void TestPictures::theBackgroundIs512By512()
{
    const QPixmap background = backgroundPicture();
    QVERIFY(!background.isNull());
    QCOMPARE(background.size(), QSize(512, 512));
}

void TestPictures::theIconIs64By64()
{
    const QPixmap icon = programIconPicture();
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.size(), QSize(64, 64));
}

void TestPictures::theBackgroundsWiresMeetThePicturesLaidOverIt_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<bool>("onWire");
    for (int i = 0; i < 12; ++i) {
        const QPoint input = backgroundInputPosition(i);
        QTest::addRow("right of input %d", i + 1) << input + QPoint(128 + 6, 16) << true;
        QTest::addRow("below the middle of input %d", i + 1) << input + QPoint(128 + 6, 26) << false;
    }
    const QPoint gate = backgroundGatePosition();
    QTest::newRow("into the gate's upper input") << gate + QPoint(-6, 44) << true;
    QTest::newRow("into the gate's lower input") << gate + QPoint(-6, 84) << true;
    QTest::newRow("between the gate's inputs") << gate + QPoint(-6, 64) << false;
    const QPoint relay = backgroundRelayPosition();
    QTest::newRow("into the middle of the relay") << relay + QPoint(-6, 40) << true;
    QTest::newRow("above the relay's wire") << relay + QPoint(-6, 30) << false;
}

void TestPictures::theBackgroundsWiresMeetThePicturesLaidOverIt()
{
    QFETCH(QPoint, point);
    QFETCH(bool, onWire);
    // The wires are drawn much darker than the panel they run on.
    const QImage background = backgroundPicture().toImage();
    QCOMPARE(qGray(background.pixel(point)) < 190, onWire);
}

void TestPictures::aResourceThatDoesNotExistGivesNoBytes_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("id");
    QTest::newRow("gate after NIL") << QStringLiteral("INMODE") << 109;
    QTest::newRow("input 0") << QStringLiteral("INON") << 100;
    QTest::newRow("input 13") << QStringLiteral("INOFF") << 113;
    QTest::newRow("relay 17") << QStringLiteral("RELAY") << 117;
    QTest::newRow("a type that does not exist") << QStringLiteral("GATE") << 101;
    QTest::newRow("type in the wrong case") << QStringLiteral("relay") << 101;
}

void TestPictures::aResourceThatDoesNotExistGivesNoBytes()
{
    QFETCH(QString, type);
    QFETCH(int, id);
    QVERIFY(LoadResData(id, type).isEmpty());
    QVERIFY(PictureFromBytes(LoadResData(id, type)).isNull());
}

void TestPictures::brokenPictureBytesGiveNoPicture_data()
{
    const QByteArray gif = gifBytes();
    const QByteArray bitmap = LoadResData(101, QStringLiteral("BITMAP"));
    const QByteArray png = LoadResData(30001, QStringLiteral("ICON"));
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("text") << QByteArray("Relay 1,Momentary,OR\r\n");
    QTest::newRow("zero bytes") << QByteArray(512, '\0');
    QTest::newRow("GIF header only") << QByteArray("GIF89a");
    QTest::newRow("GIF cut in half") << gif.left(gif.size() / 2);
    QTest::newRow("GIF without its last byte") << gif.chopped(1);
    QTest::newRow("bitmap cut in half") << bitmap.left(bitmap.size() / 2);
    QTest::newRow("bitmap header only") << bitmap.left(54);
    QTest::newRow("PNG cut in half") << png.left(png.size() / 2);
}

void TestPictures::brokenPictureBytesGiveNoPicture()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(PictureFromBytes(bytes).isNull());
}

void TestPictures::aCompleteGifInMemoryGivesItsPicture()
{
    // Made here rather than read from the resources, so the loader is shown
    // to take any whole file, not only ours.
    QImage image(7, 5, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(image.save(&buffer, "BMP"));
    const QPixmap picture = PictureFromBytes(bytes);
    QCOMPARE(picture.size(), QSize(7, 5));
    QCOMPARE(picture.toImage().pixelColor(3, 2), QColor(Qt::red));
}

void TestPictures::aStyleIsForcedOnlyByTheUsersOwnChoice_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("styleOverride");
    QTest::addColumn<bool>("forced");
    QTest::newRow("nothing") << QStringList{"TavikGUI"} << QByteArray() << false;
    QTest::newRow("environment") << QStringList{"TavikGUI"} << QByteArray("Windows") << true;
    QTest::newRow("blank environment") << QStringList{"TavikGUI"} << QByteArray("  ") << false;
    QTest::newRow("-style name") << QStringList{"TavikGUI", "-style", "Windows"} << QByteArray() << true;
    QTest::newRow("-style=name") << QStringList{"TavikGUI", "-style=Windows"} << QByteArray() << true;
    QTest::newRow("--style name") << QStringList{"TavikGUI", "--style", "Windows"} << QByteArray() << true;
    QTest::newRow("-style without a name") << QStringList{"TavikGUI", "-style"} << QByteArray() << false;
    QTest::newRow("the program named -style") << QStringList{"-style", "x"} << QByteArray() << false;
    QTest::newRow("another option") << QStringList{"TavikGUI", "-stylesheet", "a.qss"} << QByteArray()
                                    << false;
}

void TestPictures::aStyleIsForcedOnlyByTheUsersOwnChoice()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, styleOverride);
    QFETCH(bool, forced);
    QCOMPARE(styleForcedByUser(arguments, styleOverride), forced);
}

void TestPictures::initVisualStylesLeavesAValidStyle()
{
    qunsetenv("QT_STYLE_OVERRIDE");
    InitVisualStyles();
    QStyle *style = QApplication::style();
    QVERIFY(style);
    QVERIFY(QStyleFactory::keys().contains(style->name(), Qt::CaseInsensitive));
    if (IsThemed())
        QCOMPARE(style->name().toLower(), nativeStyleName().toLower());
}

void TestPictures::aForcedStyleIsLeftAlone()
{
    if (!QStyleFactory::keys().contains(QStringLiteral("Windows")))
        QSKIP("Qt offers no second style to force here");
    QApplication::setStyle(QStringLiteral("Windows"));
    qputenv("QT_STYLE_OVERRIDE", "Windows");
    QVERIFY(!IsThemed());
    InitVisualStyles();
    QCOMPARE(QApplication::style()->name().toLower(), QStringLiteral("windows"));
    qunsetenv("QT_STYLE_OVERRIDE");
}

void TestPictures::aStyleGivenOnTheCommandLineIsLeftAlone()
{
    // QApplication takes -style out of argv before any of our code runs, so
    // only a fresh process started with it can show that the choice survives.
    if (!QStyleFactory::keys().contains(QStringLiteral("Windows")))
        QSKIP("Qt offers no second style to force here");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_STYLE_OVERRIDE"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("TAVIK_STYLE_PROBE"), QStringLiteral("1"));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("-style"), QStringLiteral("Windows"), QStringLiteral("styleProbe")});
    QVERIFY(child.waitForFinished(30000));
    const QByteArray output = child.readAll();
    QVERIFY2(output.contains("style after InitVisualStyles: windows"), output.constData());
}

void TestPictures::styleProbe()
{
    if (!qEnvironmentVariableIsSet("TAVIK_STYLE_PROBE"))
        QSKIP("the child process of aStyleGivenOnTheCommandLineIsLeftAlone");
    InitVisualStyles();
    qInfo("style after InitVisualStyles: %s", qPrintable(QApplication::style()->name().toLower()));
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
