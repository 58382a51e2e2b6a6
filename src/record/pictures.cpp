#include "record/pictures.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>

namespace
{

constexpr int iconId = 30001;

QByteArray resourceFileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// Qt's decoders hand back whatever rows arrived before a file ends early; a
// picture cut short is a broken resource, so it must give nothing instead.
bool endsWhereItsFormatSays(const QByteArray &bytes, const QByteArray &format)
{
    if (format == "gif")
        return bytes.endsWith(char(0x3B)); // the trailer byte closes every GIF
    if (format == "bmp") {
        if (bytes.size() < 14)
            return false;
        const auto byteAt = [&bytes](int i) { return quint32(quint8(bytes.at(i))); };
        const quint32 declared = byteAt(2) | byteAt(3) << 8 | byteAt(4) << 16 | byteAt(5) << 24;
        return quint32(bytes.size()) >= declared;
    }
    if (format == "png")
        return bytes.endsWith(QByteArray::fromHex("49454e44ae426082")); // the IEND chunk
    return true;
}

QString resourcePath(int id, const QString &type)
{
    // Each type has one file format, fixed by the artwork script.
    static const QStringList extensions{QStringLiteral("gif"), QStringLiteral("bmp"), QStringLiteral("png")};
    for (const QString &extension : extensions) {
        const QString path = QStringLiteral(":/res/%1/%2.%3").arg(type).arg(id).arg(extension);
        if (QFile::exists(path))
            return path;
    }
    return {};
}

// On a screen scaled beyond 100% the drawing at twice the pixels, told so,
// keeps its lines sharp where the 1x one would be blown up; the 1x one
// where there is no such drawing.
QPixmap sharpPicture(const QString &path)
{
    if (path.isEmpty())
        return {};
    if (qGuiApp && qGuiApp->devicePixelRatio() > 1.0) {
        const qsizetype dot = path.lastIndexOf(u'.');
        QPixmap doubled =
            PictureFromBytes(resourceFileBytes(path.left(dot) + QStringLiteral("@2x") + path.mid(dot)));
        if (!doubled.isNull()) {
            doubled.setDevicePixelRatio(2.0);
            return doubled;
        }
    }
    return PictureFromBytes(resourceFileBytes(path));
}

} // namespace

QByteArray LoadResData(int id, const QString &type)
{
    const QString path = resourcePath(id, type);
    return path.isEmpty() ? QByteArray() : resourceFileBytes(path);
}

QPixmap ResPicture(int id, const QString &type)
{
    return sharpPicture(resourcePath(id, type));
}

QImage imageFromBytes(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return {};
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    if (format.isEmpty() || !endsWhereItsFormatSays(bytes, format))
        return {};
    return reader.read();
}

QPixmap PictureFromBytes(const QByteArray &bytes)
{
    const QImage image = imageFromBytes(bytes);
    if (image.isNull())
        return {};
    return QPixmap::fromImage(image);
}

QPixmap LoadResPicture(int id)
{
    return ResPicture(id, QStringLiteral("BITMAP"));
}

QPixmap backgroundPicture()
{
    return sharpPicture(QStringLiteral(":/res/IMAGE1.gif"));
}

QImage backgroundImage()
{
    return imageFromBytes(resourceFileBytes(QStringLiteral(":/res/IMAGE1.gif")));
}

QPoint backgroundInputPosition(int index)
{
    return {12, 14 + 40 * index};
}

QPoint backgroundGatePosition()
{
    return {172, 186};
}

QPoint backgroundRelayPosition()
{
    return {372, 210};
}

QPixmap programIconPicture()
{
    return PictureFromBytes(LoadResData(iconId, QStringLiteral("ICON")));
}

QString inputPictureText(int index)
{
    return QCoreApplication::translate("PictureLabel", "Input %1").arg(index + 1);
}

QString relayPictureText(int index)
{
    return QCoreApplication::translate("PictureLabel", "Relay %1").arg(index + 1);
}

void paintPictureLabel(QPainter &painter, QPoint origin, PictureLabel kind, const QString &text)
{
    if (kind == PictureLabel::None || text.isEmpty())
        return;
    // The artwork's own inks and sizes (resources/draw-artwork.sh): dark brown
    // on the lit amber button, pale grey on the dark one, navy on the relay.
    QColor ink(0x1d, 0x35, 0x57);
    int pixelSize = 15;
    // A button is 128 x 32 with its lamp on the left; a relay is 128 x 80.
    QRect area(origin, QSize(128, 80 - 8));
    Qt::Alignment alignment = Qt::AlignHCenter | Qt::AlignBottom;
    if (kind != PictureLabel::Relay) {
        ink = kind == PictureLabel::InputOn ? QColor(0x3b, 0x25, 0x00) : QColor(0xc9, 0xd1, 0xdb);
        pixelSize = 14;
        area = QRect(origin + QPoint(34, 0), QSize(128 - 34, 32));
        alignment = Qt::AlignLeft | Qt::AlignVCenter;
    }
    painter.save();
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(pixelSize);
    painter.setFont(font);
    painter.setPen(ink);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.drawText(area, int(alignment) | Qt::TextSingleLine, text);
    painter.restore();
}
