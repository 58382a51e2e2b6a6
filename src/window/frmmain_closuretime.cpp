// Closure-time entry: a slider and a text box per unit, in step with each
// other and with the record of the relay shown.
#include "window/frmmain.h"

#include "config/closuretimetext.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>

void frmMain::showTimeOf(const RelayConfig &relay)
{
    // The sliders take the values the record already holds: nothing to store.
    {
        const QSignalBlocker hours(sliHrs), minutes(sliMins), seconds(sliSecs);
        sliHrs->setValue(relay.Hours);
        sliMins->setValue(relay.Minutes);
        sliSecs->setValue(relay.Seconds * 100 + relay.Hundredths);
    }
    txtHrs->setText(QString::number(relay.Hours));
    txtMins->setText(QString::number(relay.Minutes));
    txtSecs->setText(ClosureTimeText::secondsText(relay.Seconds * 100 + relay.Hundredths));
}

void frmMain::wholeUnitScroll(QSlider *slider, QLineEdit *text, qint16 RelayConfig::*field)
{
    text->setText(QString::number(slider->value()));
    const int index = cboRelNum->currentIndex();
    if (!isRelayIndex(index))
        return;
    RelayConfig &relay = m_relayTable[index];
    relay.*field = qint16(slider->value());
    TimeToCounter(relay);
}

void frmMain::sliHrs_Scroll()
{
    wholeUnitScroll(sliHrs, txtHrs, &RelayConfig::Hours);
}

void frmMain::sliMins_Scroll()
{
    wholeUnitScroll(sliMins, txtMins, &RelayConfig::Minutes);
}

void frmMain::sliSecs_Scroll()
{
    const int value = sliSecs->value();
    txtSecs->setText(ClosureTimeText::secondsText(value));
    const int index = cboRelNum->currentIndex();
    if (!isRelayIndex(index))
        return;
    RelayConfig &relay = m_relayTable[index];
    relay.Seconds = qint16(value / 100);
    relay.Hundredths = qint16(value % 100);
    TimeToCounter(relay);
}

// The cleaned text is rewritten from the slider at once, so the box goes
// straight to its final form.
void frmMain::wholeUnitValidate(QSlider *slider, QLineEdit *text, qint16 RelayConfig::*field)
{
    {
        const QSignalBlocker quiet(slider);
        slider->setValue(ClosureTimeText::wholeUnitValue(text->text(), slider->maximum()));
    }
    wholeUnitScroll(slider, text, field);
}

void frmMain::txtHrs_Validate()
{
    wholeUnitValidate(sliHrs, txtHrs, &RelayConfig::Hours);
}

void frmMain::txtMins_Validate()
{
    wholeUnitValidate(sliMins, txtMins, &RelayConfig::Minutes);
}

void frmMain::txtSecs_Validate()
{
    {
        const QSignalBlocker quiet(sliSecs);
        sliSecs->setValue(ClosureTimeText::hundredthsValue(txtSecs->text(), sliSecs->maximum()));
    }
    sliSecs_Scroll();
}

void frmMain::restoreText(QLineEdit *text)
{
    if (text == txtSecs)
        txtSecs->setText(ClosureTimeText::secondsText(sliSecs->value()));
    else
        text->setText(QString::number((text == txtHrs ? sliHrs : sliMins)->value()));
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (liveInputPressed(watched, event))
        return QMainWindow::eventFilter(watched, event);
    auto *text = qobject_cast<QLineEdit *>(watched);
    if (text != txtHrs && text != txtMins && text != txtSecs)
        return QMainWindow::eventFilter(watched, event);

    const auto validate = [this, text] {
        if (text == txtHrs)
            txtHrs_Validate();
        else if (text == txtMins)
            txtMins_Validate();
        else
            txtSecs_Validate();
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
    return QMainWindow::eventFilter(watched, event);
}
