#pragma once

#include <QDialog>

class QSlider;
class QSpinBox;

// Hours, minutes and seconds typed or stepped in boxes that take their
// ranges and steps from the closure-time group's sliders and read text by the
// group's own rules: bad text is cleaned, never refused.
class ClosureTimeDialog : public QDialog
{
    Q_OBJECT
public:
    // The sliders give each box its range, steps and starting value.
    ClosureTimeDialog(const QSlider *hours, const QSlider *minutes, const QSlider *seconds, QWidget *parent);

    int hours() const;
    int minutes() const;
    int hundredths() const; // the seconds as the seconds slider counts them

private:
    QSpinBox *m_hours, *m_minutes, *m_seconds;
};
