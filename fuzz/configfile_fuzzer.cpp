// Any bytes as a configuration file: the reader must refuse or accept them
// without harm, leave the table alone unless it accepts, and accept only
// what it reads back the same once written again.
#include "fuzzentry.h"

#include "config/tavikfile.h"
#include "base/errorlog.h"

#include <QBuffer>
#include <QDir>

namespace
{

const QString FileName = QStringLiteral("fuzzed.csv");

// The error log points at a folder, which cannot be opened as a file, so
// the many failed reads cost no disk writes and fill nothing.
void keepLogQuiet()
{
    static const bool done = [] {
        setErrorLogPath(QDir::tempPath());
        return true;
    }();
    (void)done;
}

RelayTable markedTable()
{
    RelayTable table{};
    for (int i = 0; i < RelayCount; ++i) {
        table[size_t(i)].RelayMode = qint16(-1 - i);
        table[size_t(i)].Counter = -1 - i;
        table[size_t(i)].Closed = i % 2 == 0;
        table[size_t(i)].ShowUnlatch = i % 3 == 0;
    }
    return table;
}

FileResult readFrom(const QByteArray &bytes, RelayTable &table, QString &status)
{
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    FileFault fault;
    return openConfigFile(table, buffer, FileName, status, &fault);
}

// The four header lines as the reader took them, each ended again.
QByteArray headerOf(const QByteArray &bytes)
{
    QByteArray header;
    qsizetype from = 0;
    for (int line = 0; line < 4; ++line) {
        const qsizetype end = bytes.indexOf('\n', from);
        QByteArray text = bytes.mid(from, end < 0 ? -1 : end - from);
        if (text.endsWith('\r'))
            text.chop(1);
        header += text + "\r\n";
        from = end + 1;
    }
    return header;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    keepLogQuiet();
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const RelayTable before = markedTable();
    RelayTable table = before;
    QString status;
    const FileResult result = readFrom(bytes, table, status);

    if (result < FileResult::Failed || result > FileResult::BadPCControl)
        fuzzFailed("result outside -1 to 7");
    if (result != FileResult::Ok) {
        if (table != before)
            fuzzFailed("a refused file changed the table");
        if (result != FileResult::Failed && status != QStringLiteral("Incorrect file format"))
            fuzzFailed("a format fault without its status text");
        return 0;
    }

    for (int i = 0; i < RelayCount; ++i) {
        const RelayConfig &relay = table[size_t(i)];
        // The file holds no contact state and no editor side: both start afresh.
        if (relay.Closed || relay.ShowUnlatch)
            fuzzFailed("an accepted file kept a field the file does not hold");
        if (relay.RelayMode < 0 || relay.RelayMode > 9 || relay.InputMode < 0 || relay.InputMode > 9)
            fuzzFailed("a one-digit field outside 0-9");
        if (relay.Counter < 0 || relay.Counter > 0xFFFFFF)
            fuzzFailed("a counter beyond six hexadecimal digits");
    }

    // Written again and read back, an accepted file gives the same table.
    QByteArray again = headerOf(bytes);
    for (int i = 0; i < RelayCount; ++i)
        again += tavikRelayLine(table[size_t(i)], i + 1) + "\r\n";
    RelayTable reread = before;
    QString rereadStatus;
    if (readFrom(again, reread, rereadStatus) != FileResult::Ok)
        fuzzFailed("an accepted table, written again, is refused");
    if (reread != table)
        fuzzFailed("an accepted table, written again, reads back differently");
    if (rereadStatus != status)
        fuzzFailed("the status text changed on reading again");
    return 0;
}
