// tavik-iconmaker SVG OUTPUT: draws the program's icon from its SVG into a
// Windows .ico or a macOS .icns (by OUTPUT's suffix), at the sizes each
// system picks from. Runs at build time, on the machine that builds.
//
// Both formats are written here, as PNG images in a small index, so that
// no image plugin is needed beyond PNG.
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>

#include <cstdio>

namespace
{

QByteArray png(QSvgRenderer &svg, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    painter.end();
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return data;
}

template <typename T>
void append(QByteArray &out, T value, bool bigEndian)
{
    char bytes[sizeof(T)];
    if (bigEndian)
        qToBigEndian(value, bytes);
    else
        qToLittleEndian(value, bytes);
    out.append(bytes, sizeof bytes);
}

// An icon directory whose entries are PNG images (read by Windows since Vista).
QByteArray ico(QSvgRenderer &svg)
{
    const int sizes[] = {16, 24, 32, 48, 64, 256};
    const int count = int(std::size(sizes));
    QByteArray index, images;
    append<quint16>(index, 0, false); // reserved
    append<quint16>(index, 1, false); // an icon, not a cursor
    append<quint16>(index, quint16(count), false);
    for (const int size : sizes) {
        const QByteArray image = png(svg, size);
        index.append(char(size == 256 ? 0 : size)); // 0 stands for 256
        index.append(char(size == 256 ? 0 : size));
        index.append(char(0)); // no palette
        index.append(char(0));
        append<quint16>(index, 1, false);  // planes
        append<quint16>(index, 32, false); // bits per pixel
        append<quint32>(index, quint32(image.size()), false);
        append<quint32>(index, quint32(6 + 16 * count + images.size()), false);
        images += image;
    }
    return index + images;
}

// 'icns', the whole length, then one typed chunk per size, big-endian.
QByteArray icns(QSvgRenderer &svg)
{
    const struct {
        const char *type;
        int size;
    } chunks[] = {{"ic07", 128}, {"ic08", 256}, {"ic09", 512}, {"ic10", 1024}};
    QByteArray body;
    for (const auto &chunk : chunks) {
        const QByteArray image = png(svg, chunk.size);
        body.append(chunk.type, 4);
        append<quint32>(body, quint32(8 + image.size()), true);
        body += image;
    }
    QByteArray out("icns");
    append<quint32>(out, quint32(8 + body.size()), true);
    return out + body;
}

} // namespace

int main(int argc, char *argv[])
{
    // Drawing needs no screen: the build machine may have none.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: tavik-iconmaker SVG OUTPUT.ico|OUTPUT.icns\n");
        return 2;
    }
    QSvgRenderer svg{QString::fromLocal8Bit(argv[1])};
    const QString output = QString::fromLocal8Bit(argv[2]);
    const QString suffix = QFileInfo(output).suffix();
    if (!svg.isValid() || (suffix != QLatin1String("ico") && suffix != QLatin1String("icns"))) {
        std::fprintf(stderr, "tavik-iconmaker: cannot draw %s as %s\n", argv[1], argv[2]);
        return 1;
    }
    QFile file(output);
    const QByteArray data = suffix == QLatin1String("ico") ? ico(svg) : icns(svg);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) {
        std::fprintf(stderr, "tavik-iconmaker: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
