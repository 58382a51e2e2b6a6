#pragma once

#include <QObject>

#include <functional>

struct MainWindowUi;
struct RelayConfig;
class QLineEdit;
class QSlider;

// The closure-time group: a slider and a text box per unit, kept in step
// with each other and with the record of the relay shown. Each slider
// movement and each text accepted writes straight into that record.
class ClosureTimeEntry : public QObject
{
    Q_OBJECT
public:
    // shownRecord gives the record of the relay shown, or null when none is.
    ClosureTimeEntry(MainWindowUi &ui, std::function<RelayConfig *()> shownRecord);

    // The sliders and texts from a record: nothing is stored.
    void showTimeOf(const RelayConfig &relay);
    // The frame and the twelve controls in it, in their designed order, and
    // the Edit menu's own way to the time.
    void setEnabled(bool enabled);
    // Stores a time as the sliders would, hundredths of a second as on the seconds slider.
    void setTime(int hours, int minutes, int hundredths);

    // Slider movement, whether the user or the program makes it.
    void onHoursMoved();
    void onMinutesMoved();
    void onSecondsMoved();
    // Focus leaving a box, or Enter in it.
    void acceptHoursText();
    void acceptMinutesText();
    void acceptSecondsText();

signals:
    // A slider or a text wrote into the shown relay's record.
    void timeStored();

protected:
    // Enter validates and keeps the focus, Escape puts back the slider's
    // text, leaving the box validates.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onWholeUnitMoved(QSlider *slider, QLineEdit *text, qint16 RelayConfig::*field);
    void acceptWholeUnitText(QSlider *slider, QLineEdit *text, qint16 RelayConfig::*field);
    void restoreText(QLineEdit *text);

    MainWindowUi &m_ui;
    std::function<RelayConfig *()> m_shownRecord;
};
