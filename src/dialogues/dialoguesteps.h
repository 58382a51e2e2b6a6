#pragma once

#include <QtGlobal>

// How the dialogues read the results of the prompt exchange: go on, start
// the attempt again, or end with a result code.
enum class DialogueStep { Go, Restart, End };

// A command character or carriage return: a failed send 2, no echo 3,
// flooded line 4, a wrong echo restarts.
DialogueStep afterSendChar(qint16 sent, qint16 &result);

// An answer: SendChar failed 2, no echo 3, flooded line 4, a wrong echo
// restarts, and a failed send of its own 6.
DialogueStep afterSendString(qint16 sent, qint16 &result);

// A prompt or value: not seen in time 3, a failed wait 5; when another
// dialogue took the line meanwhile, the attempt starts again.
DialogueStep afterGetString(qint16 got, qint16 &result);
