#pragma once

#include <QImage>
#include <QStringList>

class frmMain;
struct MainWindowUi;
class QAbstractButton;
class QComboBox;
class QLineEdit;
class QSlider;

// What a user sees of the main window and does in it, for the tests that
// drive the window: controls are found by their captions and menu items by
// their path from the menu bar, never by the window's own names.
class MainWindowProbe
{
public:
    enum class List { RelayNumber, RelayMode, InputMode, Port };
    enum class Unit { Hours, Minutes, Seconds };
    enum class Ending { Enter, Escape, FocusOut };
    enum class Picture { Input, Gate, Relay };

    explicit MainWindowProbe(frmMain &window);

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
    void clickPicture(Picture picture, int input = 0, int clicks = 1);
    void typeTime(Unit unit, const QString &text, Ending ending = Ending::Enter);
    void moveSlider(Unit unit, int value);
    // Hours, minutes and seconds typed into the open closure-time dialog, then OK or Cancel.
    bool answerClosureTime(const QStringList &texts, bool accept = true);

    // Seeing.
    QStringList entries(List list) const;
    QString selected(List list) const;
    bool isEnabled(const QString &caption) const; // a control, frame or menu bar entry
    bool isChecked(const QString &caption) const;
    QStringList menuItems(const QStringList &path, bool checkedOnly = false) const;
    bool canChoose(const QStringList &path) const;
    QImage picture(Picture picture, int input = 0) const;
    QString timeText(Unit unit) const;
    int sliderValue(Unit unit) const;
    bool hasFocus(Unit unit) const;
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

    frmMain &m_window;
    MainWindowUi &m_ui;
};
