#pragma once

#include <QString>

#include <functional>

// Log size at which the log is shown to the user and started afresh.
constexpr qint64 ErrorLogLimit = 131072;

// Appends one time-stamped line to "ErrorLog.txt". Never throws and never
// shows anything, except the one notice when the log has grown too large.
void LogError(const QString &message);

bool FileExists(const QString &path);

// Where the log goes: the program's folder, or the per-user application data
// folder when the program's folder is not writable (an installed program).
QString errorLogPath();

// Tests point the log elsewhere; an empty path restores the default.
void setErrorLogPath(const QString &path);

// Shows an oversized log to the user: opens it in the system's text editor
// and waits for the user to acknowledge the message text. The window installs
// one with a message box; without one, the text goes to stderr.
using OversizedLogNotice = std::function<void(const QString &logPath, const QString &text)>;
void setOversizedLogNotice(OversizedLogNotice notice);

// The text the notice shows.
QString oversizedLogText();
