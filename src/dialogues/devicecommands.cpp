#include "dialogues/devicecommands.h"

#include "config/relayconfig.h"
#include "dialogues/devicedialogues.h"
#include "dialogues/dialogueview.h"

#include <cmath>

DeviceCommands::DeviceCommands(DeviceDialogues &dialogues, DialogueView &view)
    : m_dialogues(dialogues), m_view(view)
{
}

Task<DialogueResult> DeviceCommands::runDialogue(Kind kind, int index)
{
    return kind == Kind::Read ? m_dialogues.readRelay(index, -1) : m_dialogues.programRelay(index);
}

Task<DialogueResult> DeviceCommands::singleRelay(Kind kind, int index)
{
    m_view.enableReadProg(false);
    Task<DialogueResult> dialogue = runDialogue(kind, index);
    const DialogueResult result = co_await dialogue;
    m_view.enableReadProg(true);
    co_return result;
}

Task<DialogueResult> DeviceCommands::readShownRelay()
{
    return singleRelay(Kind::Read, m_view.shownRelay());
}

Task<DialogueResult> DeviceCommands::programShownRelay()
{
    return runDialogue(Kind::Program, m_view.shownRelay());
}

Task<DialogueResult> DeviceCommands::readRelay(int index)
{
    return singleRelay(Kind::Read, index);
}

Task<DialogueResult> DeviceCommands::programRelay(int index)
{
    return singleRelay(Kind::Program, index);
}

Task<BulkOutcome> DeviceCommands::readAll(AllEnding ending)
{
    return wholeTable(Kind::Read, ending);
}

Task<BulkOutcome> DeviceCommands::programAll(AllEnding ending)
{
    return wholeTable(Kind::Program, ending);
}

Task<BulkOutcome> DeviceCommands::wholeTable(Kind kind, AllEnding ending)
{
    BulkOutcome outcome;
    m_view.enableReadProg(false);
    m_view.setProgressValue(0);
    m_view.setActionText(QCoreApplication::translate("DeviceCommands", "Reading Tavik..."));
    m_view.setActionVisible(true);
    const QString relayText = kind == Kind::Read
                                  ? QCoreApplication::translate("DeviceCommands", "Reading relay %1")
                                  : QCoreApplication::translate("DeviceCommands", "Programming relay %1");
    for (int index = 0; index < RelayCount; ++index) {
        if (index > 0 && m_betweenRelays) {
            Task<void> waiting = m_betweenRelays();
            co_await waiting;
        }
        m_view.setActionText(relayText.arg(index + 1));
        m_view.setProgressValue(2 * index + 1);
        Task<DialogueResult> dialogue = runDialogue(kind, index);
        const DialogueResult result = co_await dialogue;
        if (result != DialogueResult::Done) {
            m_view.setActionVisible(false);
            m_view.setProgressValue(0);
            outcome = {result, index};
            break;
        }
        m_view.setProgressValue(std::fmod(std::nearbyint(m_view.progressValue() + 1), 32.0));
    }
    if (outcome.cancelled())
        m_view.setStatusText(
            outcome.relayIndex == 0
                ? QCoreApplication::translate("DeviceCommands", "Cancelled before relay 1 of 16")
                : QCoreApplication::translate("DeviceCommands", "Cancelled after relay %1 of 16")
                      .arg(outcome.relayIndex));
    else if (ending == AllEnding::SayFinished)
        m_view.setActionText(kind == Kind::Read
                                 ? QCoreApplication::translate("DeviceCommands", "Finished reading all")
                                 : QCoreApplication::translate("DeviceCommands", "Finished programming all"));
    m_view.enableReadProg(true);
    co_return outcome;
}
