#include "dialogues/dialoguesteps.h"

namespace
{

DialogueStep end(qint16 code, qint16 &result)
{
    result = code;
    return DialogueStep::End;
}

} // namespace

DialogueStep afterSendChar(qint16 sent, qint16 &result)
{
    if (sent < 0)
        return end(2, result);
    switch (sent) {
    case 0:
        return DialogueStep::Go;
    case 1:
        return end(3, result);
    case 3:
        return end(4, result);
    default:
        return DialogueStep::Restart;
    }
}

DialogueStep afterSendString(qint16 sent, qint16 &result)
{
    if (sent < 0)
        return end(6, result);
    switch (sent) {
    case 0:
        return DialogueStep::Go;
    case 1:
        return end(2, result);
    case 2:
        return end(3, result);
    case 4:
        return end(4, result);
    default:
        return DialogueStep::Restart;
    }
}

DialogueStep afterGetString(qint16 got, qint16 &result)
{
    if (got < 0)
        return end(5, result);
    if (got == 1)
        return end(3, result);
    if (got == 2)
        return DialogueStep::Restart;
    return DialogueStep::Go;
}
