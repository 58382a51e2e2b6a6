#pragma once

#include "record/pictures.h"

#include <QLabel>

// An image control that answers a click, as the input buttons, the gate and
// the relay picture do. It takes the keyboard focus as a button does, shows
// it with a frame in the palette's highlight, and Space or Enter click it.
class ClickableLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ClickableLabel(QWidget *parent = nullptr);

    // The words painted over the picture (see paintPictureLabel()), so that
    // they follow the language and stay sharp on scaled screens.
    void setPictureLabel(PictureLabel kind, const QString &text);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // Whether the button now coming up went down as a press of its own: the
    // second press of a double-click is no click.
    bool m_pressed = false;
    PictureLabel m_pictureLabel = PictureLabel::None;
    QString m_pictureText;
};
