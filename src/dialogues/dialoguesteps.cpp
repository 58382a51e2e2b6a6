#include "dialogues/dialoguesteps.h"

namespace
{

DialogueStep end(DialogueResult code, DialogueResult &result)
{
    result = code;
    return DialogueStep::End;
}

} // namespace

DialogueStep afterSendChar(qint16 sent, DialogueResult &result)
{
    if (sent < 0)
        return end(DialogueResult::SendFailed, result);
    switch (sent) {
    case 0:
        return DialogueStep::Go;
    case 1:
        return end(DialogueResult::TimedOut, result);
    case 3:
        return end(DialogueResult::LineFlooded, result);
    default:
        return DialogueStep::Restart;
    }
}

DialogueStep afterSendString(qint16 sent, DialogueResult &result)
{
    if (sent < 0)
        return end(DialogueResult::AnswerNotSent, result);
    switch (sent) {
    case 0:
        return DialogueStep::Go;
    case 1:
        return end(DialogueResult::SendFailed, result);
    case 2:
        return end(DialogueResult::TimedOut, result);
    case 4:
        return end(DialogueResult::LineFlooded, result);
    default:
        return DialogueStep::Restart;
    }
}

DialogueStep afterGetString(qint16 got, DialogueResult &result)
{
    if (got < 0)
        return end(DialogueResult::WaitFailed, result);
    if (got == 1)
        return end(DialogueResult::TimedOut, result);
    if (got == 2)
        return DialogueStep::Restart;
    return DialogueStep::Go;
}
