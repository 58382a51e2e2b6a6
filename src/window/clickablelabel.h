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
    void mouseReleaseEvent(QMouseEvent *event) override;
};
