#include "mainwindowprobe.h"

#include "window/closuretimedialog.h"

#include <QtTest>

namespace
{

// Each press is followed by what it queued on commands (the live inputs run
// their command before the release comes), then by its release.
void sendClicks(QWidget *widget, int clicks, QObject *commands = nullptr)
{
    const QPointF centre = QRectF(widget->rect()).center();
    const auto send = [&](QEvent::Type type, Qt::MouseButtons held) {
        QMouseEvent event(type, centre, widget->mapToGlobal(centre), Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &event);
    };
    for (int i = 0; i < clicks; ++i) {
        send(i % 2 ? QEvent::MouseButtonDblClick : QEvent::MouseButtonPress, Qt::LeftButton);
        if (commands)
            QCoreApplication::sendPostedEvents(commands, QEvent::MetaCall);
        send(QEvent::MouseButtonRelease, Qt::NoButton);
    }
}

// A caption as the user reads it, without the '&' before its mnemonic letter (none shows a literal '&').
QString readable(const QString &caption)
{
    return QString(caption).remove(u'&');
}

// The item at the end of a path of captions, or null; with `reachable`, null too
// unless every menu on the way and the item are enabled.
QAction *menuItem(QMenuBar *bar, const QStringList &path, bool reachable = false)
{
    QList<QAction *> items = bar->actions();
    QAction *found = nullptr;
    for (const QString &caption : path) {
        const auto it = std::find_if(items.cbegin(), items.cend(), [&caption](const QAction *item) {
            return readable(item->text()) == caption;
        });
        if (it == items.cend() || (reachable && !(*it)->isEnabled()))
            return nullptr;
        found = *it;
        items = found->menu() ? found->menu()->actions() : QList<QAction *>{};
    }
    return found;
}

} // namespace

QWidget *MainWindowProbe::control(const char *name, int index) const
{
    for (QWidget *widget : m_window.findChildren<QWidget *>(QLatin1String(name)))
        if (index < 0 || widget->property("index").toInt() == index)
            return widget;
    return nullptr;
}

bool MainWindowProbe::settle(bool done)
{
    // A command the user started runs on the event loop. (QTest::qWaitFor would sleep
    // between its passes, a pause at every echo.)
    if (!m_settles || !commandRuns())
        return done;
    QEventLoop loop;
    DeviceSession *session = &m_window.deviceSession();
    QObject::connect(session, &DeviceSession::stateChanged, &loop, [&loop](DeviceSession::State state) {
        if (state == DeviceSession::State::Idle)
            loop.quit();
    });
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    loop.exec();
    return done && !commandRuns();
}

QAbstractButton *MainWindowProbe::button(const QString &caption) const
{
    for (QAbstractButton *control : m_window.findChildren<QAbstractButton *>())
        if (readable(control->text()) == caption)
            return control;
    return nullptr;
}

bool MainWindowProbe::select(List which, const QString &entry)
{
    QComboBox *control = list(which);
    const int index = control->findText(entry);
    if (!control->isEnabled() || index < 0)
        return false;
    control->setCurrentIndex(index);
    return settle(true);
}

bool MainWindowProbe::click(const QString &caption)
{
    QAbstractButton *control = button(caption);
    if (!control || !control->isEnabled())
        return false;
    if (control != named<QAbstractButton>("btnLatch") && control != named<QAbstractButton>("btnMoment"))
        control->click();
    else
        sendClicks(control, 1, &m_window);
    return settle(true);
}

bool MainWindowProbe::pressMouse(const QString &caption, int clicks)
{
    QAbstractButton *control = button(caption);
    if (control)
        sendClicks(control, clicks, &m_window);
    return settle(control);
}

bool MainWindowProbe::clickEvenIfDisabled(const QString &caption)
{
    QAbstractButton *control = button(caption);
    if (control)
        emit control->clicked(false);
    return settle(control);
}

bool MainWindowProbe::pressKey(const QString &key)
{
    const QKeySequence sequence = QKeySequence::fromString(key);
    const bool known = sequence.count() == 1 && sequence[0].key() != Qt::Key_unknown;
    if (known) {
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : &m_window;
        QTest::keyClick(target, sequence[0].key(), sequence[0].keyboardModifiers());
    }
    return settle(known);
}

bool MainWindowProbe::canChoose(const QStringList &path) const
{
    const QAction *item = menuItem(m_window.menuBar(), path, true);
    return item && !item->menu() && !item->isSeparator();
}

bool MainWindowProbe::choose(const QStringList &path)
{
    if (!canChoose(path))
        return false;
    menuItem(m_window.menuBar(), path)->trigger();
    return settle(true);
}

bool MainWindowProbe::answerClosureTime(const QStringList &texts)
{
    auto *dialog = qobject_cast<ClosureTimeDialog *>(QApplication::activeModalWidget());
    const QList<QLineEdit *> boxes = dialog ? dialog->findChildren<QLineEdit *>() : QList<QLineEdit *>();
    if (!dialog || boxes.size() != texts.size())
        return false;
    for (qsizetype i = 0; i < boxes.size(); ++i) {
        boxes.at(i)->selectAll();
        boxes.at(i)->insert(texts.at(i));
    }
    dialog->accept();
    return true;
}

void MainWindowProbe::clickPicture(Picture which, int input, int clicks)
{
    sendClicks(pictureLabel(which, input), clicks);
}

void MainWindowProbe::typeTime(Unit unit, const QString &text, Ending ending)
{
    QLineEdit *control = box(unit);
    control->setFocus(Qt::MouseFocusReason);
    control->clear();
    control->insert(text); // as typed: no more than the box takes
    if (ending == Ending::FocusOut)
        named<QComboBox>("cboRelNum")->setFocus(Qt::TabFocusReason);
    else
        QTest::keyClick(control, ending == Ending::Enter ? Qt::Key_Return : Qt::Key_Escape);
}

bool MainWindowProbe::isEnabled(const QString &caption) const
{
    if (const QAbstractButton *control = button(caption))
        return control->isEnabled();
    for (const QGroupBox *frame : m_window.findChildren<QGroupBox *>())
        if (readable(frame->title()) == caption)
            return frame->isEnabled();
    const QAction *entry = menuItem(m_window.menuBar(), {caption});
    return entry && entry->isEnabled();
}

QStringList MainWindowProbe::menuItems(const QStringList &path, bool checkedOnly) const
{
    QStringList captions;
    const QAction *submenu = menuItem(m_window.menuBar(), path);
    if (!submenu || !submenu->menu())
        return captions;
    for (const QAction *item : submenu->menu()->actions())
        if (!item->isSeparator() && (!checkedOnly || item->isChecked()))
            captions << readable(item->text());
    return captions;
}

QString MainWindowProbe::toolTip(List which, const QString &entry) const
{
    return list(which)->itemData(list(which)->findText(entry), Qt::ToolTipRole).toString();
}
