// What the device dialogues see of the window.
#include "window/frmmain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

void frmMain::setStatusText(const QString &text)
{
    txtStatus->setPlainText(text);
}

void frmMain::setActionText(const QString &text)
{
    lblAction->setText(text);
}

void frmMain::setActionVisible(bool visible)
{
    lblAction->setVisible(visible);
}

double frmMain::progressValue() const
{
    return m_progress;
}

double frmMain::progressMaximum() const
{
    return prbProgress->maximum();
}

void frmMain::setProgressValue(double value)
{
    // The dialogues step the bar in fractions; the bar itself counts whole steps.
    m_progress = value;
    prbProgress->setValue(qBound(prbProgress->minimum(), qRound(value), prbProgress->maximum()));
}

void frmMain::enableReadProg(bool enabled)
{
    EnableReadProg(enabled);
}

int frmMain::shownRelay() const
{
    return cboRelNum->currentIndex();
}

int frmMain::shownRelayMode() const
{
    return cboRelMode->currentIndex();
}

void frmMain::showRelayMode(int relayMode)
{
    selectRelayMode(qint16(relayMode));
}

int frmMain::shownInputMode() const
{
    return cboInputMode->currentIndex();
}

void frmMain::showInputMode(int inputMode)
{
    selectInputMode(qint16(inputMode));
}

bool frmMain::shownInput(int input) const
{
    return input >= 0 && input < InputCount && m_shownInputs[input];
}

void frmMain::showInputState(int input, bool inMap)
{
    if (input >= 0 && input < InputCount)
        ShowInputState(qint16(input), inMap);
}

void frmMain::showClosureTime(const RelayConfig &relay)
{
    showTimeOf(relay);
}

void frmMain::showPCControl(bool underPCControl)
{
    chkPCControl->setChecked(underPCControl);
    btnMoment->setEnabled(underPCControl);
    btnLatch->setEnabled(underPCControl);
}
