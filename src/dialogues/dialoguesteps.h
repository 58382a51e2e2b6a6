#pragma once

#include "link/promptexchange.h"

#include <QtGlobal>

// What a read or program dialogue came to. The numbers are the ones the
// error log and tavikctl write, so they never change.
enum class DialogueResult : qint16 {
    Done = 0,           // the relay was read or programmed
    PortFailed = 1,     // the port did not open, or no such relay
    SendFailed = 2,     // a character could not be sent
    TimedOut = 3,       // no echo, or the awaited prompt did not come
    LineFlooded = 4,    // too many characters waiting before a send
    WaitFailed = 5,     // waiting for a prompt failed
    AnswerNotSent = 6,  // the relay number (or another answer) could not be sent
    GaveUp = 7,         // the device still answered wrongly after the last restart allowed
    Cancelled = 8,      // the user cancelled; the device was sent back to its menu
    LineNeverQuiet = 9, // characters kept coming throughout a wait for quiet before a restart
    OutOfRange = 10,    // the relay holds a value its prompt does not take; nothing was sent
    LineLost = 11,      // the line went away: an adapter pulled out, a serial server refusing or gone
};

// How the dialogues read the results of the prompt exchange: go on, start
// the attempt again, or end. A dialogue that ran to its end leaves the device
// at its menu; one abandoned halfway (no echo, no prompt, a flooded line, a
// cancel) may have left it inside a command.
enum class DialogueStep { Go, Restart, Finished, Abandoned };

// A command character, an answer or a carriage return: no echo, a flooded
// line or a cancel ends the dialogue; a wrong echo restarts.
DialogueStep afterSend(SendResult sent, DialogueResult &result);

// A prompt or value not seen in time, or a cancel, ends the dialogue.
DialogueStep afterPrompt(PromptResult got, DialogueResult &result);
