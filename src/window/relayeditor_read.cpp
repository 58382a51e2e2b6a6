// The editor following a read of the relay it shows, value by value.
#include "window/relayeditor.h"

#include "window/closuretimeentry.h"

void RelayEditor::followRead(int index, DeviceSession::ReadField field, int input, int value)
{
    const Edit edit(*this);
    using Field = DeviceSession::ReadField;
    if (index != shownRelay())
        return;
    const RelayConfig &relay = m_table[size_t(index)];
    const bool sideShown =
        relay.ShowUnlatch == (field == Field::UnlatchInputMode || field == Field::UnlatchInput);
    switch (field) {
    case Field::RelayMode:
        if (value != shownRelayMode())
            selectRelayMode(qint16(value));
        break;
    case Field::InputMode:
    case Field::UnlatchInputMode:
        if (sideShown && value != shownInputMode())
            selectInputMode(qint16(value));
        break;
    case Field::Input:
    case Field::UnlatchInput:
        if (sideShown && input >= 0 && input < InputCount && shownInput(qint16(input)) != bool(value))
            showInputState(qint16(input), bool(value));
        break;
    case Field::ClosureTime:
        closureTime().showTimeOf(relay);
        break;
    case Field::PCControl:
        showPCControl(bool(value));
        break;
    }
}
