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

RelayEditor::RelayEditor(MainWindowUi &ui, RelayTable &table) : m_ui(ui), m_table(table)
{
    connect(m_ui.fraTime, &ClosureTimeEntry::timeEdited, this, &RelayEditor::storeTime);
}

ClosureTimeEntry &RelayEditor::closureTime()
{
    return *m_ui.fraTime;
}

void RelayEditor::storeTime(ClosureTimeEntry::Unit unit, int value)
{
    RelayConfig *relay = shownRecord();
    if (!relay)
        return;
    switch (unit) {
    case ClosureTimeEntry::Unit::Hours:
        relay->Hours = qint16(value);
        break;
    case ClosureTimeEntry::Unit::Minutes:
        relay->Minutes = qint16(value);
        break;
    case ClosureTimeEntry::Unit::Seconds:
        relay->Seconds = qint16(value / 100);
        relay->Hundredths = qint16(value % 100);
        break;
    }
    TimeToCounter(*relay);
    emit recordEdited();
}

void RelayEditor::enableClosureTime(bool enabled)
{
    m_ui.fraTime->setEnabled(enabled);
    m_ui.mnuChangeTimes->setEnabled(enabled);
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
        m_ui.cboRelMode->setCurrentIndex(mode); // runs onRelayModeChosen
    else
        changeRelayMode(mode);
}

void RelayEditor::selectInputMode(qint16 gate)
{
    if (!isListed(gate, InputModeCount, "input mode", QStringLiteral("ChangeInputMode"), 1))
        return;
    if (m_ui.cboInputMode->currentIndex() != gate)
        m_ui.cboInputMode->setCurrentIndex(gate); // runs onInputModeChosen
    else
        changeInputMode(gate);
}

void RelayEditor::showRelay(qint16 shown)
{
    if (!isRelayIndex(shown)) {
        // Every step reads the record; none can go on without it.
        logFailure(Failure::SubscriptOutOfRange, QStringLiteral("ChangeRelayNum"), 1,
                   QStringLiteral("relay index %1").arg(shown));
        return;
    }
    RelayConfig &relay = m_table[shown];

    m_ui.imgRelay->setPixmap(PictureFromBytes(LoadResData(101 + shown, QStringLiteral("RELAY"))));
    checkOnly(m_ui.mnuEditChangeNum, shown);
    const QString procedure = QStringLiteral("ChangeRelayNum");
    if (m_ui.cboRelMode->currentIndex() != relay.RelayMode &&
        isListed(relay.RelayMode, RelayModeCount, "relay mode", procedure, 3))
        m_ui.cboRelMode->setCurrentIndex(relay.RelayMode); // runs changeRelayMode

    for (qint16 i = 0; i < InputCount; ++i) {
        const bool latching = relay.RelayMode == LatchingMode;
        const bool state = latching && relay.ShowUnlatch ? relay.UnlatchMap[i] : relay.InputMap[i];
        if (state != m_shownInputs[i])
            showInputState(i, state);
        m_shownInputs[i] = state;
        // Selecting the button already selected runs nothing; this ends the nesting.
        if (latching)
            (relay.ShowUnlatch ? m_ui.rbUnlatch : m_ui.rbLatch)->setChecked(true);
    }

    const qint16 gate = showsUnlatchSet(relay) ? relay.UnlatchInputMode : relay.InputMode;
    if (m_ui.cboInputMode->currentIndex() != gate &&
        isListed(gate, InputModeCount, "input mode", procedure, 5))
        m_ui.cboInputMode->setCurrentIndex(gate); // runs changeInputMode

    if (relay.Counter > MaxCounter)
        logFailure(Failure::ValueOutOfRange, procedure, 6, QStringLiteral("counter %1").arg(relay.Counter));
    m_ui.fraTime->showTimeOf(relay);
    showPCControl(relay.PCControl);
}

void RelayEditor::showPCControl(bool underPCControl)
{
    m_ui.chkPCControl->setChecked(underPCControl);
    m_ui.btnMoment->setEnabled(underPCControl);
    m_ui.btnLatch->setEnabled(underPCControl);
}

void RelayEditor::changeRelayMode(qint16 mode)
{
    checkOnly(m_ui.mnuEditChangeMode, mode);
    const int index = m_ui.cboRelNum->currentIndex();
    if (!isRelayIndex(index)) {
        logFailure(Failure::SubscriptOutOfRange, QStringLiteral("ChangeRelayMode"), 2,
                   QStringLiteral("relay index %1").arg(index));
        return;
    }
    RelayConfig &relay = m_table[index];
    const bool showedUnlatch = relay.ShowUnlatch;
    relay.RelayMode = mode;

    if (mode >= FirstTimedMode && mode != LatchingMode) {
        enableClosureTime(true);
        m_ui.rbLatch->setEnabled(false);
        m_ui.rbUnlatch->setEnabled(false);
        relay.ShowUnlatch = false;
    } else {
        enableClosureTime(false);
        if (mode != LatchingMode) {
            m_ui.rbLatch->setEnabled(false);
            m_ui.rbUnlatch->setEnabled(false);
            relay.ShowUnlatch = false;
        } else {
            m_ui.rbLatch->setEnabled(true);
            m_ui.rbUnlatch->setEnabled(true);
            m_ui.rbLatch->setChecked(true); // runs onInputSetChosen when it was not selected
        }
    }

    // The latch set is now the one being edited: show it.
    if (showedUnlatch && !relay.ShowUnlatch)
        showRelay(qint16(index));
    emit recordEdited();
}

void RelayEditor::changeInputMode(qint16 gate)
{
    const int index = m_ui.cboRelNum->currentIndex();
    if (isRelayIndex(index)) {
        RelayConfig &relay = m_table[index];
        (showsUnlatchSet(relay) ? relay.UnlatchInputMode : relay.InputMode) = gate;
        emit recordEdited();
    }
    m_ui.imgLogicGate->setPixmap(PictureFromBytes(LoadResData(101 + gate, QStringLiteral("INMODE"))));
    checkOnly(m_ui.mnuChangeInMode, gate);
}

void RelayEditor::showInputState(qint16 input, bool inMap)
{
    m_shownInputs[input] = inMap;
    m_ui.mnuChangeMap.at(input)->setChecked(inMap);
    m_ui.imgInputBtn.at(input)->setPixmap(
        PictureFromBytes(LoadResData(101 + input, inMap ? QStringLiteral("INON") : QStringLiteral("INOFF"))));
}

void RelayEditor::clearRelay(qint16 cleared)
{
    if (!isRelayIndex(cleared)) {
        logFailure(Failure::SubscriptOutOfRange, QStringLiteral("ClearRelay"), 1,
                   QStringLiteral("relay index %1").arg(cleared));
        return;
    }
    ::ClearRelay(m_table[cleared]);
    if (m_ui.cboRelNum->currentIndex() == cleared)
        showRelay(cleared);
    emit recordEdited();
}

void RelayEditor::paste(const RelayClip &clip)
{
    const int index = m_ui.cboRelNum->currentIndex();
    if (!isRelayIndex(index))
        return;
    RelayClipboard::apply(clip, m_table[index]);
    showRelay(qint16(index));
    emit recordEdited();
}

void RelayEditor::onRelayChosen()
{
    showRelay(qint16(m_ui.cboRelNum->currentIndex()));
}

void RelayEditor::onRelayModeChosen()
{
    changeRelayMode(qint16(m_ui.cboRelMode->currentIndex()));
}

void RelayEditor::onInputModeChosen()
{
    changeInputMode(qint16(m_ui.cboInputMode->currentIndex()));
}

void RelayEditor::showNextRelay()
{
    // The next relay is always a different entry, so its selection handler
    // shows it; relay 16 wraps to relay 1.
    m_ui.cboRelNum->setCurrentIndex((m_ui.cboRelNum->currentIndex() + 1) & 15);
}

void RelayEditor::selectNextInputMode()
{
    // NIL wraps to OR; the selection stores the gate in the shown set.
    selectInputMode(qint16((m_ui.cboInputMode->currentIndex() + 1) & 7));
}

void RelayEditor::toggleInput(qint16 input)
{
    if (input < 0 || input >= InputCount)
        return;
    const int index = m_ui.cboRelNum->currentIndex();
    if (!isRelayIndex(index)) {
        logFailure(Failure::SubscriptOutOfRange, QStringLiteral("imgInputBtn_Click"), 1,
                   QStringLiteral("relay index %1").arg(index));
        return;
    }
    RelayConfig &relay = m_table[index];
    bool &inMap = showsUnlatchSet(relay) ? relay.UnlatchMap[input] : relay.InputMap[input];
    const bool state = !inMap;
    showInputState(input, state);
    inMap = state;
    emit recordEdited();
}

void RelayEditor::onInputSetChosen()
{
    const int index = m_ui.cboRelNum->currentIndex();
    if (!isRelayIndex(index)) {
        logFailure(Failure::SubscriptOutOfRange, QStringLiteral("rbLatch_Click"), 1,
                   QStringLiteral("relay index %1").arg(index));
        return;
    }
    RelayConfig &relay = m_table[index];
    relay.ShowUnlatch = !m_ui.rbLatch->isChecked();
    showRelay(qint16(index));
    selectInputMode(relay.ShowUnlatch ? relay.UnlatchInputMode : relay.InputMode);
}

void RelayEditor::setShownRelay(qint16 relay)
{
    if (m_ui.cboRelNum->currentIndex() != relay)
        m_ui.cboRelNum->setCurrentIndex(relay); // runs showRelay
    else
        showRelay(relay);
}

void RelayEditor::clearAll()
{
    for (qint16 i = 0; i < RelayCount; ++i)
        clearRelay(i);
}

