#pragma once

#include <QString>

#include <functional>

// Log size at which the log is shown to the user and started afresh, the
// full one kept as the previous log.
constexpr qint64 ErrorLogLimit = 131072;

// Appends one time-stamped line to "ErrorLog.txt", its line breaks and
// other control characters written as escapes (\r, \n, \x1b), so that no
// text can forge a line or reach a terminal that shows the log. Never throws
// and never shows anything, except the one notice when the log has grown too
// large. True when the line was written.
bool LogError(const QString &message);

// Where the last line logged went; empty when it could not be written.
QString loggedPath();

bool FileExists(const QString &path);

// Where the log goes: the user's own folder for the program's data (on
// Windows, the folder of a copy the user unpacked); empty where the user has
// none.
QString errorLogPath();

// Where a full log is kept once the next one starts: "ErrorLog.old.txt".
QString previousErrorLogPath();

// Tests point the log elsewhere; an empty path restores the default.
void setErrorLogPath(const QString &path);

// Shows an oversized log to the user: opens it in the system's text editor
// and waits for the user to acknowledge the message text; the log is then
// kept as the previous one. The window installs one with a message box;
// without one, the text goes to stderr with the previous log's path.
using OversizedLogNotice = std::function<void(const QString &logPath, const QString &text)>;
void setOversizedLogNotice(OversizedLogNotice notice);

// The text the notice shows.
QString oversizedLogText();
