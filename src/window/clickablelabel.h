#pragma once

#include <QLabel>

// An image control that answers a click, as the input buttons, the gate and
// the relay picture do.
class ClickableLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // Whether the button now coming up went down as a press of its own: the
    // second press of a double-click is no click.
    bool m_pressed = false;
};
