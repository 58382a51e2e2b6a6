#pragma once

#include "config/relayconfig.h"

#include <QByteArray>
#include <QChar>
#include <QDateTime>
#include <QIODevice>
#include <QString>

// The configuration file: 4 header lines and 16 relay lines, CR LF, read back
// by fixed positions. Format faults are numbered as the file commands expect:
// `tavikctl show` exits with the number.
enum class FileResult {
    Failed = -1, // could not open, write or read the file, or it ends early
    Ok = 0,
    BadTitle = 1,    // line 1
    BadNotice = 2,   // line 2
    NoDate = 3,      // line 3
    BadHeader = 4,   // line 4
    NoRelay = 5,     // a relay line without its relay number
    BadMap = 6,      // an input-map character that is neither 0 nor 1
    BadPCControl = 7, // a PC-control character that is neither 0 nor 1
    BadJson = 8       // a JSON configuration that is not JSON, or holds no 16 valid relays
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

// Writes the whole table as a safe save (SafeSave), so a failed save never
// destroys the old file. Returns Ok, or Failed after logging the failure,
// with what a person reads of it in `problem`.
FileResult saveConfigFile(const RelayTable &table, const QString &path, QString *problem = nullptr);
FileResult saveConfigFile(const RelayTable &table, const QString &path, const QDateTime &created,
                          QString *problem = nullptr);

// Reads the file into a staging table and replaces `table` only when all 20
// lines pass. `status` receives the text the status box shows: the date line
// and one line per relay read, or "Incorrect file format" on a format fault;
// on Failed it holds what had been built when reading stopped. A pipe is read
// as a stream and a FIFO without a writer as empty; a line longer than 4096
// bytes fails, named by its number alone, so no more than 20 such lines are
// ever read.
FileResult openConfigFile(RelayTable &table, const QString &path, QString &status,
                          FileFault *fault = nullptr);

// The same from a device that is already open for reading; path only names
// it in the error log.
FileResult openConfigFile(RelayTable &table, QIODevice &file, const QString &path, QString &status,
                          FileFault *fault = nullptr);
