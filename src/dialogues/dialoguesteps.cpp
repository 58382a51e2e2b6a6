#include "dialogues/dialoguesteps.h"

namespace
{

DialogueStep abandon(DialogueResult code, DialogueResult &result)
{
    result = code;
    return DialogueStep::Abandoned;
}

} // namespace

DialogueStep afterSend(SendResult sent, DialogueResult &result)
{
    switch (sent) {
    case SendResult::Sent:
        return DialogueStep::Go;
    case SendResult::NoEcho:
        return abandon(DialogueResult::TimedOut, result);
    case SendResult::Flooded:
        return abandon(DialogueResult::LineFlooded, result);
    case SendResult::Cancelled:
        return abandon(DialogueResult::Cancelled, result);
    case SendResult::LineLost:
        return abandon(DialogueResult::LineLost, result);
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
        return abandon(DialogueResult::Cancelled, result);
    case PromptResult::LineLost:
        return abandon(DialogueResult::LineLost, result);
    case PromptResult::TimedOut:
        break;
    }
    return abandon(DialogueResult::TimedOut, result);
}
