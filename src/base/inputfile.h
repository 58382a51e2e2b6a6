#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Reading files a user names, which may be anything: a pipe, a FIFO that
// nobody writes to, a device, or a file of gigabytes on one line.

// Opens `path` for reading without waiting for a writer: a FIFO that no one
// has open for writing reads as empty instead of blocking, while one that has
// a writer (as `<(cmd)` gives) is read as a stream. False, with the
// system's words in `error`, when it does not open.
bool openInputFile(QFile &file, const QString &path, QString &error);

enum class LineRead {
    Line,    // `line` holds it, without its LF or CR LF
    End,     // nothing more to read
    TooLong, // longer than allowed; `line` holds its beginning
    Failed,  // a read failed
};

// Reads the next line, at most `maxBytes` bytes with its line end, from a
// file or a stream alike (never by atEnd(), which a pipe answers before its
// data arrives).
LineRead readBoundedLine(QIODevice &device, qsizetype maxBytes, QByteArray &line);

// Text from a file as it is safe to print: control characters shown as \xHH,
// and at most `maxChars` characters of it followed by "..." when it is longer.
QString visibleText(const QString &text, qsizetype maxChars = -1);
