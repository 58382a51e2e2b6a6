#include "dialogues/devicecommands.h"

#include "dialogues/devicedialogues.h"
#include "dialogues/devicesession.h"

DeviceCommands::DeviceCommands(DeviceDialogues &dialogues, DeviceSession &session)
    : m_dialogues(dialogues), m_session(session)
{
}

Task<DialogueResult> DeviceCommands::runDialogue(Kind kind, int index, RelayTable *into)
{
    return kind == Kind::Read ? m_dialogues.readRelay(index, into) : m_dialogues.programRelay(index);
}

Task<DialogueResult> DeviceCommands::readRelay(int index)
{
    return runDialogue(Kind::Read, index, nullptr);
}

Task<DialogueResult> DeviceCommands::programRelay(int index)
{
    return runDialogue(Kind::Program, index, nullptr);
}

Task<BulkOutcome> DeviceCommands::readAll(AllEnding ending)
{
    return wholeTable(Kind::Read, ending);
}

Task<BulkOutcome> DeviceCommands::programAll(AllEnding ending)
{
    return wholeTable(Kind::Program, ending);
}

Task<BulkOutcome> DeviceCommands::readAllInto(RelayTable &into)
{
    return wholeTable(Kind::Read, AllEnding::Quiet, &into);
}

Task<BulkOutcome> DeviceCommands::wholeTable(Kind kind, AllEnding ending, RelayTable *into)
{
    BulkOutcome outcome;
    emit m_session.progress(0, RelayCount);
    const QString relayText = kind == Kind::Read
                                  ? QCoreApplication::translate("DeviceCommands", "Reading relay %1")
                                  : QCoreApplication::translate("DeviceCommands", "Programming relay %1");
    for (int index = 0; index < RelayCount; ++index) {
        if (index > 0 && m_betweenRelays) {
            Task<void> waiting = m_betweenRelays();
            co_await waiting;
        }
        emit m_session.actionChanged(relayText.arg(index + 1));
        emit m_session.relayBegun(index);
        Task<DialogueResult> dialogue = runDialogue(kind, index, into);
        const DialogueResult result = co_await dialogue;
        if (result != DialogueResult::Done) {
            emit m_session.stoppedAt(index);
            outcome = {result, index};
            break;
        }
        emit m_session.progress(index + 1, RelayCount);
    }
    if (outcome.cancelled())
        emit m_session.statusChanged(
            outcome.relayIndex == 0
                ? QCoreApplication::translate("DeviceCommands", "Cancelled before relay 1 of 16")
                : QCoreApplication::translate("DeviceCommands", "Cancelled after relay %1 of 16")
                      .arg(outcome.relayIndex));
    else if (ending == AllEnding::SayFinished)
        emit m_session.actionChanged(
            kind == Kind::Read ? QCoreApplication::translate("DeviceCommands", "Finished reading all")
                               : QCoreApplication::translate("DeviceCommands", "Finished programming all"));
    co_return outcome;
}
