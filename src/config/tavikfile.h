#pragma once

#include "config/relayconfig.h"

#include <QByteArray>
#include <QChar>
#include <QDateTime>
#include <QIODevice>
#include <QString>

// The configuration file: 4 header lines and 16 relay lines, CR LF, read back
// by fixed positions. Format faults are numbered as the file commands expect.
enum TavikFileResult : qint16 {
    TavikFileFailed = -1, // could not open, write or read the file, or it ends early
    TavikFileOk = 0,
    TavikFileBadTitle = 1,    // line 1
    TavikFileBadNotice = 2,   // line 2
    TavikFileNoDate = 3,      // line 3
    TavikFileBadHeader = 4,   // line 4
    TavikFileNoRelay = 5,     // a relay line without its relay number
    TavikFileBadMap = 6,      // an input-map character that is neither 0 nor 1
    TavikFileBadPCControl = 7 // a PC-control character that is neither 0 nor 1
};

// Where and why a file was refused, in words a person can act on. The status
// text only says "Incorrect file format".
struct FileFault {
    int line = 0;   // 1-based line of the file
    int column = 0; // 1-based column in that line; 0 when the line as a whole is at fault
    QChar found;    // the character at that column; null when the line ends before it
    QString what;
};

// One relay line without its CR LF; number is the relay number 1 to 16.
QByteArray tavikRelayLine(const RelayConfig &relay, int number);

// Writes the whole table through a temporary file that replaces the target
// only once it is complete, so a failed save never destroys the old file.
// Returns 0, or -1 after logging the failure.
qint16 SaveTavikFile(const RelayTable &table, const QString &path);
qint16 SaveTavikFile(const RelayTable &table, const QString &path, const QDateTime &created);

// Reads the file into a staging table and replaces `table` only when all 20
// lines pass. `status` receives the text the status box shows: the date line
// and one line per relay read, or "Incorrect file format" on faults 1 to 7;
// on -1 it holds what had been built when reading stopped.
qint16 OpenTavikFile(RelayTable &table, const QString &path, QString &status, FileFault *fault = nullptr);

// The same from a device that is already open for reading; path only names
// it in the error log.
qint16 OpenTavikFile(RelayTable &table, QIODevice &file, const QString &path, QString &status,
                     FileFault *fault = nullptr);
