#pragma once

#include <QString>

// Whether the error log can be kept at this path in the program's folder.
// Each system answers in its own way: Linux and macOS report a folder's
// permissions, Windows has to be asked by opening the file.
bool programFolderTakesLog(const QString &logPath);
