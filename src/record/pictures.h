#pragma once

#include <QByteArray>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QString>

class QPainter;

// The program's artwork lives in its own resources (see resources/), never on
// disk. Pictures are looked up by resource type and id as the window names
// them: LoadResData(101, "INMODE") is the OR gate.

// The raw bytes of resource `id` of `type` ("INMODE", "INON", "INOFF",
// "RELAY", "BITMAP", "ICON"); empty when there is no such resource.
QByteArray LoadResData(int id, const QString &type);

// A picture from the complete contents of a GIF, bitmap or PNG file held in
// memory. Empty, unrecognisable or cut-short contents give a null pixmap, so
// that the control simply shows nothing.
QPixmap PictureFromBytes(const QByteArray &bytes);
// The same as an image, for drawing where no screen is (the printed record).
QImage imageFromBytes(const QByteArray &bytes);

// The picture of resource `id` of `type` as the screen shows it sharpest:
// drawn at twice the pixels where the screen is scaled (see draw-artwork.sh).
// Null when missing or broken.
QPixmap ResPicture(int id, const QString &type);

// The bitmap resource `id` (101 is the logo); null when missing.
QPixmap LoadResPicture(int id);

// The background behind the input buttons, the gate and the relay, 512 x 512.
QPixmap backgroundPicture();
QImage backgroundImage();

// Where the background's wires meet the pictures laid over it, in the
// background's own pixels (so place it unscaled): the top left of input button
// `index` (0-11), of the gate picture (left-aligned, whatever its width) and of
// the relay picture. resources/draw-artwork.sh draws the wires to these points.
QPoint backgroundInputPosition(int index);
QPoint backgroundGatePosition();
QPoint backgroundRelayPosition();

// The program's icon, 64 x 64 (resource 30001).
QPixmap programIconPicture();

// The words on an input button or a relay picture. The artwork leaves them
// out so that they follow the language; whoever shows the picture paints them
// over it with paintPictureLabel(), the window as the printed record.
enum class PictureLabel { None, InputOff, InputOn, Relay };

// "Input 3" for input `index` 2, "Relay 5" for relay `index` 4, translated.
QString inputPictureText(int index);
QString relayPictureText(int index);

// Paints `text` as the artwork would have drawn it on a picture of `kind` whose
// top left is at `origin`, in the picture's own (1x) pixels: on a button bold
// beside the lamp, on a relay bold, centred, underneath. The painter's device
// pixel ratio keeps it sharp on scaled screens.
void paintPictureLabel(QPainter &painter, QPoint origin, PictureLabel kind, const QString &text);
