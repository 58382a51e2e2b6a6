#include "dialogues/dialoguesteps.h"

namespace
{

DialogueStep end(DialogueResult code, DialogueResult &result)
{
    result = code;
    return DialogueStep::End;
}

} // namespace

DialogueStep afterSend(SendResult sent, DialogueResult &result)
{
    switch (sent) {
    case SendResult::Sent:
        return DialogueStep::Go;
    case SendResult::NoEcho:
        return end(DialogueResult::TimedOut, result);
    case SendResult::Flooded:
        return end(DialogueResult::LineFlooded, result);
    case SendResult::Cancelled:
        return end(DialogueResult::Cancelled, result);
    case SendResult::WrongEcho:
        break;
    }
    return DialogueStep::Restart;
}

DialogueStep afterPrompt(PromptResult got, DialogueResult &result)
{
    switch (got) {
    case PromptResult::Seen:
        return DialogueStep::Go;
    case PromptResult::Cancelled:
        return end(DialogueResult::Cancelled, result);
    case PromptResult::TimedOut:
        break;
    }
    return end(DialogueResult::TimedOut, result);
}
