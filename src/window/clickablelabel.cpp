#include "window/clickablelabel.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <utility>

namespace
{

// To a screen reader the picture is a button, which its press action clicks.
class ClickableLabelAccessible : public QAccessibleWidget
{
public:
    explicit ClickableLabelAccessible(QWidget *label) : QAccessibleWidget(label, QAccessible::Button) {}
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override
    {
        if (name == pressAction() && widget()->isEnabled())
            emit static_cast<ClickableLabel *>(widget())->clicked();
    }
};

QAccessibleInterface *accessibleClickableLabel(const QString &className, QObject *object)
{
    if (className == QLatin1String("ClickableLabel") && object && object->isWidgetType())
        return new ClickableLabelAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

ClickableLabel::ClickableLabel(QWidget *parent) : QLabel(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(accessibleClickableLabel);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
}

void ClickableLabel::setPictureLabel(PictureLabel kind, const QString &text)
{
    if (kind == m_pictureLabel && text == m_pictureText)
        return;
    m_pictureLabel = kind;
    m_pictureText = text;
    update();
}

void ClickableLabel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    // A double-click has no handler of its own; only its first click counts.
    m_pressed = false;
    event->accept();
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    // A click is a press and release of the left button over the picture.
    if (event->button() == Qt::LeftButton && std::exchange(m_pressed, false) &&
        rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void ClickableLabel::keyPressEvent(QKeyEvent *event)
{
    // A key held down clicks once, as a button does; modifiers belong to shortcuts.
    const int key = event->key();
    const bool clicks = key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (!clicks || modifiers != Qt::NoModifier) {
        QLabel::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!event->isAutoRepeat())
        emit clicked();
}

void ClickableLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    QPainter painter(this);
    paintPictureLabel(painter, contentsRect().topLeft(), m_pictureLabel, m_pictureText);
    if (!hasFocus())
        return;
    // Around the part the picture covers: a narrower gate leaves spare width on its right.
    QRect frame = rect();
    if (const QPixmap shown = pixmap(); !shown.isNull())
        frame.setSize(frame.size().boundedTo(shown.deviceIndependentSize().toSize()));
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawRect(frame.adjusted(1, 1, -1, -1));
}
