#pragma once

#include <QString>

class QFile;

// The folder the error log is kept in, each system by its own rules; empty
// when the user has none.
QString logFolder();

// Opens the log at file's path for appending. On Linux and macOS it is
// created private to the user, and opened only when what is there is a plain
// file: a link planted in its place is not followed, and nothing that would
// block is opened.
bool openLogFile(QFile &file);
