#include "comparecommands.h"

#include "clitext.h"
#include "commandreport.h"
#include "config/relaycomparison.h"
#include "configurationfile.h"
#include "deviceargs.h"
#include "deviceconnection.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

namespace
{

// The table of a configuration file; false (the failure reported) when it does not load.
bool loadTable(RelayTable &table, const QString &path, CommandReport &report)
{
    FileFault fault;
    if (loadConfiguration(table, path, fault) == FileResult::Ok)
        return true;
    report.fileRefused(path, fault);
    return false;
}

QString numbersText(const QList<int> &numbers)
{
    QStringList texts;
    for (const int number : numbers)
        texts << QString::number(number);
    return texts.isEmpty() ? CliText::tr("none") : texts.join(QStringLiteral(", "));
}

// "relay 5", "relays 5, 7"
QString relaysText(const QList<int> &numbers)
{
    return (numbers.size() == 1 ? CliText::tr("relay %1") : CliText::tr("relays %1"))
        .arg(numbersText(numbers));
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

// One line per difference that counts; the others, which the device behaves
// the same with, only with `all`, or else as one line that counts them.
void printDifferences(QTextStream &out, const QList<RelayDifference> &differences, const QString &firstName,
                      const QString &secondName, bool all)
{
    qsizetype notProgrammed = 0;
    for (const RelayDifference &difference : differences) {
        if (!difference.counts()) {
            ++notProgrammed;
            if (!all)
                continue;
        }
        out << difference.text(firstName, secondName);
        if (!difference.counts())
            out << CliText::tr(" (not programmed, does not count)");
        out << '\n';
    }
    if (notProgrammed > 0 && !all)
        out << (notProgrammed == 1
                    ? QCoreApplication::translate(
                          "CompareCommands", "1 field that is not programmed (PC control, contact) differs; "
                                             "--all lists it.")
                    : QCoreApplication::translate("CompareCommands",
                                                  "%1 fields that are not programmed (PC control, contact) "
                                                  "differ; --all lists them.")
                          .arg(notProgrammed))
            << '\n';
}

// Lines for stdout, through the port's terminal when there is one.
void writeOut(const QString &text, const TerminalView *terminal)
{
    if (terminal)
        terminal->out(text);
    else
        QTextStream(stdout) << text;
}

// The two sides of a comparison: their names in the JSON and in the lines.
struct Sides {
    QString firstKey;
    QString secondKey;
    QString firstName;
    QString secondName;
    bool all = false; // --all: the differences that do not count listed too
};

// Ends verify and diff: the JSON members, or one line per difference and the
// summary (sameText, or differText with the relays that differ for its %1).
int finishComparison(CommandReport &report, const QList<RelayDifference> &differences, const Sides &sides,
                     const QString &sameText, const QString &differText,
                     const TerminalView *terminal = nullptr)
{
    const QList<int> differing = relaysDiffering(differences);
    report.set(QStringLiteral("same"), differing.isEmpty());
    report.set(QStringLiteral("differing"), numbersJson(differing));
    report.set(QStringLiteral("differences"), differencesJson(differences, sides.firstKey, sides.secondKey));
    if (!report.json()) {
        QString text;
        QTextStream out(&text);
        printDifferences(out, differences, sides.firstName, sides.secondName, sides.all);
        out << (differing.isEmpty() ? sameText : differText.arg(relaysText(differing))) << ".\n";
        out.flush();
        writeOut(text, terminal);
    }
    return report.finish(differing.isEmpty() ? ExitOk : ExitDiffers);
}

Task<int> verifyOnPort(DeviceConnection *connection, int relay, RelayTable wanted, QString file, bool all)
{
    CommandReport &report = connection->report();
    const TerminalView &view = connection->view();
    QList<int> checked;
    DialogueResult result = DialogueResult::Done;
    int failedRelay = relay;
    if (relay > 0) {
        result = co_await connection->commands().readRelay(relay - 1);
        if (result == DialogueResult::Done)
            checked << relay;
    } else {
        const BulkOutcome outcome = co_await connection->commands().readAll(AllEnding::Quiet);
        result = outcome.result;
        failedRelay = outcome.relayIndex + 1;
        checked = firstRelays(outcome.relaysDone(RelayCount));
    }
    if (result != DialogueResult::Done) {
        if (result == DialogueResult::Cancelled)
            report.set(QStringLiteral("done"), numbersJson(checked));
        co_return report.dialogueFailed(CliText::tr("reading"), failedRelay, result, view.statusText());
    }
    QList<RelayDifference> differences;
    for (const int number : checked)
        differences +=
            compareRelays(wanted[size_t(number - 1)], connection->table()[size_t(number - 1)], number);

    report.set(QStringLiteral("relays"), numbersJson(checked));
    const QString fileSide = QStringLiteral("file");
    const QString deviceSide = QStringLiteral("device");
    co_return finishComparison(
        report, differences, {fileSide, deviceSide, CliText::tr("file"), CliText::tr("device"), all},
        CliText::tr("The device holds %1 (%2 checked)")
            .arg(file, checked.size() == RelayCount ? CliText::tr("all 16 relays") : relaysText(checked)),
        CliText::tr("The device differs from %1 in %2").arg(file, QStringLiteral("%1")), &view);
}

Task<int> verifyDevice(QStringList arguments)
{
    DeviceArgs args;
    if (const QString error = parseFileArgs(QStringLiteral("verify"), arguments,
                                            {QStringLiteral("--json"), QStringLiteral("--all")}, args);
        !error.isEmpty())
        co_return usageError(error);
    const QString file = input(args);
    const bool json = args.has(QStringLiteral("--json"));
    CommandReport report(QStringLiteral("verify"), json);
    report.set(QStringLiteral("file"), file);
    RelayTable wanted{};
    if (!loadTable(wanted, file, report))
        co_return ExitBadFile;
    DeviceConnections connections;
    if (const int exit = connectAll(connections, args, json); exit >= 0)
        co_return exit;
    for (const auto &connection : connections)
        connection->report().set(QStringLiteral("file"), file);
    const int relay = args.relay;
    const bool all = args.has(QStringLiteral("--all"));
    // Named: GCC 12 destroys a closure (or an awaiter) made in a statement that awaits twice.
    Task<int> onEveryPort = runOnEveryPort(std::move(connections), args.command, json,
                                           [relay, wanted, file, all](DeviceConnection *connection) {
                                               return verifyOnPort(connection, relay, wanted, file, all);
                                           });
    co_return co_await onEveryPort;
}

int diffFiles(const QStringList &arguments)
{
    QStringList files;
    bool json = false;
    bool all = false;
    for (const QString &arg : arguments) {
        if (arg == QStringLiteral("--json"))
            json = true;
        else if (arg == QStringLiteral("--all"))
            all = true;
        else if (arg.startsWith(u'-') && arg.size() > 1)
            return usageError(CliText::tr("diff: unknown option '%1'").arg(arg));
        else
            files << arg;
    }
    if (files.size() != 2)
        return usageError(CliText::tr("diff takes two files"));
    CommandReport report(QStringLiteral("diff"), json);
    report.set(QStringLiteral("files"), QJsonArray{files.at(0), files.at(1)});
    RelayTable first{};
    RelayTable second{};
    if (!loadTable(first, files.at(0), report) || !loadTable(second, files.at(1), report))
        return ExitBadFile;

    return finishComparison(report, compareTables(first, second),
                            {QStringLiteral("first"), QStringLiteral("second"),
                             QFileInfo(files.at(0)).fileName(), QFileInfo(files.at(1)).fileName(), all},
                            CliText::tr("The files configure every relay alike"),
                            CliText::tr("The files differ in %1"));
}

} // namespace

Task<int> programChangedRelays(DeviceConnection *connection, int relay, QString file)
{
    CommandReport &report = connection->report();
    TerminalView &view = connection->view();
    RelayTable device{}; // what the device holds, beside the file's table
    QList<int> relays;
    for (int number = 1; number <= RelayCount; ++number) {
        if (relay == 0 || relay == number)
            relays << number;
    }
    QList<int> programmed;
    QList<int> left;
    QList<RelayDifference> remaining;
    QJsonArray results;
    QString failedStep;
    int failedRelay = 0;
    DialogueResult result = DialogueResult::Done;
    for (const int number : relays) {
        view.setDone(int(programmed.size() + left.size()), int(relays.size()));
        view.setActionText(CliText::tr("Checking relay %1").arg(number));
        const size_t index = size_t(number - 1);
        const RelayConfig &wanted = connection->table()[index];
        failedRelay = number;
        failedStep = CliText::tr("reading");
        if (result = co_await connection->dialogues().readRelay(number - 1, &device);
            result != DialogueResult::Done)
            break;
        if (behavesAlike(wanted, device[index])) {
            left << number;
            results.append(
                QJsonObject{{QStringLiteral("relay"), number}, {QStringLiteral("programmed"), false}});
            continue;
        }
        failedStep = CliText::tr("programming");
        if (result = co_await connection->commands().programRelay(number - 1); result != DialogueResult::Done)
            break;
        programmed << number;
        failedStep = CliText::tr("reading back");
        if (result = co_await connection->dialogues().readRelay(number - 1, &device);
            result != DialogueResult::Done)
            break;
        QList<RelayDifference> differences = compareRelays(wanted, device[index], number);
        differences.removeIf([](const RelayDifference &difference) { return !difference.counts(); });
        remaining += differences;
        results.append(QJsonObject{{QStringLiteral("relay"), number},
                                   {QStringLiteral("programmed"), true},
                                   {QStringLiteral("verified"), differences.isEmpty()}});
    }
    view.setDone(int(relays.size()), int(relays.size()));
    report.set(QStringLiteral("relays"), results);
    report.set(QStringLiteral("programmed"), numbersJson(programmed));
    report.set(QStringLiteral("left"), numbersJson(left));
    report.set(QStringLiteral("differences"),
               differencesJson(remaining, QStringLiteral("file"), QStringLiteral("device")));
    if (result != DialogueResult::Done)
        co_return report.dialogueFailed(failedStep, failedRelay, result, view.statusText());
    if (!report.json()) {
        QString text;
        QTextStream out(&text);
        out << CliText::tr("Programmed relays: %1").arg(numbersText(programmed)) << '\n'
            << CliText::tr("Left as they were: %1").arg(numbersText(left)) << '\n';
        printDifferences(out, remaining, CliText::tr("file"), CliText::tr("device"), true);
        if (!remaining.isEmpty())
            out << CliText::tr("The device still differs from %1.").arg(file) << '\n';
        out.flush();
        view.out(text);
    }
    co_return report.finish(remaining.isEmpty() ? ExitOk : ExitDiffers);
}

QList<Command> comparisonCommands()
{
    return {{QStringLiteral("verify"), verifyDevice}, {QStringLiteral("diff"), atOnce(diffFiles)}};
}
