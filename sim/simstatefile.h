#pragma once

#include "simmenu.h"

#include <QString>

#include <optional>

// The relays the simulated device keeps across runs, as a real device keeps
// its configuration. One header line, then one line per relay:
//   tavik-sim-state 1
//   <mode> <gate> <map> <unlatch gate> <unlatch map> <counter> <closed 0/1> <pc control 0/1>
// A file that is there and does not read back as 16 valid relays is someone
// else's: it is refused as a whole, and never written over.
namespace SimStateFile
{

// The relays in the file; none when there is no file, or when it is not
// one of these, which error then says.
std::optional<SimMenu::Relays> load(const QString &path, QString *error = nullptr);
bool save(const QString &path, const SimMenu::Relays &relays, QString *error = nullptr);

} // namespace SimStateFile
