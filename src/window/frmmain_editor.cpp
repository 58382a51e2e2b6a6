// The relay editor: one record of the relay table on the screen, and the
// user's edits of it written straight back into the record.
#include "window/frmmain.h"

#include "base/failure.h"
#include "app/pictures.h"
#include "window/clickablelabel.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

void frmMain::connectHandlers()
{
    // currentIndexChanged and toggled fire for a change made by the program as
    // for one made by the user, and not at all when nothing changes: the
    // selection convention the editor relies on.
    connect(cboRelNum, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            cboRelNum_Click();
    });
    connect(cboRelMode, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            cboRelMode_Click();
    });
    connect(cboInputMode, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            cboInputMode_Click();
    });
    connect(rbLatch, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            rbLatch_Click();
    });
    connect(rbUnlatch, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            rbLatch_Click();
    });
    connect(imgRelay, &ClickableLabel::clicked, this, &frmMain::imgRelay_Click);
    connect(imgLogicGate, &ClickableLabel::clicked, this, &frmMain::imgLogicGate_Click);
    for (int i = 0; i < imgInputBtn.size(); ++i)
        connect(imgInputBtn.at(i), &ClickableLabel::clicked, this, [this, i] { imgInputBtn_Click(qint16(i)); });

    connect(sliHrs, &QSlider::valueChanged, this, &frmMain::sliHrs_Scroll);
    connect(sliMins, &QSlider::valueChanged, this, &frmMain::sliMins_Scroll);
    connect(sliSecs, &QSlider::valueChanged, this, &frmMain::sliSecs_Scroll);

    // The item arrays grow at start-up; their menus tell which item was chosen.
    const auto onArray = [this](QMenu *menu, QList<QAction *> &array, void (frmMain::*handler)(qint16)) {
        connect(menu, &QMenu::triggered, this, [this, &array, handler](QAction *action) {
            const qsizetype index = array.indexOf(action);
            if (index >= 0)
                (this->*handler)(qint16(index));
        });
    };
    onArray(mnuEditChangeNums, mnuEditChangeNum, &frmMain::mnuEditChangeNum_Click);
    onArray(mnuEditChangeModes, mnuEditChangeMode, &frmMain::mnuEditChangeMode_Click);
    onArray(mnuChangeInModes, mnuChangeInMode, &frmMain::mnuChangeInMode_Click);
    onArray(mnuClearRelays, mnuClearRelay, &frmMain::mnuClearRelay_Click);
    connect(mnuClearAll, &QAction::triggered, this, &frmMain::mnuClearAll_Click);
}

bool frmMain::isRelayIndex(int index) const
{
    return index >= 0 && index < RelayCount;
}

bool frmMain::showsUnlatchSet(const RelayConfig &relay)
{
    return relay.RelayMode == LatchingMode && relay.ShowUnlatch;
}

void frmMain::checkOnly(const QList<QAction *> &array, qint16 index)
{
    for (qsizetype i = 0; i < array.size(); ++i)
        array.at(i)->setChecked(i == index);
}

void frmMain::selectRelayMode(qint16 mode)
{
    if (cboRelMode->currentIndex() != mode)
        cboRelMode->setCurrentIndex(mode); // runs cboRelMode_Click
    else
        ChangeRelayMode(mode);
}

void frmMain::selectInputMode(qint16 gate)
{
    if (cboInputMode->currentIndex() != gate)
        cboInputMode->setCurrentIndex(gate); // runs cboInputMode_Click
    else
        ChangeInputMode(gate);
}

void frmMain::ChangeRelayNum(qint16 Index)
{
    if (!isRelayIndex(Index)) {
        // Every step reads the record; none can go on without it.
        logFailure(Failure::SubscriptOutOfRange, QStringLiteral("ChangeRelayNum"), 1,
                   QStringLiteral("relay index %1").arg(Index));
        return;
    }
    RelayConfig &relay = m_relayTable[Index];

    imgRelay->setPixmap(PictureFromBytes(LoadResData(101 + Index, QStringLiteral("RELAY"))));
    checkOnly(mnuEditChangeNum, Index);
    if (cboRelMode->currentIndex() != relay.RelayMode)
        cboRelMode->setCurrentIndex(relay.RelayMode); // runs ChangeRelayMode

    for (qint16 i = 0; i < InputCount; ++i) {
        const bool latching = relay.RelayMode == LatchingMode;
        const bool state = latching && relay.ShowUnlatch ? relay.UnlatchMap[i] : relay.InputMap[i];
        if (state != m_shownInputs[i])
            ShowInputState(i, state);
        m_shownInputs[i] = state;
        // Selecting the button already selected runs nothing; this ends the nesting.
        if (latching)
            (relay.ShowUnlatch ? rbUnlatch : rbLatch)->setChecked(true);
    }

    const qint16 gate = showsUnlatchSet(relay) ? relay.UnlatchInputMode : relay.InputMode;
    if (cboInputMode->currentIndex() != gate)
        cboInputMode->setCurrentIndex(gate); // runs ChangeInputMode

    showTimeOf(relay);
    showPCControl(relay.PCControl);
}

void frmMain::ChangeRelayMode(qint16 Mode)
{
    checkOnly(mnuEditChangeMode, Mode);
    const int index = cboRelNum->currentIndex();
    if (!isRelayIndex(index)) {
        logFailure(Failure::SubscriptOutOfRange, QStringLiteral("ChangeRelayMode"), 2,
                   QStringLiteral("relay index %1").arg(index));
        return;
    }
    RelayConfig &relay = m_relayTable[index];
    const bool showedUnlatch = relay.ShowUnlatch;
    relay.RelayMode = Mode;

    if (Mode >= FirstTimedMode && Mode != LatchingMode) {
        setClosureTimeEnabled(true);
        rbLatch->setEnabled(false);
        rbUnlatch->setEnabled(false);
        relay.ShowUnlatch = false;
    } else {
        setClosureTimeEnabled(false);
        if (Mode != LatchingMode) {
            rbLatch->setEnabled(false);
            rbUnlatch->setEnabled(false);
            relay.ShowUnlatch = false;
        } else {
            rbLatch->setEnabled(true);
            rbUnlatch->setEnabled(true);
            rbLatch->setChecked(true); // runs rbLatch_Click when it was not selected
        }
    }

    // The latch set is now the one being edited: show it.
    if (showedUnlatch && !relay.ShowUnlatch)
        ChangeRelayNum(qint16(index));
}

void frmMain::setClosureTimeEnabled(bool enabled)
{
    for (QWidget *control : std::initializer_list<QWidget *>{fraTime, sliHrs, txtHrs, lblHrs, lblSliHrs, sliMins,
                                                             txtMins, lblMins, lblSliMins, sliSecs, txtSecs,
                                                             lblSecs, lblSliSecs})
        control->setEnabled(enabled);
}

void frmMain::ChangeInputMode(qint16 Gate)
{
    const int index = cboRelNum->currentIndex();
    if (isRelayIndex(index)) {
        RelayConfig &relay = m_relayTable[index];
        (showsUnlatchSet(relay) ? relay.UnlatchInputMode : relay.InputMode) = Gate;
    }
    imgLogicGate->setPixmap(PictureFromBytes(LoadResData(101 + Gate, QStringLiteral("INMODE"))));
    checkOnly(mnuChangeInMode, Gate);
}

void frmMain::ShowInputState(qint16 Index, bool State)
{
    m_shownInputs[Index] = State;
    imgInputBtn.at(Index)->setPixmap(
        PictureFromBytes(LoadResData(101 + Index, State ? QStringLiteral("INON") : QStringLiteral("INOFF"))));
}

void frmMain::ClearRelay(qint16 Index)
{
    if (!isRelayIndex(Index)) {
        logFailure(Failure::SubscriptOutOfRange, QStringLiteral("ClearRelay"), 1,
                   QStringLiteral("relay index %1").arg(Index));
        return;
    }
    ::ClearRelay(m_relayTable[Index]);
    if (cboRelNum->currentIndex() == Index)
        ChangeRelayNum(Index);
}

void frmMain::EnableReadProg(bool Enable)
{
    // The menu bar entry: its submenus, Read, Program and Clear included,
    // cannot be reached while it is disabled.
    mnuEdit->menuAction()->setEnabled(Enable);
    btnReadRelay->setEnabled(Enable);
    btnReadAll->setEnabled(Enable);
    btnPgmRelay->setEnabled(Enable);
    btnPgmAll->setEnabled(Enable);
}

void frmMain::cboRelNum_Click()
{
    ChangeRelayNum(qint16(cboRelNum->currentIndex()));
}

void frmMain::cboRelMode_Click()
{
    ChangeRelayMode(qint16(cboRelMode->currentIndex()));
}

void frmMain::cboInputMode_Click()
{
    ChangeInputMode(qint16(cboInputMode->currentIndex()));
}

void frmMain::imgRelay_Click()
{
    // The next relay is always a different entry, so its selection handler
    // shows it; relay 16 wraps to relay 1.
    cboRelNum->setCurrentIndex((cboRelNum->currentIndex() + 1) & 15);
}

void frmMain::imgLogicGate_Click()
{
    // NIL wraps to OR; the selection stores the gate in the shown set.
    selectInputMode(qint16((cboInputMode->currentIndex() + 1) & 7));
}

void frmMain::imgInputBtn_Click(qint16 Index)
{
    if (Index < 0 || Index >= InputCount)
        return;
    const int index = cboRelNum->currentIndex();
    if (!isRelayIndex(index)) {
        logFailure(Failure::SubscriptOutOfRange, QStringLiteral("imgInputBtn_Click"), 1,
                   QStringLiteral("relay index %1").arg(index));
        return;
    }
    RelayConfig &relay = m_relayTable[index];
    bool &input = showsUnlatchSet(relay) ? relay.UnlatchMap[Index] : relay.InputMap[Index];
    const bool state = !input;
    ShowInputState(Index, state);
    input = state;
}

void frmMain::rbLatch_Click()
{
    const int index = cboRelNum->currentIndex();
    if (!isRelayIndex(index)) {
        logFailure(Failure::SubscriptOutOfRange, QStringLiteral("rbLatch_Click"), 1,
                   QStringLiteral("relay index %1").arg(index));
        return;
    }
    RelayConfig &relay = m_relayTable[index];
    relay.ShowUnlatch = !rbLatch->isChecked();
    ChangeRelayNum(qint16(index));
    selectInputMode(relay.ShowUnlatch ? relay.UnlatchInputMode : relay.InputMode);
}

void frmMain::mnuEditChangeNum_Click(qint16 Index)
{
    if (cboRelNum->currentIndex() != Index)
        cboRelNum->setCurrentIndex(Index); // runs ChangeRelayNum
    else
        ChangeRelayNum(Index);
}

void frmMain::mnuEditChangeMode_Click(qint16 Index)
{
    selectRelayMode(Index);
}

void frmMain::mnuChangeInMode_Click(qint16 Index)
{
    selectInputMode(Index);
}

void frmMain::mnuClearRelay_Click(qint16 Index)
{
    ClearRelay(Index);
}

void frmMain::mnuClearAll_Click()
{
    for (qint16 i = 0; i < RelayCount; ++i)
        ClearRelay(i);
}
