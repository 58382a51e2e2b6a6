#include "config/tavikfile.h"

#include "base/failure.h"
#include "base/inputfile.h"
#include "base/safesave.h"

#include <QCoreApplication>
#include <QFile>

namespace
{

// The writer writes these and the reader requires them exactly, so each line
// has one spelling.
const QString TitleLine = QStringLiteral("Tavik Configuration File,");
const QString NoticeLine = QStringLiteral("\"(c) 2026 Tavik Controls\",");
const QString DatePrefix = QStringLiteral("Date created: ");
const QString ColumnHeader =
    QStringLiteral(", Relay Number, Relay Mode, Input Mode, InputMap, Counter, PC-Control,");
const QByteArray LineEnd = QByteArrayLiteral("\r\n");

const QString SaveProcedure = QStringLiteral("SaveTavikFile");
const QString OpenProcedure = QStringLiteral("OpenTavikFile");

constexpr int HeaderLines = 4;
// A relay line is 71 bytes; a line far longer is no configuration line, and
// reading it whole would let a file of gigabytes on one line fill the memory.
constexpr qsizetype MaxLineBytes = 4096;
const QByteArray ByteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");

// Offsets from q, the position just after "Relay <n>, ".
constexpr qsizetype RelayModeAt = 0;
constexpr qsizetype InputModeAt = 3;
constexpr qsizetype InputMapAt = 10;
constexpr qsizetype UnlatchInputModeAt = 24;
constexpr qsizetype UnlatchMapAt = 31;
constexpr qsizetype CounterAt = 49;
constexpr qsizetype CounterDigits = 6;
constexpr qsizetype PCControlAt = 57;

QByteArray mapText(const std::array<bool, InputCount> &map)
{
    QByteArray text;
    for (int element = InputCount - 1; element >= 0; --element)
        text += map[size_t(element)] ? '1' : '0';
    return text;
}

// Six upper-case hexadecimal digits, as the file and the status text show a counter.
QByteArray counterHex(qint32 counter)
{
    return QByteArray::number(counter, 16).toUpper().rightJustified(CounterDigits, '0');
}

QChar charAt(const QString &line, qsizetype pos)
{
    return pos < line.size() ? line.at(pos) : QChar();
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// A one-digit field: anything that is not a digit counts as 0, unchecked.
int digitAt(const QString &line, qsizetype pos)
{
    const QChar c = charAt(line, pos);
    return isAsciiDigit(c) ? c.unicode() - u'0' : 0;
}

int hexValue(QChar c)
{
    if (isAsciiDigit(c))
        return c.unicode() - u'0';
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    return -1;
}

// Six hexadecimal characters at most, stopping at the first that is not one.
qint32 counterAt(const QString &line, qsizetype pos)
{
    qint32 value = 0;
    for (qsizetype i = 0; i < CounterDigits; ++i) {
        const int digit = hexValue(charAt(line, pos + i));
        if (digit < 0)
            break;
        value = value * 16 + digit;
    }
    return value;
}

void setFault(FileFault &fault, int line, const QString &text, qsizetype pos, const QString &what)
{
    fault.line = line;
    fault.column = int(pos) + 1;
    fault.found = charAt(text, pos);
    fault.what = what;
}

// A header line that must equal `expected`; the fault points at the first
// character that differs.
bool headerMatches(const QString &line, const QString &expected, int lineNo, FileFault &fault)
{
    if (line == expected)
        return true;
    qsizetype pos = 0;
    while (pos < line.size() && pos < expected.size() && line.at(pos) == expected.at(pos))
        ++pos;
    setFault(fault, lineNo, line, pos,
             QCoreApplication::translate("TavikFile", "line %1 should read %2").arg(lineNo).arg(expected));
    return false;
}

// A 12-character map, element 11 first. Returns false on a character that is
// neither 0 nor 1, or on the end of the line.
bool readMap(const QString &line, qsizetype pos, std::array<bool, InputCount> &map, int lineNo,
             const QString &mapName, int number, FileFault &fault)
{
    for (qsizetype i = 0; i < InputCount; ++i) {
        const QChar c = charAt(line, pos + i);
        if (c != u'0' && c != u'1') {
            const QString what =
                c.isNull()
                    ? QCoreApplication::translate("TavikFile", "the line ends inside the %1 of relay %2")
                          .arg(mapName)
                          .arg(number)
                    : QCoreApplication::translate("TavikFile",
                                                  "the %1 of relay %2 holds '%3' where only 0 or 1 belongs")
                          .arg(mapName)
                          .arg(number)
                          .arg(visibleText(QString(c)));
            setFault(fault, lineNo, line, pos + i, what);
            return false;
        }
        map[size_t(InputCount - 1 - i)] = c == u'1';
    }
    return true;
}

FileResult readRelayLine(const QString &line, int number, int lineNo, RelayConfig &relay, FileFault &fault)
{
    const QString label = QStringLiteral("Relay ") + QString::number(number);
    const qsizetype found = line.indexOf(label);
    if (found < 0) {
        fault.line = lineNo;
        fault.column = 0;
        fault.found = QChar();
        fault.what = QCoreApplication::translate(
                         "TavikFile", "line %1 should be the line of relay %2 but does not contain \"%3\"")
                         .arg(lineNo)
                         .arg(number)
                         .arg(label);
        return FileResult::NoRelay;
    }
    // Fields stand at fixed distances from the relay number, whatever precedes it.
    const qsizetype q = found + label.size() + 2;

    relay.RelayMode = digitAt(line, q + RelayModeAt);
    relay.InputMode = digitAt(line, q + InputModeAt);
    if (!readMap(line, q + InputMapAt, relay.InputMap, lineNo,
                 QCoreApplication::translate("TavikFile", "input map"), number, fault))
        return FileResult::BadMap;
    relay.UnlatchInputMode = digitAt(line, q + UnlatchInputModeAt);
    if (!readMap(line, q + UnlatchMapAt, relay.UnlatchMap, lineNo,
                 QCoreApplication::translate("TavikFile", "unlatch map"), number, fault))
        return FileResult::BadMap;
    relay.Counter = counterAt(line, q + CounterAt);
    CounterToTime(relay);

    const QChar pc = charAt(line, q + PCControlAt);
    if (pc != u'0' && pc != u'1') {
        const QString what =
            pc.isNull()
                ? QCoreApplication::translate("TavikFile",
                                              "the line ends before the PC-control field of relay %1")
                      .arg(number)
                : QCoreApplication::translate(
                      "TavikFile", "the PC-control field of relay %1 holds '%2' where only 0 or 1 belongs")
                      .arg(number)
                      .arg(visibleText(QString(pc)));
        setFault(fault, lineNo, line, q + PCControlAt, what);
        return FileResult::BadPCControl;
    }
    relay.PCControl = pc == u'1';
    return FileResult::Ok;
}

QString statusLine(int number, const RelayConfig &relay)
{
    return QStringLiteral("%1, %2, %3, 0x%4\r\n")
        .arg(number)
        .arg(relay.RelayMode)
        .arg(relay.InputMode)
        .arg(QString::fromLatin1(counterHex(relay.Counter)));
}

} // namespace

QByteArray tavikRelayLine(const RelayConfig &relay, int number)
{
    QByteArray text = ", Relay " + QByteArray::number(number) + ", " + QByteArray::number(relay.RelayMode) +
                      ", " + QByteArray::number(relay.InputMode) + ", BIN " + mapText(relay.InputMap) + ", " +
                      QByteArray::number(relay.UnlatchInputMode) + ", BIN " + mapText(relay.UnlatchMap) +
                      ", HEX " + counterHex(relay.Counter) + ", " + (relay.PCControl ? "1," : "0,");
    return text;
}

FileResult saveConfigFile(const RelayTable &table, const QString &path, QString *problem)
{
    return saveConfigFile(table, path, QDateTime::currentDateTime(), problem);
}

FileResult saveConfigFile(const RelayTable &table, const QString &path, const QDateTime &created,
                          QString *problem)
{
    QByteArray text;
    text += TitleLine.toLatin1() + LineEnd;
    text += NoticeLine.toLatin1() + LineEnd;
    text += DatePrefix.toLatin1() + created.toString(QStringLiteral("MM-dd-yyyy HH:mm")).toLatin1() + LineEnd;
    text += ColumnHeader.toLatin1() + LineEnd;
    for (int i = 0; i < RelayCount; ++i)
        text += tavikRelayLine(table[size_t(i)], i + 1) + LineEnd;

    const SafeSave saved = SafeSave::write(path, text);
    if (saved.saved())
        return FileResult::Ok;
    // The steps are those the error log has always named for each failure.
    Failure failure = Failure::FileOpen;
    int step = 2;
    if (saved.outcome() == SafeSave::Outcome::WriteFailed) {
        failure = Failure::FileWrite;
        step = 4;
    } else if (saved.outcome() == SafeSave::Outcome::ReplaceFailed) {
        failure = Failure::FileCommit;
        step = 5;
    }
    logFailure(failure, SaveProcedure, step, path + QStringLiteral(": ") + saved.errorString());
    if (problem)
        *problem = saved.message(path);
    return FileResult::Failed;
}

FileResult openConfigFile(RelayTable &table, const QString &path, QString &status, FileFault *faultOut)
{
    QFile file;
    QString detail;
    if (!openInputFile(file, path, detail)) {
        status.clear();
        logFailure(Failure::FileOpen, OpenProcedure, 3, path + QStringLiteral(": ") + detail);
        if (faultOut)
            *faultOut = FileFault{0, 0, QChar(), detail};
        return FileResult::Failed;
    }
    return openConfigFile(table, file, path, status, faultOut);
}

FileResult openConfigFile(RelayTable &table, QIODevice &file, const QString &path, QString &status,
                          FileFault *faultOut)
{
    status.clear();
    FileFault fault;
    RelayTable staging{};

    // Leaves at once after logging; the status text keeps what was built.
    // The log keeps its own language; the person reads the fault in theirs.
    auto fail = [&](Failure failure, int step, const QString &detail, const QString &shown) {
        logFailure(failure, OpenProcedure, step, path + QStringLiteral(": ") + detail);
        fault.what = shown;
        if (faultOut)
            *faultOut = fault;
        return FileResult::Failed;
    };
    auto refuse = [&](FileResult result) {
        status = QCoreApplication::translate("TavikFile", "Incorrect file format");
        if (faultOut)
            *faultOut = fault;
        return result;
    };

    QString line;
    QByteArray bytes;
    for (int lineNo = 1; lineNo <= HeaderLines + RelayCount; ++lineNo) {
        const int step = lineNo <= HeaderLines ? lineNo + 3 : 8;
        switch (readBoundedLine(file, MaxLineBytes, bytes)) {
        case LineRead::Line:
            break;
        case LineRead::End:
            return fail(Failure::FileShort, step,
                        QStringLiteral("the file ends after line %1 of 20").arg(lineNo - 1),
                        QCoreApplication::translate("TavikFile", "the file ends after line %1 of 20")
                            .arg(lineNo - 1));
        case LineRead::TooLong:
            fault.line = lineNo;
            return fail(Failure::FileRead, step, QStringLiteral("line longer than %1 bytes").arg(MaxLineBytes),
                        QCoreApplication::translate("TavikFile", "the line is longer than %1 bytes")
                            .arg(MaxLineBytes));
        case LineRead::Failed:
            return fail(Failure::FileRead, step, file.errorString(), file.errorString());
        }
        // An editor may begin a file with a byte-order mark.
        if (lineNo == 1 && bytes.startsWith(ByteOrderMark))
            bytes.remove(0, ByteOrderMark.size());
        // One byte per character, so that positions are byte positions.
        line = QString::fromLatin1(bytes);
        switch (lineNo) {
        case 1:
            if (!headerMatches(line, TitleLine, lineNo, fault))
                return refuse(FileResult::BadTitle);
            break;
        case 2:
            if (!headerMatches(line, NoticeLine, lineNo, fault))
                return refuse(FileResult::BadNotice);
            break;
        case 3:
            if (!line.contains(DatePrefix)) {
                fault.line = lineNo;
                fault.what = QCoreApplication::translate("TavikFile", "line 3 does not contain \"%1\"")
                                 .arg(DatePrefix);
                return refuse(FileResult::NoDate);
            }
            status = line + QStringLiteral("\r\n");
            break;
        case 4:
            if (!headerMatches(line, ColumnHeader, lineNo, fault))
                return refuse(FileResult::BadHeader);
            break;
        default: {
            const int number = lineNo - HeaderLines;
            RelayConfig &relay = staging[size_t(number - 1)];
            if (const FileResult result = readRelayLine(line, number, lineNo, relay, fault);
                result != FileResult::Ok)
                return refuse(result);
            status += statusLine(number, relay);
        }
        }
    }

    table = staging;
    return FileResult::Ok;
}
