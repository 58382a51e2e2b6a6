#include "record/relaypicture.h"

#include "record/pictures.h"

#include <QPainter>

QImage relayPicture(int relayIndex, qint16 inputMode, const std::array<bool, InputCount> &map)
{
    QImage canvas = backgroundImage().convertToFormat(QImage::Format_RGB32);
    if (canvas.isNull())
        return canvas;
    QPainter painter(&canvas);
    for (int input = 0; input < InputCount; ++input) {
        const QString type = map[size_t(input)] ? QStringLiteral("INON") : QStringLiteral("INOFF");
        painter.drawImage(backgroundInputPosition(input), imageFromBytes(LoadResData(101 + input, type)));
    }
    painter.drawImage(backgroundGatePosition(),
                      imageFromBytes(LoadResData(101 + inputMode, QStringLiteral("INMODE"))));
    painter.drawImage(backgroundRelayPosition(),
                      imageFromBytes(LoadResData(101 + relayIndex, QStringLiteral("RELAY"))));
    return canvas;
}
