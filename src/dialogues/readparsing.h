#pragma once

#include "config/relayconfig.h"
#include "dialogues/dialoguesteps.h"
#include "link/task.h"

#include <QByteArray>

#include <array>
#include <optional>

// How the read dialogue turns the values of the device's report into a
// relay's fields. Each takes the collected text as it came from the line,
// carriage return included, and accepts any bytes at all.

// The first relay mode name found, as its position; none found gives 0.
int parseRelayMode(const QByteArray &value);

// The gate, searched longest name first (NXOR, NOR, XOR, OR, NAND, AND, NIL,
// IL) so that no name is taken for one it contains; none found gives 0.
int parseInputMode(const QByteArray &value);

// The map line "input 11 first": the character at position k (from 0)
// belongs to input 11 - k. "0" and "1" set the input; a carriage return
// ends the line; any other character leaves its input as it was (nullopt).
std::array<std::optional<bool>, InputCount> parseInputMap(const QByteArray &line);

// A full map line: 12 digits and the carriage return, at least.
bool isCompleteMapLine(const QByteArray &line);

// "&H" followed by hexadecimal digits, read up to the first other character
// as an unsigned number; no digits give 0.
qint32 parseHexCounter(const QByteArray &text);

// A counter as a relay may hold it: one beyond the configuration file's six
// hexadecimal digits, or negative, is a garbled report (nothing).
std::optional<qint32> storableCounter(qint32 counter);

// "Open" gives false, else "Closed" true, else nothing.
std::optional<bool> parseStatus(const QByteArray &value);

// "No" gives false, else "Yes" true, else nothing.
std::optional<bool> parseControlled(const QByteArray &value);

// Where the walk down a report gets its text. (Arguments are plain pointers
// and every task is named before it is awaited: g++ 12 destroys the
// temporaries of a statement that awaits twice.) awaitLabel() waits for a
// label; collect() sets text to start and appends what comes, up to and
// including the next carriage return. Each says whether the walk goes on.
class ReportLine
{
public:
    virtual ~ReportLine() = default;
    virtual Task<DialogueStep> awaitLabel(const char *label) = 0;
    virtual Task<DialogueStep> collect(QByteArray &text, const char *start) = 0;
};

// Told of each value as it is stored, so that the editor can follow.
class ReportFollower
{
public:
    virtual ~ReportFollower() = default;
    virtual void relayModeRead(qint16 relayMode) = 0;
    virtual void gateRead(qint16 gate, bool unlatchSide) = 0;
    virtual void inputRead(int input, bool inMap, bool unlatchSide) = 0;
    virtual void closureTimeRead(const RelayConfig &relay) = 0;
    virtual void pcControlRead(bool controlled) = 0;
};

// The device's report after the relay number, label by label, stored into
// relay as each value arrives (ReadMask bits as ReadRelay takes them). A map
// line too short to be whole, or a counter outside 0 to FFFFFF (logged),
// restarts; a line that fails ends the walk, and the values stored before
// that point stay.
Task<DialogueStep> walkReport(ReportLine &line, RelayConfig &relay, qint16 ReadMask, ReportFollower &follower);
