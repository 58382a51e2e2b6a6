#pragma once

#include <QGroupBox>

struct RelayConfig;
class QLabel;
class QLineEdit;
class QSlider;

// The seconds as a person types and reads them: with the decimal separator
// of the locale in force ("0,50" in German), while the file and the
// clipboard keep their own ".". A "." typed is read as a separator too.
namespace LocalTimeText
{
QString secondsText(int hundredths);
int hundredthsValue(const QString &text, int maximum);
int wholeUnitValue(const QString &text, int maximum);
} // namespace LocalTimeText

// The closure-time group: a slider and a text box per unit, kept in step
// with each other. Each slider movement and each text accepted is told at
// once, for the record of the relay shown. Disabling the group disables
// everything in it.
class ClosureTimeEntry : public QGroupBox
{
    Q_OBJECT
public:
    enum class Unit { Hours, Minutes, Seconds };

    explicit ClosureTimeEntry(QWidget *parent = nullptr);

    // Its controls in the order the Tab key takes them: each slider, then its box.
    QList<QWidget *> tabOrder() const;

    // The sliders and texts from a record: nothing is told.
    void showTimeOf(const RelayConfig &relay);
    // Sets a time as the sliders would, hundredths of a second as on the seconds slider.
    void setTime(int hours, int minutes, int hundredths);
    // The same time typed or stepped in a dialog that takes the sliders'
    // ranges and starts from what they show; OK sets it.
    void askForTime();

signals:
    // A slider moved or a text was accepted: the unit's value as its slider
    // counts it, hundredths of a second for the seconds.
    void timeEdited(ClosureTimeEntry::Unit unit, int value);

protected:
    // Enter validates and keeps the focus, Escape puts back the slider's
    // text, leaving the box validates.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Each runs on a movement whether the user or the program makes it.
    void onHoursMoved();
    void onMinutesMoved();
    void onSecondsMoved();
    void acceptHoursText();
    void acceptMinutesText();
    void acceptSecondsText();
    static void readWholeUnitText(QSlider *slider, const QLineEdit *text);
    void restoreText(QLineEdit *text);

    QSlider *m_hours = nullptr, *m_minutes = nullptr, *m_seconds = nullptr;
    QLineEdit *m_hoursText = nullptr, *m_minutesText = nullptr, *m_secondsText = nullptr;
};
