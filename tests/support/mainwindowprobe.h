#pragma once

#include "window/mainwindow.h"

#include <QtWidgets>

#include <array>

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

    explicit MainWindowProbe(MainWindow &window) : m_window(window) {}

    // Doing. Each returns false when the control cannot be reached or used.
    bool select(List list, const QString &entry); // by the entry's text
    bool click(const QString &caption);           // a button, check box or option button
    // What the button's click runs, even while it is disabled: commands that meet inside one another.
    bool clickEvenIfDisabled(const QString &caption);
    // A press and release on a control, enabled or not, as the windowing system
    // delivers them; two make a double-click.
    bool pressMouse(const QString &caption, int clicks = 1);
    bool choose(const QStringList &path); // {"Edit", "Read", "All"}
    bool pressKey(const QString &key);    // "Escape", "Alt+N": to the focus, or the window
    void clickPicture(Picture picture, int input = 0, int clicks = 1);
    void typeTime(Unit unit, const QString &text, Ending ending = Ending::Enter);
    void moveSlider(Unit unit, int value) { slider(unit)->setValue(value); }
    // Hours, minutes and seconds typed into the open closure-time dialog, then OK.
    bool answerClosureTime(const QStringList &texts);
    void setSettles(bool settles) { m_settles = settles; }
    bool commandRuns() const { return !m_window.deviceSession().isIdle(); }

    // Seeing.
    QString selected(List which) const { return list(which)->currentText(); }
    QString toolTip(List list, const QString &entry) const; // an entry's own; empty when not listed
    bool isEnabled(const QString &caption) const;           // a control, frame or menu bar entry
    bool isChecked(const QString &caption) const { return button(caption) && button(caption)->isChecked(); }
    QStringList menuItems(const QStringList &path, bool checkedOnly = false) const;
    bool canChoose(const QStringList &path) const;
    QImage picture(Picture p, int input = 0) const { return pictureLabel(p, input)->pixmap().toImage(); }
    QString timeText(Unit unit) const { return box(unit)->text(); }
    int sliderValue(Unit unit) const { return slider(unit)->value(); }
    QString statusText() const { return named<QPlainTextEdit>("txtStatus")->toPlainText(); }
    QString actionText() const { return named<QLabel>("lblAction")->text(); }
    bool actionVisible() const { return named<QLabel>("lblAction")->isVisibleTo(&m_window); }
    int progress() const { return named<QProgressBar>("prbProgress")->value(); }
    // A control by its object name; an input picture by its index too.
    QWidget *control(const char *name, int index = -1) const;
    bool portOpen() const { return m_window.deviceSession().link().port().isOpen(); }

private:
    QComboBox *list(List which) const
    {
        return named<QComboBox>(std::array{"cboRelNum", "cboRelMode", "cboInputMode", "cmbPort"}[int(which)]);
    }
    QLineEdit *box(Unit u) const { return named<QLineEdit>(std::array{"txtHrs", "txtMins", "txtSecs"}[int(u)]); }
    QSlider *slider(Unit u) const { return named<QSlider>(std::array{"sliHrs", "sliMins", "sliSecs"}[int(u)]); }
    QAbstractButton *button(const QString &caption) const;
    QLabel *pictureLabel(Picture which, int input) const
    {
        return static_cast<QLabel *>(which == Picture::Input ? control("imgInputBtn", input)
                                     : control(which == Picture::Gate ? "imgLogicGate" : "imgRelay"));
    }
    template <typename T> T *named(const char *name) const
    {
        return m_window.findChild<T *>(QLatin1String(name));
    }
    // Waits for the command the user started, then gives done.
    bool settle(bool done);

    MainWindow &m_window;
    bool m_settles = true;
};
