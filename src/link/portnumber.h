#pragma once

#include <QString>

// The port number that a port list entry names: every "Com" removed, the
// leading decimal number of the rest, rounded to the nearest 16-bit integer
// (halves to even); no number, or one below 1, gives 1. "Com12" and
// "Com3 (ttyUSB0)" give 12 and 3.
int portNumberFromText(const QString &entryText);

// The entry that the port list shows for number n: "Com" + n, followed by the
// system name in brackets when that name is not "COM" + n.
QString portEntryText(int number, const QString &systemName);
