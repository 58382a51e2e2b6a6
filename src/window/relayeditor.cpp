#include "window/relayeditor.h"

#include "base/failure.h"
#include "window/clickablelabel.h"
#include "window/mainwindowui.h"
#include "window/pictures.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

namespace
{

bool isRelayIndex(int index)
{
    return index >= 0 && index < RelayCount;
}

} // namespace

RelayEditor::RelayEditor(MainWindowUi &ui, RelayTable &table)
    : m_ui(ui), m_table(table), m_closureTime(ui, [this] { return shownRecord(); })
{
    connect(&m_closureTime, &ClosureTimeEntry::timeStored, this, &RelayEditor::recordEdited);
}

RelayConfig *RelayEditor::shownRecord()
{
    const int index = m_ui.cboRelNum->currentIndex();
    return isRelayIndex(index) ? &m_table[size_t(index)] : nullptr;
}

void RelayEditor::checkOnly(const QList<QAction *> &array, qint16 index)
{
    for (qsizetype i = 0; i < array.size(); ++i)
        array.at(i)->setChecked(i == index);
}

bool RelayEditor::isListed(qint16 value, qint16 count, const char *what, const QString &procedure, int step)
{
    if (value >= 0 && value < count)
        return true;
    logFailure(Failure::ValueOutOfRange, procedure, step,
               QStringLiteral("%1 %2").arg(QLatin1String(what)).arg(value));
    return false;
}

void RelayEditor::selectRelayMode(qint16 mode)
{
    if (!isListed(mode, RelayModeCount, "relay mode", QStringLiteral("ChangeRelayMode"), 1))
        return;
    if (m_ui.cboRelMode->currentIndex() != mode)
        m_ui.cboRelMode->setCurrentIndex(mode); // runs cboRelMode_Click
    else
        ChangeRelayMode(mode);
}

void RelayEditor::selectInputMode(qint16 gate)
{
    if (!isListed(gate, InputModeCount, "input mode", QStringLiteral("ChangeInputMode"), 1))
        return;
    if (m_ui.cboInputMode->currentIndex() != gate)
        m_ui.cboInputMode->setCurrentIndex(gate); // runs cboInputMode_Click
    else
        ChangeInputMode(gate);
}

void RelayEditor::ChangeRelayNum(qint16 Index)
{
    if (!isRelayIndex(Index)) {
        // Every step reads the record; none can go on without it.
        logFailure(Failure::SubscriptOutOfRange, QStringLiteral("ChangeRelayNum"), 1,
                   QStringLiteral("relay index %1").arg(Index));
        return;
    }
    RelayConfig &relay = m_table[Index];

    m_ui.imgRelay->setPixmap(PictureFromBytes(LoadResData(101 + Index, QStringLiteral("RELAY"))));
    checkOnly(m_ui.mnuEditChangeNum, Index);
    const QString procedure = QStringLiteral("ChangeRelayNum");
    if (m_ui.cboRelMode->currentIndex() != relay.RelayMode &&
        isListed(relay.RelayMode, RelayModeCount, "relay mode", procedure, 3))
        m_ui.cboRelMode->setCurrentIndex(relay.RelayMode); // runs ChangeRelayMode

    for (qint16 i = 0; i < InputCount; ++i) {
        const bool latching = relay.RelayMode == LatchingMode;
        const bool state = latching && relay.ShowUnlatch ? relay.UnlatchMap[i] : relay.InputMap[i];
        if (state != m_shownInputs[i])
            ShowInputState(i, state);
        m_shownInputs[i] = state;
        // Selecting the button already selected runs nothing; this ends the nesting.
        if (latching)
            (relay.ShowUnlatch ? m_ui.rbUnlatch : m_ui.rbLatch)->setChecked(true);
    }

    const qint16 gate = showsUnlatchSet(relay) ? relay.UnlatchInputMode : relay.InputMode;
    if (m_ui.cboInputMode->currentIndex() != gate &&
        isListed(gate, InputModeCount, "input mode", procedure, 5))
        m_ui.cboInputMode->setCurrentIndex(gate); // runs ChangeInputMode

    if (relay.Counter > MaxCounter)
        logFailure(Failure::ValueOutOfRange, procedure, 6, QStringLiteral("counter %1").arg(relay.Counter));
    m_closureTime.showTimeOf(relay);
    showPCControl(relay.PCControl);
}

void RelayEditor::showPCControl(bool underPCControl)
{
    m_ui.chkPCControl->setChecked(underPCControl);
    m_ui.btnMoment->setEnabled(underPCControl);
    m_ui.btnLatch->setEnabled(underPCControl);
}

void RelayEditor::ChangeRelayMode(qint16 Mode)
{
    checkOnly(m_ui.mnuEditChangeMode, Mode);
    const int index = m_ui.cboRelNum->currentIndex();
    if (!isRelayIndex(index)) {
        logFailure(Failure::SubscriptOutOfRange, QStringLiteral("ChangeRelayMode"), 2,
                   QStringLiteral("relay index %1").arg(index));
        return;
    }
    RelayConfig &relay = m_table[index];
    const bool showedUnlatch = relay.ShowUnlatch;
    relay.RelayMode = Mode;

    if (Mode >= FirstTimedMode && Mode != LatchingMode) {
        m_closureTime.setEnabled(true);
        m_ui.rbLatch->setEnabled(false);
        m_ui.rbUnlatch->setEnabled(false);
        relay.ShowUnlatch = false;
    } else {
        m_closureTime.setEnabled(false);
        if (Mode != LatchingMode) {
            m_ui.rbLatch->setEnabled(false);
            m_ui.rbUnlatch->setEnabled(false);
            relay.ShowUnlatch = false;
        } else {
            m_ui.rbLatch->setEnabled(true);
            m_ui.rbUnlatch->setEnabled(true);
            m_ui.rbLatch->setChecked(true); // runs rbLatch_Click when it was not selected
        }
    }

    // The latch set is now the one being edited: show it.
    if (showedUnlatch && !relay.ShowUnlatch)
        ChangeRelayNum(qint16(index));
    emit recordEdited();
}

void RelayEditor::ChangeInputMode(qint16 Gate)
{
    const int index = m_ui.cboRelNum->currentIndex();
    if (isRelayIndex(index)) {
        RelayConfig &relay = m_table[index];
        (showsUnlatchSet(relay) ? relay.UnlatchInputMode : relay.InputMode) = Gate;
        emit recordEdited();
    }
    m_ui.imgLogicGate->setPixmap(PictureFromBytes(LoadResData(101 + Gate, QStringLiteral("INMODE"))));
    checkOnly(m_ui.mnuChangeInMode, Gate);
}

void RelayEditor::ShowInputState(qint16 Index, bool State)
{
    m_shownInputs[Index] = State;
    m_ui.mnuChangeMap.at(Index)->setChecked(State);
    m_ui.imgInputBtn.at(Index)->setPixmap(
        PictureFromBytes(LoadResData(101 + Index, State ? QStringLiteral("INON") : QStringLiteral("INOFF"))));
}

void RelayEditor::ClearRelay(qint16 Index)
{
    if (!isRelayIndex(Index)) {
        logFailure(Failure::SubscriptOutOfRange, QStringLiteral("ClearRelay"), 1,
                   QStringLiteral("relay index %1").arg(Index));
        return;
    }
    ::ClearRelay(m_table[Index]);
    if (m_ui.cboRelNum->currentIndex() == Index)
        ChangeRelayNum(Index);
    emit recordEdited();
}

void RelayEditor::paste(const RelayClip &clip)
{
    const int index = m_ui.cboRelNum->currentIndex();
    if (!isRelayIndex(index))
        return;
    RelayClipboard::apply(clip, m_table[index]);
    ChangeRelayNum(qint16(index));
    emit recordEdited();
}

void RelayEditor::cboRelNum_Click()
{
    ChangeRelayNum(qint16(m_ui.cboRelNum->currentIndex()));
}

void RelayEditor::cboRelMode_Click()
{
    ChangeRelayMode(qint16(m_ui.cboRelMode->currentIndex()));
}

void RelayEditor::cboInputMode_Click()
{
    ChangeInputMode(qint16(m_ui.cboInputMode->currentIndex()));
}

void RelayEditor::imgRelay_Click()
{
    // The next relay is always a different entry, so its selection handler
    // shows it; relay 16 wraps to relay 1.
    m_ui.cboRelNum->setCurrentIndex((m_ui.cboRelNum->currentIndex() + 1) & 15);
}

void RelayEditor::imgLogicGate_Click()
{
    // NIL wraps to OR; the selection stores the gate in the shown set.
    selectInputMode(qint16((m_ui.cboInputMode->currentIndex() + 1) & 7));
}

void RelayEditor::imgInputBtn_Click(qint16 Index)
{
    if (Index < 0 || Index >= InputCount)
        return;
    const int index = m_ui.cboRelNum->currentIndex();
    if (!isRelayIndex(index)) {
        logFailure(Failure::SubscriptOutOfRange, QStringLiteral("imgInputBtn_Click"), 1,
                   QStringLiteral("relay index %1").arg(index));
        return;
    }
    RelayConfig &relay = m_table[index];
    bool &input = showsUnlatchSet(relay) ? relay.UnlatchMap[Index] : relay.InputMap[Index];
    const bool state = !input;
    ShowInputState(Index, state);
    input = state;
    emit recordEdited();
}

void RelayEditor::rbLatch_Click()
{
    const int index = m_ui.cboRelNum->currentIndex();
    if (!isRelayIndex(index)) {
        logFailure(Failure::SubscriptOutOfRange, QStringLiteral("rbLatch_Click"), 1,
                   QStringLiteral("relay index %1").arg(index));
        return;
    }
    RelayConfig &relay = m_table[index];
    relay.ShowUnlatch = !m_ui.rbLatch->isChecked();
    ChangeRelayNum(qint16(index));
    selectInputMode(relay.ShowUnlatch ? relay.UnlatchInputMode : relay.InputMode);
}

void RelayEditor::mnuEditChangeNum_Click(qint16 Index)
{
    if (m_ui.cboRelNum->currentIndex() != Index)
        m_ui.cboRelNum->setCurrentIndex(Index); // runs ChangeRelayNum
    else
        ChangeRelayNum(Index);
}

void RelayEditor::mnuEditChangeMode_Click(qint16 Index)
{
    selectRelayMode(Index);
}

void RelayEditor::mnuChangeInMode_Click(qint16 Index)
{
    selectInputMode(Index);
}

void RelayEditor::mnuClearRelay_Click(qint16 Index)
{
    ClearRelay(Index);
}

void RelayEditor::mnuClearAll_Click()
{
    for (qint16 i = 0; i < RelayCount; ++i)
        ClearRelay(i);
}

void RelayEditor::mnuChangeMap_Click(qint16 Index)
{
    imgInputBtn_Click(Index);
}
