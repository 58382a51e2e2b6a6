#include "window/closuretimeentry.h"

#include "config/closuretimetext.h"
#include "config/relayconfig.h"
#include "window/mainwindowui.h"

#include <QAction>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>

ClosureTimeEntry::ClosureTimeEntry(MainWindowUi &ui, std::function<RelayConfig *()> shownRecord)
    : m_ui(ui), m_shownRecord(std::move(shownRecord))
{
}

void ClosureTimeEntry::showTimeOf(const RelayConfig &relay)
{
    // The sliders take the values the record already holds: nothing to store.
    {
        const QSignalBlocker hours(m_ui.sliHrs), minutes(m_ui.sliMins), seconds(m_ui.sliSecs);
        m_ui.sliHrs->setValue(relay.Hours);
        m_ui.sliMins->setValue(relay.Minutes);
        m_ui.sliSecs->setValue(relay.Seconds * 100 + relay.Hundredths);
    }
    // The boxes say what the sliders show: a file's time beyond the sliders'
    // range shows at their end in both.
    m_ui.txtHrs->setText(QString::number(m_ui.sliHrs->value()));
    m_ui.txtMins->setText(QString::number(m_ui.sliMins->value()));
    m_ui.txtSecs->setText(ClosureTimeText::secondsText(m_ui.sliSecs->value()));
}

void ClosureTimeEntry::setEnabled(bool enabled)
{
    for (QWidget *control : std::initializer_list<QWidget *>{
             m_ui.fraTime, m_ui.sliHrs, m_ui.txtHrs, m_ui.lblHrs, m_ui.lblSliHrs, m_ui.sliMins, m_ui.txtMins,
             m_ui.lblMins, m_ui.lblSliMins, m_ui.sliSecs, m_ui.txtSecs, m_ui.lblSecs, m_ui.lblSliSecs})
        control->setEnabled(enabled);
    m_ui.mnuChangeTimes->setEnabled(enabled);
}

void ClosureTimeEntry::setTime(int hours, int minutes, int hundredths)
{
    for (const auto &[slider, value] :
         {std::pair{m_ui.sliHrs, hours}, {m_ui.sliMins, minutes}, {m_ui.sliSecs, hundredths}}) {
        const QSignalBlocker quiet(slider);
        slider->setValue(value);
    }
    onHoursMoved();
    onMinutesMoved();
    onSecondsMoved();
}

void ClosureTimeEntry::onWholeUnitMoved(QSlider *slider, QLineEdit *text, qint16 RelayConfig::*field)
{
    text->setText(QString::number(slider->value()));
    if (RelayConfig *relay = m_shownRecord()) {
        relay->*field = qint16(slider->value());
        TimeToCounter(*relay);
        emit timeStored();
    }
}

void ClosureTimeEntry::onHoursMoved()
{
    onWholeUnitMoved(m_ui.sliHrs, m_ui.txtHrs, &RelayConfig::Hours);
}

void ClosureTimeEntry::onMinutesMoved()
{
    onWholeUnitMoved(m_ui.sliMins, m_ui.txtMins, &RelayConfig::Minutes);
}

void ClosureTimeEntry::onSecondsMoved()
{
    const int value = m_ui.sliSecs->value();
    m_ui.txtSecs->setText(ClosureTimeText::secondsText(value));
    if (RelayConfig *relay = m_shownRecord()) {
        relay->Seconds = qint16(value / 100);
        relay->Hundredths = qint16(value % 100);
        TimeToCounter(*relay);
        emit timeStored();
    }
}

// The cleaned text is rewritten from the slider at once, so the box goes
// straight to its final form.
void ClosureTimeEntry::acceptWholeUnitText(QSlider *slider, QLineEdit *text, qint16 RelayConfig::*field)
{
    {
        const QSignalBlocker quiet(slider);
        slider->setValue(ClosureTimeText::wholeUnitValue(text->text(), slider->maximum()));
    }
    onWholeUnitMoved(slider, text, field);
}

void ClosureTimeEntry::acceptHoursText()
{
    acceptWholeUnitText(m_ui.sliHrs, m_ui.txtHrs, &RelayConfig::Hours);
}

void ClosureTimeEntry::acceptMinutesText()
{
    acceptWholeUnitText(m_ui.sliMins, m_ui.txtMins, &RelayConfig::Minutes);
}

void ClosureTimeEntry::acceptSecondsText()
{
    {
        const QSignalBlocker quiet(m_ui.sliSecs);
        m_ui.sliSecs->setValue(
            ClosureTimeText::hundredthsValue(m_ui.txtSecs->text(), m_ui.sliSecs->maximum()));
    }
    onSecondsMoved();
}

void ClosureTimeEntry::restoreText(QLineEdit *text)
{
    if (text == m_ui.txtSecs)
        text->setText(ClosureTimeText::secondsText(m_ui.sliSecs->value()));
    else
        text->setText(QString::number((text == m_ui.txtHrs ? m_ui.sliHrs : m_ui.sliMins)->value()));
}

bool ClosureTimeEntry::eventFilter(QObject *watched, QEvent *event)
{
    auto *text = qobject_cast<QLineEdit *>(watched);
    if (!text || (text != m_ui.txtHrs && text != m_ui.txtMins && text != m_ui.txtSecs))
        return QObject::eventFilter(watched, event);

    const auto validate = [this, text] {
        if (text == m_ui.txtHrs)
            acceptHoursText();
        else if (text == m_ui.txtMins)
            acceptMinutesText();
        else
            acceptSecondsText();
    };
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            validate();
            return true;
        }
        if (key == Qt::Key_Escape) {
            restoreText(text);
            return true;
        }
    } else if (event->type() == QEvent::FocusOut) {
        validate();
    }
    return QObject::eventFilter(watched, event);
}
