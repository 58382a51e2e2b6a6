#pragma once

#include "config/relayconfig.h"

#include <optional>

// The parts of a relay that can be copied on their own, or the whole of it.
enum class RelayPart { RelayMode, InputMode, InputMap, ClosureTime, Configuration };

// What a clipboard text carries: which part, and that part's values in a
// record. A gate or map part travels in InputMode and InputMap whichever set
// it came from; the whole configuration keeps both sets apart.
struct RelayClip {
    RelayPart part = RelayPart::Configuration;
    RelayConfig values;
};

// The clipboard's text form: a first line naming it, then one "Name: value"
// line per field, so that a person can read it and type it:
//
//   Tavik relay
//   Relay mode: Latching
//   Input mode: AND
//   Input map: 2, 8
//   Unlatch input mode: NAND
//   Unlatch input map: 1, 12
//   Closure time: 0:00:00.00
//
// A single part carries its one line. Inputs are numbered 1 to 12 as the Edit
// menu names them ("none" for an empty map); names may come in any case.
namespace RelayClipboard
{

// The text of one part of a relay; a gate or map is that of the shown set.
QString textOf(const RelayConfig &relay, RelayPart part);

// The clip a text holds, or nothing when it is not one: another program's
// text, an unknown or repeated line, a value out of range.
std::optional<RelayClip> parse(const QString &text);

// Writes a clip over a record, a gate or map part into the shown set; the
// closure time keeps Counter and its parts in step.
void apply(const RelayClip &clip, RelayConfig &relay);

} // namespace RelayClipboard
