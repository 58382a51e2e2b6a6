#include "window/relayeditor.h"

#include "base/failure.h"
#include "config/relaycomparison.h"
#include "record/pictures.h"
#include "window/clickablelabel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace
{

bool isRelayIndex(int index)
{
    return index >= 0 && index < RelayCount;
}

} // namespace

RelayEditor::RelayEditor(const Controls &controls, RelayTable &table) : m_controls(controls), m_table(table)
{
    // currentIndexChanged and toggled fire for a change made by the program as
    // for one made by the user, and not at all when nothing changes: the
    // selection convention the editor relies on.
    const auto onSelection = [this](QComboBox *list, auto handler) {
        connect(list, &QComboBox::currentIndexChanged, this, [this, handler](int index) {
            if (index >= 0)
                (this->*handler)(qint16(index));
        });
    };
    onSelection(m_controls.relayNumbers, &RelayEditor::showRelay);
    onSelection(m_controls.relayModes, &RelayEditor::changeRelayMode);
    onSelection(m_controls.inputModes, &RelayEditor::changeInputMode);
    for (QRadioButton *option : {m_controls.latchSet, m_controls.unlatchSet}) {
        connect(option, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked)
                onInputSetChosen();
        });
    }
    connect(m_controls.relay, &ClickableLabel::clicked, this, &RelayEditor::showNextRelay);
    connect(m_controls.gate, &ClickableLabel::clicked, this, &RelayEditor::selectNextInputMode);
    for (int i = 0; i < m_controls.inputs.size(); ++i)
        connect(m_controls.inputs.at(i), &ClickableLabel::clicked, this, [this, i] { toggleInput(qint16(i)); });
    connect(m_controls.closureTime, &ClosureTimeEntry::timeEdited, this, &RelayEditor::storeTime);
    connect(m_controls.pcControl, &QCheckBox::toggled, this, &RelayEditor::pcControlToggled);
    // Any mouse button, at the moment it goes down: the buttons' own signals
    // know only the left button and its release.
    m_controls.latchInput->installEventFilter(this);
    m_controls.momentaryInput->installEventFilter(this);
    connect(this, &RelayEditor::recordEdited, this, &RelayEditor::describePictures);
}

void RelayEditor::fill(const QStringList &relayModes, const QStringList &inputModes)
{
    // A list selects its first entry by itself when it is filled.
    const QSignalBlocker quietRelays(m_controls.relayNumbers), quietModes(m_controls.relayModes),
        quietGates(m_controls.inputModes);
    for (int n = 1; n <= RelayCount; ++n)
        m_controls.relayNumbers->addItem(tr("Relay %1").arg(n));
    m_controls.relayModes->addItems(relayModes);
    m_controls.inputModes->addItems(inputModes);
    for (QComboBox *list : {m_controls.relayNumbers, m_controls.relayModes, m_controls.inputModes})
        list->setCurrentIndex(-1);

    m_controls.gate->setPixmap(ResPicture(101, QStringLiteral("INMODE")));
    m_controls.relay->setPixmap(ResPicture(101, QStringLiteral("RELAY")));
    m_controls.relay->setPictureLabel(PictureLabel::Relay, relayPictureText(0));
    for (int i = 0; i < m_controls.inputs.size(); ++i) {
        m_controls.inputs.at(i)->setPixmap(ResPicture(101 + i, QStringLiteral("INOFF")));
        m_controls.inputs.at(i)->setPictureLabel(PictureLabel::InputOff, inputPictureText(i));
        m_controls.inputs.at(i)->setAccessibleDescription(
            tr("Space or Enter puts input %1 into the map shown, or takes it out").arg(i + 1));
    }
    m_controls.gate->setAccessibleDescription(tr("Space or Enter selects the next input mode"));
    m_controls.relay->setAccessibleDescription(tr("Space or Enter shows the next relay"));
    m_shownInputs.fill(false);
    describePictures();
}

QString RelayEditor::gateSummary(qint16 gate, const std::array<bool, InputCount> &map) const
{
    QStringList inputs;
    for (int i = 0; i < InputCount; ++i)
        if (map[size_t(i)])
            inputs << QString::number(i + 1);
    QString which;
    if (inputs.isEmpty())
        which = tr("no inputs");
    else if (inputs.size() == 1)
        which = tr("input %1").arg(inputs.first());
    else
        which = tr("inputs %1 and %2").arg(inputs.mid(0, inputs.size() - 1).join(tr(", ")), inputs.last());
    return tr("%1 of %2").arg(RelayText::inputMode(gate), which);
}

QString RelayEditor::relaySummary(qint16 index) const
{
    if (!isRelayIndex(index))
        return {};
    const RelayConfig &relay = m_table[size_t(index)];
    QString summary = tr("Relay %1: %2, %3")
                          .arg(index + 1)
                          .arg(RelayText::relayMode(relay.RelayMode),
                               gateSummary(relay.InputMode, relay.InputMap));
    if (relay.RelayMode == LatchingMode)
        summary += tr(", unlatched by %1").arg(gateSummary(relay.UnlatchInputMode, relay.UnlatchMap));
    return summary;
}

void RelayEditor::describePictures()
{
    const int index = shownRelay();
    const bool unlatchSet = isRelayIndex(index) && showsUnlatchSet(m_table[size_t(index)]);
    for (int i = 0; i < m_controls.inputs.size(); ++i) {
        const bool inMap = m_shownInputs[size_t(i)];
        m_controls.inputs.at(i)->setAccessibleName(
            unlatchSet ? (inMap ? tr("Input %1, in the unlatch map") : tr("Input %1, not in the unlatch map"))
                             .arg(i + 1)
                       : (inMap ? tr("Input %1, in the map") : tr("Input %1, not in the map")).arg(i + 1));
    }
    m_controls.gate->setAccessibleName(tr("Input mode: %1").arg(m_controls.inputModes->currentText()));
    m_controls.relay->setAccessibleName(isRelayIndex(index) ? relaySummary(qint16(index)) : tr("Relay"));
}

void RelayEditor::selectFirstEntries()
{
    for (QComboBox *list : {m_controls.relayNumbers, m_controls.relayModes, m_controls.inputModes})
        list->setCurrentIndex(0);
}

int RelayEditor::shownRelay() const
{
    return m_shown;
}

int RelayEditor::shownRelayMode() const
{
    return m_controls.relayModes->currentIndex();
}

int RelayEditor::shownInputMode() const
{
    return m_controls.inputModes->currentIndex();
}

bool RelayEditor::eventFilter(QObject *watched, QEvent *event)
{
    // Every press counts, the second of a double-click too; a disabled
    // button still sees its presses here, and runs nothing. The press
    // reaches the button too, so that it shows pressed while the command
    // runs and takes its release when it comes.
    const bool pressed =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (pressed && static_cast<QWidget *>(watched)->isEnabled()) {
        if (watched == m_controls.latchInput)
            emit latchInputPressed();
        else if (watched == m_controls.momentaryInput)
            emit momentaryInputPressed();
    }
    return QObject::eventFilter(watched, event);
}

void RelayEditor::storeTime(ClosureTimeEntry::Unit unit, int value)
{
    const Edit edit(*this);
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
    m_edited = true;
}

void RelayEditor::enableClosureTime(bool enabled)
{
    m_controls.closureTime->setEnabled(enabled);
    emit closureTimeEnabled(enabled);
}

RelayConfig *RelayEditor::shownRecord()
{
    const int index = shownRelay();
    return isRelayIndex(index) ? &m_table[size_t(index)] : nullptr;
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
    const Edit edit(*this);
    if (!isListed(mode, RelayModeCount, "relay mode", QStringLiteral("ChangeRelayMode"), 1))
        return;
    if (m_controls.relayModes->currentIndex() != mode)
        m_controls.relayModes->setCurrentIndex(mode); // runs changeRelayMode
    else
        changeRelayMode(mode);
}

void RelayEditor::selectInputMode(qint16 gate)
{
    const Edit edit(*this);
    if (!isListed(gate, InputModeCount, "input mode", QStringLiteral("ChangeInputMode"), 1))
        return;
    if (m_controls.inputModes->currentIndex() != gate)
        m_controls.inputModes->setCurrentIndex(gate); // runs changeInputMode
    else
        changeInputMode(gate);
}

void RelayEditor::showRelay(qint16 shown)
{
    const Edit edit(*this);
    if (!isRelayIndex(shown)) {
        // Every step reads the record; none can go on without it.
        logFailure(Failure::SubscriptOutOfRange, QStringLiteral("ChangeRelayNum"), 1,
                   QStringLiteral("relay index %1").arg(shown));
        return;
    }
    RelayConfig &relay = m_table[shown];
    m_shown = shown;

    m_controls.relay->setPixmap(ResPicture(101 + shown, QStringLiteral("RELAY")));
    m_controls.relay->setPictureLabel(PictureLabel::Relay, relayPictureText(shown));
    emit relayShown(shown);
    const QString procedure = QStringLiteral("ChangeRelayNum");
    if (m_controls.relayModes->currentIndex() != relay.RelayMode &&
        isListed(relay.RelayMode, RelayModeCount, "relay mode", procedure, 3))
        m_controls.relayModes->setCurrentIndex(relay.RelayMode); // runs changeRelayMode

    for (qint16 i = 0; i < InputCount; ++i) {
        const bool latching = relay.RelayMode == LatchingMode;
        const bool state = latching && relay.ShowUnlatch ? relay.UnlatchMap[i] : relay.InputMap[i];
        if (state != m_shownInputs[i])
            showInputState(i, state);
        m_shownInputs[i] = state;
        // Selecting the button already selected runs nothing; this ends the nesting.
        if (latching)
            (relay.ShowUnlatch ? m_controls.unlatchSet : m_controls.latchSet)->setChecked(true);
    }

    const qint16 gate = showsUnlatchSet(relay) ? relay.UnlatchInputMode : relay.InputMode;
    if (m_controls.inputModes->currentIndex() != gate &&
        isListed(gate, InputModeCount, "input mode", procedure, 5))
        m_controls.inputModes->setCurrentIndex(gate); // runs changeInputMode

    if (relay.Counter > MaxCounter)
        logFailure(Failure::ValueOutOfRange, procedure, 6, QStringLiteral("counter %1").arg(relay.Counter));
    m_controls.closureTime->showTimeOf(relay);
    showPCControl(relay.PCControl);
    describePictures();
}

void RelayEditor::showPCControl(bool underPCControl)
{
    m_controls.pcControl->setChecked(underPCControl);
    enableLiveInputs(underPCControl);
}

void RelayEditor::enableLiveInputs(bool enabled)
{
    m_controls.momentaryInput->setEnabled(enabled);
    m_controls.latchInput->setEnabled(enabled);
}

void RelayEditor::changeRelayMode(qint16 mode)
{
    const Edit edit(*this);
    emit relayModeShown(mode);
    const int index = shownRelay();
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
        m_controls.latchSet->setEnabled(false);
        m_controls.unlatchSet->setEnabled(false);
        relay.ShowUnlatch = false;
    } else {
        enableClosureTime(false);
        if (mode != LatchingMode) {
            m_controls.latchSet->setEnabled(false);
            m_controls.unlatchSet->setEnabled(false);
            relay.ShowUnlatch = false;
        } else {
            m_controls.latchSet->setEnabled(true);
            m_controls.unlatchSet->setEnabled(true);
            m_controls.latchSet->setChecked(true); // runs onInputSetChosen when it was not selected
        }
    }

    // The latch set is now the one being edited: show it.
    if (showedUnlatch && !relay.ShowUnlatch)
        showRelay(qint16(index));
    m_edited = true;
}

void RelayEditor::changeInputMode(qint16 gate)
{
    const Edit edit(*this);
    const int index = shownRelay();
    if (isRelayIndex(index)) {
        RelayConfig &relay = m_table[index];
        (showsUnlatchSet(relay) ? relay.UnlatchInputMode : relay.InputMode) = gate;
        m_edited = true;
    }
    m_controls.gate->setPixmap(ResPicture(101 + gate, QStringLiteral("INMODE")));
    describePictures();
    emit inputModeShown(gate);
}

void RelayEditor::showInputState(qint16 input, bool inMap)
{
    m_shownInputs[input] = inMap;
    emit inputShown(input, inMap);
    m_controls.inputs.at(input)->setPixmap(
        ResPicture(101 + input, inMap ? QStringLiteral("INON") : QStringLiteral("INOFF")));
    m_controls.inputs.at(input)->setPictureLabel(inMap ? PictureLabel::InputOn : PictureLabel::InputOff,
                                                 inputPictureText(input));
    describePictures();
}

void RelayEditor::clearRelay(qint16 cleared)
{
    const Edit edit(*this);
    if (!isRelayIndex(cleared)) {
        logFailure(Failure::SubscriptOutOfRange, QStringLiteral("ClearRelay"), 1,
                   QStringLiteral("relay index %1").arg(cleared));
        return;
    }
    ::ClearRelay(m_table[cleared]);
    if (m_shown == cleared)
        showRelay(cleared);
    m_edited = true;
}

void RelayEditor::paste(const RelayClip &clip)
{
    const Edit edit(*this);
    const int index = shownRelay();
    if (!isRelayIndex(index))
        return;
    RelayClipboard::apply(clip, m_table[index]);
    showRelay(qint16(index));
    m_edited = true;
}

void RelayEditor::showNextRelay()
{
    // The next relay is always a different entry, so its selection handler
    // shows it; relay 16 wraps to relay 1.
    m_controls.relayNumbers->setCurrentIndex((m_shown + 1) & 15);
}

void RelayEditor::selectNextInputMode()
{
    // NIL wraps to OR; the selection stores the gate in the shown set.
    selectInputMode(qint16((m_controls.inputModes->currentIndex() + 1) & 7));
}

void RelayEditor::toggleInput(qint16 input)
{
    const Edit edit(*this);
    if (input < 0 || input >= InputCount)
        return;
    const int index = shownRelay();
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
    m_edited = true;
}

void RelayEditor::onInputSetChosen()
{
    const Edit edit(*this);
    const int index = shownRelay();
    if (!isRelayIndex(index)) {
        logFailure(Failure::SubscriptOutOfRange, QStringLiteral("rbLatch_Click"), 1,
                   QStringLiteral("relay index %1").arg(index));
        return;
    }
    RelayConfig &relay = m_table[index];
    relay.ShowUnlatch = !m_controls.latchSet->isChecked();
    showRelay(qint16(index));
    selectInputMode(relay.ShowUnlatch ? relay.UnlatchInputMode : relay.InputMode);
}

void RelayEditor::setShownRelay(qint16 relay)
{
    const Edit edit(*this);
    if (m_controls.relayNumbers->currentIndex() != relay)
        m_controls.relayNumbers->setCurrentIndex(relay); // runs showRelay
    else
        showRelay(relay);
}

void RelayEditor::clearAll()
{
    const Edit edit(*this);
    for (qint16 i = 0; i < RelayCount; ++i)
        clearRelay(i);
}

