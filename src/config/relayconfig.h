#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

constexpr int RelayCount = 16;
constexpr int InputCount = 12;

// One relay's configuration as the window keeps it. Field names follow the
// device's vocabulary so that the dialogues, the file and the editor agree.
struct RelayConfig {
    std::array<bool, InputCount> InputMap{};   // inputs that drive (or latch) the relay
    std::array<bool, InputCount> UnlatchMap{}; // Latching relays only: inputs that unlatch it
    bool ShowUnlatch = false;                  // editor state: showing the unlatching side
    bool PCControl = false;
    bool Closed = false;
    qint16 RelayMode = 0;        // position in RelayModeNames
    qint16 InputMode = 0;        // position in InputModeNames
    qint16 UnlatchInputMode = 0; // position in InputModeNames
    qint32 Counter = 0;          // closure time in hundredths of a second
    qint16 Hours = 0;
    qint16 Minutes = 0;
    qint16 Seconds = 0;
    qint16 Hundredths = 0;

    bool operator==(const RelayConfig &) const = default;
};

using RelayTable = std::array<RelayConfig, RelayCount>;

// The two fixed name lists, as the device prints them and the lists show them.
inline constexpr char RelayModeNames[] =
    "Momentary,Toggle,Leading-Edge,Trailing-Edge,Either-Edge,Pulse-Stretch,Min-Time,Max-Time,Debounce,Latching";
inline constexpr char InputModeNames[] = "OR,AND,XOR,IL,NOR,NAND,NXOR,NIL";

constexpr qint16 RelayModeCount = 10;
constexpr qint16 InputModeCount = 8;
constexpr qint16 FirstTimedMode = 2; // Leading-Edge
constexpr qint16 LatchingMode = 9;

// The longest closure time the device counts: 45:59:59.99.
constexpr qint32 MaxCounter = 16559999;
// The largest counter the configuration file's six hexadecimal digits hold.
constexpr qint32 LargestFileCounter = 0xFFFFFF;

QStringList relayModeList();
QStringList inputModeList();

// Codes the device expects when a relay is programmed.
int relayModeCode(qint16 relayMode);
int inputModeCode(qint16 inputMode);

// Timed modes take a closure time; Latching takes an unlatch set; the rest take neither.
bool isTimedMode(qint16 relayMode);
bool isLatchingMode(qint16 relayMode);
// The set the editor shows and edits: the unlatch set of a Latching relay
// that shows it, the latch set otherwise.
bool showsUnlatchSet(const RelayConfig &relay);

// Map group g (0..2) holds inputs 4g..4g+3 with input 4g+j weighing 2^j.
int mapGroupValue(const std::array<bool, InputCount> &map, int group);

void CounterToTime(RelayConfig &relay);
void TimeToCounter(RelayConfig &relay);

// Resets a record to a new relay's configuration; PCControl, Closed and
// ShowUnlatch are the device's and the editor's and keep their values.
void ClearRelay(RelayConfig &relay);

// The values the program dialogue sends, each to a prompt that takes a range.
enum class SentField { RelayMode, InputMode, UnlatchInputMode, Hours, Minutes, Seconds, Hundredths };

struct OutOfRange {
    SentField field = SentField::RelayMode;
    int value = 0;
};

// The first value programming this relay would send that its prompt does not
// take: a file's digits are loaded unchecked (an input mode 9, a counter past
// 45 hours), and the device, sent one, is left waiting inside its command.
// The map groups always fit. Nothing when every value fits.
std::optional<OutOfRange> firstOutOfRange(const RelayConfig &relay);

// "out of range (9)": a value as a person reads it where it has no name.
QString outOfRangeText(const QString &value);
// "Relay 5: input mode out of range (9)"
QString outOfRangeNote(int relayNumber, const OutOfRange &outOfRange);
// One note for each relay that holds such a value.
QStringList outOfRangeNotes(const RelayTable &table);
