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
        const bool on = map[size_t(input)];
        const QString type = on ? QStringLiteral("INON") : QStringLiteral("INOFF");
        painter.drawImage(backgroundInputPosition(input), imageFromBytes(LoadResData(101 + input, type)));
        paintPictureLabel(painter, backgroundInputPosition(input), on ? PictureLabel::InputOn : PictureLabel::InputOff,
                          inputPictureText(input));
    }
    painter.drawImage(backgroundGatePosition(),
                      imageFromBytes(LoadResData(101 + inputMode, QStringLiteral("INMODE"))));
    painter.drawImage(backgroundRelayPosition(),
                      imageFromBytes(LoadResData(101 + relayIndex, QStringLiteral("RELAY"))));
    paintPictureLabel(painter, backgroundRelayPosition(), PictureLabel::Relay, relayPictureText(relayIndex));
    return canvas;
}
