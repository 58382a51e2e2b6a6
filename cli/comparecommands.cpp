#include "comparecommands.h"

#include "commandreport.h"
#include "config/relaycomparison.h"
#include "config/tavikfile.h"
#include "deviceargs.h"
#include "devicesession.h"
#include "dialogues/scratchreader.h"

#include <QFileInfo>
#include <QTextStream>

namespace
{

// The table of a configuration file; false (the failure reported) when it does not load.
bool loadTable(RelayTable &table, const QString &path, CommandReport &report)
{
    QString status;
    FileFault fault;
    if (openConfigFile(table, path, status, &fault) == FileResult::Ok)
        return true;
    report.fileRefused(path, fault);
    return false;
}

QString numbersText(const QList<int> &numbers)
{
    QStringList texts;
    for (const int number : numbers)
        texts << QString::number(number);
    return texts.isEmpty() ? QStringLiteral("none") : texts.join(QStringLiteral(", "));
}

// "relay 5", "relays 5, 7"
QString relaysText(const QList<int> &numbers)
{
    return (numbers.size() == 1 ? QStringLiteral("relay ") : QStringLiteral("relays ")) +
           numbersText(numbers);
}

QList<int> relaysDiffering(const QList<RelayDifference> &differences)
{
    QList<int> relays;
    for (const RelayDifference &difference : differences) {
        if (difference.counts() && !relays.contains(difference.relay))
            relays << difference.relay;
    }
    return relays;
}

// One line per difference; those that do not count say so.
void printDifferences(QTextStream &out, const QList<RelayDifference> &differences, const QString &firstName,
                      const QString &secondName)
{
    for (const RelayDifference &difference : differences) {
        out << difference.text(firstName, secondName);
        if (!difference.counts())
            out << " (not programmed, does not count)";
        out << '\n';
    }
}

// The two sides of a comparison: their names in the JSON and in the lines.
struct Sides {
    QString firstKey;
    QString secondKey;
    QString firstName;
    QString secondName;
};

// Ends verify and diff: the JSON members, or one line per difference and the
// summary (sameText, or differText followed by the relays that differ).
int finishComparison(CommandReport &report, const QList<RelayDifference> &differences, const Sides &sides,
                     const QString &sameText, const QString &differText)
{
    const QList<int> differing = relaysDiffering(differences);
    report.set(QStringLiteral("same"), differing.isEmpty());
    report.set(QStringLiteral("differing"), numbersJson(differing));
    report.set(QStringLiteral("differences"), differencesJson(differences, sides.firstKey, sides.secondKey));
    if (!report.json()) {
        QTextStream out(stdout);
        printDifferences(out, differences, sides.firstName, sides.secondName);
        out << (differing.isEmpty() ? sameText : differText + relaysText(differing)) << ".\n";
    }
    return report.finish(differing.isEmpty() ? ExitOk : ExitDiffers);
}

int verifyDevice(const QStringList &arguments)
{
    DeviceArgs args;
    if (const QString error = parseFileArgs(QStringLiteral("verify"), arguments, {QStringLiteral("--json")}, args);
        !error.isEmpty())
        return usageError(error);
    const QString file = input(args);
    CommandReport report(QStringLiteral("verify"), args.has(QStringLiteral("--json")));
    report.set(QStringLiteral("file"), file);
    RelayTable wanted{};
    if (!loadTable(wanted, file, report))
        return ExitBadFile;
    DeviceSession session;
    if (const int exit = connectSession(session, args, true); exit >= 0)
        return exit;

    QList<int> checked;
    session.holdPort();
    if (args.relay > 0) {
        const DialogueResult result = session.commands().readRelay(args.relay - 1);
        if (result != DialogueResult::Done)
            return report.dialogueFailed(QStringLiteral("reading"), args.relay, result,
                                         session.view().statusText());
        checked << args.relay;
    } else {
        const BulkOutcome outcome = session.commands().readAll(AllEnding::Quiet);
        if (!outcome.succeeded())
            return report.dialogueFailed(QStringLiteral("reading"), outcome.relayIndex + 1, outcome.result,
                                         session.view().statusText());
        for (int number = 1; number <= RelayCount; ++number)
            checked << number;
    }
    QList<RelayDifference> differences;
    for (const int number : checked)
        differences += compareRelays(wanted[size_t(number - 1)], session.table()[size_t(number - 1)], number);

    report.set(QStringLiteral("relays"), numbersJson(checked));
    const QString fileSide = QStringLiteral("file");
    const QString deviceSide = QStringLiteral("device");
    return finishComparison(
        report, differences, {fileSide, deviceSide, fileSide, deviceSide},
        QStringLiteral("The device holds %1 (%2 checked)")
            .arg(file, checked.size() == RelayCount ? QStringLiteral("all 16 relays") : relaysText(checked)),
        QStringLiteral("The device differs from %1 in ").arg(file));
}

int diffFiles(const QStringList &arguments)
{
    QStringList files;
    bool json = false;
    for (const QString &arg : arguments) {
        if (arg == QStringLiteral("--json"))
            json = true;
        else if (arg.startsWith(u'-') && arg.size() > 1)
            return usageError(QStringLiteral("diff: unknown option '%1'").arg(arg));
        else
            files << arg;
    }
    if (files.size() != 2)
        return usageError(QStringLiteral("diff takes two files"));
    CommandReport report(QStringLiteral("diff"), json);
    report.set(QStringLiteral("files"), QJsonArray{files.at(0), files.at(1)});
    RelayTable first{};
    RelayTable second{};
    if (!loadTable(first, files.at(0), report) || !loadTable(second, files.at(1), report))
        return ExitBadFile;

    return finishComparison(report, compareTables(first, second),
                            {QStringLiteral("first"), QStringLiteral("second"), QFileInfo(files.at(0)).fileName(),
                             QFileInfo(files.at(1)).fileName()},
                            QStringLiteral("The files configure every relay alike"),
                            QStringLiteral("The files differ in "));
}

} // namespace

int programChangedRelays(DeviceSession &session, int relay, const QString &file, CommandReport &report)
{
    ScratchReader device(session.link(), session.view());
    QList<int> relays;
    for (int number = 1; number <= RelayCount; ++number) {
        if (relay == 0 || relay == number)
            relays << number;
    }
    QList<int> programmed;
    QList<int> left;
    QList<RelayDifference> remaining;
    QJsonArray results;
    session.holdPort();
    const auto record = [&] {
        report.set(QStringLiteral("relays"), results);
        report.set(QStringLiteral("programmed"), numbersJson(programmed));
        report.set(QStringLiteral("left"), numbersJson(left));
        report.set(QStringLiteral("differences"),
                   differencesJson(remaining, QStringLiteral("file"), QStringLiteral("device")));
    };
    const auto failed = [&](const QString &what, int number, DialogueResult result) {
        record();
        return report.dialogueFailed(what, number, result, session.view().statusText());
    };
    for (const int number : relays) {
        const size_t index = size_t(number - 1);
        const RelayConfig &wanted = session.table()[index];
        if (const DialogueResult result = device.readRelay(number - 1); result != DialogueResult::Done)
            return failed(QStringLiteral("reading"), number, result);
        if (behavesAlike(wanted, device.table()[index])) {
            left << number;
            results.append(
                QJsonObject{{QStringLiteral("relay"), number}, {QStringLiteral("programmed"), false}});
            continue;
        }
        if (const DialogueResult result = session.commands().programRelay(number - 1);
            result != DialogueResult::Done)
            return failed(QStringLiteral("programming"), number, result);
        programmed << number;
        if (const DialogueResult result = device.readRelay(number - 1); result != DialogueResult::Done)
            return failed(QStringLiteral("reading back"), number, result);
        QList<RelayDifference> differences = compareRelays(wanted, device.table()[index], number);
        differences.removeIf([](const RelayDifference &difference) { return !difference.counts(); });
        remaining += differences;
        results.append(QJsonObject{{QStringLiteral("relay"), number},
                                   {QStringLiteral("programmed"), true},
                                   {QStringLiteral("verified"), differences.isEmpty()}});
    }
    record();
    if (!report.json()) {
        QTextStream out(stdout);
        out << "Programmed relays: " << numbersText(programmed) << '\n'
            << "Left as they were: " << numbersText(left) << '\n';
        printDifferences(out, remaining, QStringLiteral("file"), QStringLiteral("device"));
        if (!remaining.isEmpty())
            out << "The device still differs from " << file << ".\n";
    }
    return report.finish(remaining.isEmpty() ? ExitOk : ExitDiffers);
}

QList<Command> comparisonCommands()
{
    return {
        {QStringLiteral("verify"), QStringLiteral("verify -i FILE [--relay N] DEVICE"),
         QStringLiteral("check that the device holds FILE (exit 4: differs, 1: device failed, 3: bad FILE)"),
         verifyDevice},
        {QStringLiteral("diff"), QStringLiteral("diff FILE_A FILE_B"),
         QStringLiteral("compare two configuration files (exit 4: they differ, 3: bad FILE)"), diffFiles},
    };
}
