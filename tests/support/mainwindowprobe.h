#pragma once

#include "window/mainwindow.h"

#include <QImage>
#include <QStringList>

class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QSlider;

// What a user sees of the main window and does in it, for the tests that
// drive the window: controls are found by their captions, object names or
// menu paths, never through the window's insides. What the user does waits
// for the device command it started to end, unless setSettles(false).
class MainWindowProbe
{
public:
    enum class List { RelayNumber, RelayMode, InputMode, Port };
    enum class Unit { Hours, Minutes, Seconds };
    enum class Ending { Enter, Escape, FocusOut };
    enum class Picture { Input, Gate, Relay };

    explicit MainWindowProbe(MainWindow &window);

    // Doing. Each returns false when the control cannot be reached or used.
    bool select(List list, const QString &entry); // by the entry's text
    bool click(const QString &caption);           // a button, check box or option button
    // What the button's click runs, even while the button is disabled: for tests of
    // commands that meet inside one another.
    bool clickEvenIfDisabled(const QString &caption);
    // A press and release of the left button on a control, enabled or not, as
    // the windowing system delivers them; two make a double-click (its second
    // press comes as a double-click).
    bool pressMouse(const QString &caption, int clicks = 1);
    bool choose(const QStringList &path); // {"Edit", "Read", "All"}
    // A key by its name ("Escape", "Alt+N") to the control with the focus,
    // or the window; shortcuts included.
    bool pressKey(const QString &key);
    void clickPicture(Picture picture, int input = 0, int clicks = 1);
    void typeTime(Unit unit, const QString &text, Ending ending = Ending::Enter);
    void moveSlider(Unit unit, int value);
    // Hours, minutes and seconds typed into the open closure-time dialog, then OK or Cancel.
    bool answerClosureTime(const QStringList &texts, bool accept = true);

    // Whether a click waits for the device command it started.
    void setSettles(bool settles) { m_settles = settles; }
    bool commandRuns() const;

    // Seeing.
    QString selected(List list) const;
    QString toolTip(List list, const QString &entry) const; // an entry's own; empty when not listed
    bool isEnabled(const QString &caption) const; // a control, frame or menu bar entry
    bool isChecked(const QString &caption) const;
    QStringList menuItems(const QStringList &path, bool checkedOnly = false) const;
    bool canChoose(const QStringList &path) const;
    QImage picture(Picture picture, int input = 0) const;
    QString timeText(Unit unit) const;
    int sliderValue(Unit unit) const;
    QString statusText() const;
    QString actionText() const;
    bool actionVisible() const;
    int progress() const;
    bool portOpen() const;

private:
    QComboBox *list(List list) const;
    QLineEdit *box(Unit unit) const;
    QSlider *slider(Unit unit) const;
    QAbstractButton *button(const QString &caption) const;
    QLabel *pictureLabel(Picture picture, int input) const;
    template <typename T>
    T *named(const char *name) const
    {
        return m_window.findChild<T *>(QLatin1String(name));
    }
    // Waits for the command the user started, then gives done.
    bool settle(bool done);

    MainWindow &m_window;
    bool m_settles = true;
};
