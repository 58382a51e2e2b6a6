#include "commandhelp.h"

#include "clitext.h"

#include <QList>

#include <algorithm>
#include <utility>

namespace
{

// One command's help, untranslated; each text is looked up under CliText when shown.
struct Page {
    const char *name;
    const char *synopsis;
    const char *summary;
    const char *options; // "OPTION\tWHAT" lines
    const char *example;
    QList<std::pair<int, const char *>> exits; // a null text: the code's usual meaning
};

const QList<Page> &pages()
{
    static const QList<Page> all = {
        {"show", "show FILE [--json]", QT_TRANSLATE_NOOP("CliText", "print a configuration file's relays in words"),
         QT_TRANSLATE_NOOP("CliText", "--json\tthe relays as the JSON document read --json prints"),
         "tavikctl show site.csv", {{0, nullptr}, {2, nullptr}, {3, nullptr}}},
        {"new", "new -o FILE", QT_TRANSLATE_NOOP("CliText", "write a configuration of 16 cleared relays"),
         QT_TRANSLATE_NOOP("CliText", "-o FILE\tthe file to write (.json: as JSON)"), "tavikctl new -o site.csv",
         {{0, nullptr}, {2, nullptr}, {8, nullptr}}},
        {"set", "set FILE --relay N [--mode NAME] [--gate NAME] [--inputs LIST] [--unlatch-gate NAME] "
                "[--unlatch-inputs LIST] [--time H:MM:SS.hh] [--pc-control on|off]",
         QT_TRANSLATE_NOOP("CliText", "change one relay of a configuration file in place"),
         QT_TRANSLATE_NOOP("CliText",
                           "--relay N\tthe relay to change, 1 to 16\n"
                           "--mode NAME\tMomentary, Toggle, Leading-Edge, Trailing-Edge, Either-Edge, "
                           "Pulse-Stretch, Min-Time, Max-Time, Debounce or Latching, in any case\n"
                           "--gate NAME\tOR, AND, XOR, IL, NOR, NAND, NXOR or NIL, in any case\n"
                           "--inputs LIST\tinput numbers 1 to 12, such as 1,3,12, or none\n"
                           "--unlatch-gate NAME\tthe gate that unlatches a Latching relay\n"
                           "--unlatch-inputs LIST\tthe inputs that unlatch a Latching relay\n"
                           "--time H:MM:SS.hh\tthe closure time, up to 45:59:59.99\n"
                           "--pc-control on|off\twhether the relay starts under PC control"),
         "tavikctl set site.csv --relay 5 --mode Min-Time --gate NAND --inputs 1,3",
         {{0, nullptr}, {2, nullptr}, {3, nullptr}, {8, nullptr}}},
        {"ports", "ports [--long] [--json] [DEVICE]", QT_TRANSLATE_NOOP("CliText", "list the serial ports"),
         QT_TRANSLATE_NOOP("CliText",
                           "--long\teach port's adapter: description, serial number, USB IDs, by-id link\n"
                           "--json\tan array of ports on stdout"),
         "tavikctl ports --long", {{0, nullptr}, {2, nullptr}}},
        {"doctor", "doctor [--port PORT]",
         QT_TRANSLATE_NOOP("CliText", "check what stands between you and the ports"),
         QT_TRANSLATE_NOOP("CliText", "--port PORT\tcheck this port only"), "tavikctl doctor",
         {{0, QT_TRANSLATE_NOOP("CliText", "nothing stands in the way")},
          {1, QT_TRANSLATE_NOOP("CliText", "a port cannot be opened, or there is none")},
          {2, nullptr}}},
        {"read", "read [--relay N] [-o FILE] [--json] DEVICE", QT_TRANSLATE_NOOP("CliText", "read relays from the device"),
         QT_TRANSLATE_NOOP("CliText",
                           "--relay N\tread relay N only\n"
                           "-o FILE\tsave all 16 to FILE (.json: as JSON; several ports: FILE with {port})\n"
                           "--json\tone JSON document on stdout"),
         "tavikctl read -o site.csv --port /dev/ttyUSB0",
         {{0, nullptr}, {1, nullptr}, {2, nullptr}, {8, nullptr}, {130, nullptr}}},
        {"program", "program -i FILE [--relay N] [--changed] [--json] DEVICE",
         QT_TRANSLATE_NOOP("CliText", "program relays from a configuration file"),
         QT_TRANSLATE_NOOP("CliText",
                           "-i FILE\tthe configuration to program (.json: as JSON)\n"
                           "--relay N\tprogram relay N only\n"
                           "--changed\tonly the relays the device holds otherwise, then read back\n"
                           "--json\tone JSON document on stdout"),
         "tavikctl program -i site.csv --changed --port /dev/ttyUSB0",
         {{0, nullptr}, {1, nullptr}, {2, nullptr}, {3, nullptr},
          {4, QT_TRANSLATE_NOOP("CliText", "--changed: the device still differs")}, {130, nullptr}}},
        {"verify", "verify -i FILE [--relay N] [--all] [--json] DEVICE",
         QT_TRANSLATE_NOOP("CliText", "check that the device holds a configuration file"),
         QT_TRANSLATE_NOOP("CliText",
                           "-i FILE\tthe configuration to check against\n"
                           "--relay N\tcheck relay N only\n"
                           "--all\talso list the fields that are never programmed (PC control, contact)\n"
                           "--json\tone JSON document on stdout"),
         "tavikctl verify -i site.csv --port /dev/ttyUSB0",
         {{0, nullptr}, {1, nullptr}, {2, nullptr}, {3, nullptr}, {4, nullptr}, {130, nullptr}}},
        {"diff", "diff [--all] [--json] FILE_A FILE_B", QT_TRANSLATE_NOOP("CliText", "compare two configuration files"),
         QT_TRANSLATE_NOOP("CliText",
                           "--all\talso list the fields that are never programmed\n"
                           "--json\tone JSON document on stdout"),
         "tavikctl diff old.csv new.json", {{0, nullptr}, {2, nullptr}, {3, nullptr}, {4, nullptr}}},
        {"report", "report -i FILE -o RECORD.pdf|RECORD.html [--title TEXT] [--page a4|letter]",
         QT_TRANSLATE_NOOP("CliText", "write a configuration's commissioning record"),
         QT_TRANSLATE_NOOP("CliText",
                           "-i FILE\tthe configuration\n"
                           "-o RECORD\tthe record, as PDF or HTML by its name\n"
                           "--title TEXT\tthe title on the record\n"
                           "--page a4|letter\tthe paper size (default: the locale's)"),
         "tavikctl report -i site.csv -o site.pdf --title 'Pump house'",
         {{0, nullptr}, {2, nullptr}, {3, nullptr}, {8, nullptr}}},
        {"pc-control", "pc-control on|off --relay N DEVICE",
         QT_TRANSLATE_NOOP("CliText", "put a relay under PC control, or release it"),
         QT_TRANSLATE_NOOP("CliText", "--relay N\tthe relay"), "tavikctl pc-control on --relay 5 --simulate",
         {{0, nullptr}, {1, nullptr}, {2, nullptr}, {130, nullptr}}},
        {"latch", "latch --relay N DEVICE", QT_TRANSLATE_NOOP("CliText", "latch a PC-controlled relay's input"),
         QT_TRANSLATE_NOOP("CliText", "--relay N\tthe relay"), "tavikctl latch --relay 5 --simulate",
         {{0, nullptr}, {1, nullptr}, {2, nullptr}, {130, nullptr}}},
        {"moment", "moment --relay N DEVICE", QT_TRANSLATE_NOOP("CliText", "pulse a PC-controlled relay's input"),
         QT_TRANSLATE_NOOP("CliText", "--relay N\tthe relay"), "tavikctl moment --relay 5 --simulate",
         {{0, nullptr}, {1, nullptr}, {2, nullptr}, {130, nullptr}}},
        {"help", "help [COMMAND]", QT_TRANSLATE_NOOP("CliText", "show this help, or a command's"), "",
         "tavikctl help program", {{0, nullptr}, {2, nullptr}}},
    };
    return all;
}

QString exitText(int code)
{
    switch (code) {
    case 0:
        return CliText::tr("done");
    case 1:
        return CliText::tr("a device failed");
    case 2:
        return CliText::tr("usage: an unknown command, option or value");
    case 3:
        return CliText::tr("a configuration file is missing, unreadable or malformed");
    case 4:
        return CliText::tr("the configurations differ");
    case 8:
        return CliText::tr("the output was not written");
    default:
        return CliText::tr("cancelled by SIGINT (130) or SIGTERM (143)");
    }
}

// The words of text after prefix, filled into lines of at most width
// columns, each line after the first indented by indent.
QString wrapped(const QString &prefix, const QString &text, int width, int indent)
{
    QString out = prefix;
    qsizetype column = prefix.size();
    for (const QString &word : text.split(u' ', Qt::SkipEmptyParts)) {
        const bool lineStart = column <= indent && out.endsWith(u' ');
        if (!lineStart && column > indent && column + 1 + word.size() > width) {
            out += u'\n' + QString(indent, u' ');
            column = indent;
        } else if (!lineStart && column > 0) {
            out += u' ';
            ++column;
        }
        out += word;
        column += word.size();
    }
    return out;
}

// "  NAME  text" a row, the texts lined up and wrapped under each other; a
// name too long for the column stands on a line of its own.
QString table(const QList<std::pair<QString, QString>> &rows, int columns)
{
    qsizetype nameWidth = 0;
    for (const auto &row : rows)
        nameWidth = std::max(nameWidth, row.first.size());
    const int indent = int(std::min<qsizetype>(nameWidth, 20)) + 4;
    QString out;
    for (const auto &[name, text] : rows) {
        QString head = QStringLiteral("  ") + name;
        if (head.size() + 2 > indent) {
            out += head + u'\n';
            head.clear();
        }
        out += wrapped(head.leftJustified(indent), text, columns, indent) + u'\n';
    }
    return out;
}

// A summary as the sentence that opens a command's page.
QString sentence(QString summary)
{
    if (!summary.isEmpty())
        summary[0] = summary.at(0).toUpper();
    return summary + u'.';
}

const Page *find(const QString &name)
{
    const auto it = std::find_if(pages().begin(), pages().end(),
                                 [&name](const Page &page) { return name == QLatin1String(page.name); });
    return it == pages().end() ? nullptr : &*it;
}

int editDistance(const QString &a, const QString &b)
{
    QList<int> row(b.size() + 1);
    for (qsizetype j = 0; j <= b.size(); ++j)
        row[j] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

} // namespace

namespace CommandHelp
{

QStringList commandNames()
{
    QStringList names;
    for (const Page &page : pages())
        names << QLatin1String(page.name);
    return names;
}

QString overview(int columns)
{
    QList<std::pair<QString, QString>> commands;
    for (const Page &page : pages())
        commands.append({QLatin1String(page.name), CliText::tr(page.summary)});
    const QList<std::pair<QString, QString>> options = {
        {QStringLiteral("--port PORT"),
         CliText::tr("a port number, ComN, serial:SERIAL, a device path, or a serial server's tcp://HOST:PORT or "
                     "rfc2217://HOST:PORT; again for more devices, each line then begins with its port")},
        {QStringLiteral("--ports-from FILE"), CliText::tr("the ports FILE names, one a line, # for comments")},
        {QStringLiteral("--simulate"), CliText::tr("the built-in simulated device")},
        {QStringLiteral("--help"), CliText::tr("this help; COMMAND --help, or help COMMAND, a command's own")},
        {QStringLiteral("--version"), CliText::tr("the version")},
    };
    return CliText::tr("Usage: tavikctl COMMAND [OPTIONS]") + QStringLiteral("\n\n")
           + wrapped({}, CliText::tr("Configures the Tavik relay expander from the command line. DEVICE below "
                                     "is --port PORT, --ports-from FILE or --simulate."),
                     columns, 0)
           + QStringLiteral("\n\n") + CliText::tr("Commands:") + u'\n' + table(commands, columns) + u'\n'
           + CliText::tr("Options:") + u'\n' + table(options, columns);
}

QString page(const QString &command, int columns)
{
    const Page *found = find(command);
    if (!found)
        return {};
    QString out = wrapped(CliText::tr("Usage:") + QLatin1String(" tavikctl"), QLatin1String(found->synopsis),
                          columns, 6)
                  + QStringLiteral("\n\n") + wrapped({}, sentence(CliText::tr(found->summary)), columns, 0) + u'\n';
    QList<std::pair<QString, QString>> options;
    const QString optionText = CliText::tr(found->options);
    for (const QString &line : optionText.split(u'\n', Qt::SkipEmptyParts))
        options.append({line.section(u'\t', 0, 0), line.section(u'\t', 1)});
    if (QLatin1String(found->synopsis).contains(QLatin1String("DEVICE")))
        options.append({QStringLiteral("DEVICE"), CliText::tr("--port PORT (again for more), --ports-from FILE or "
                                                               "--simulate; see tavikctl --help")});
    if (!options.isEmpty())
        out += u'\n' + CliText::tr("Options:") + u'\n' + table(options, columns);
    out += u'\n' + CliText::tr("Example:") + QStringLiteral("\n  ") + QLatin1String(found->example) + u'\n';
    QList<std::pair<QString, QString>> exits;
    for (const auto &[code, text] : found->exits) {
        const QString number = code == 130 ? QStringLiteral("130, 143") : QString::number(code);
        exits.append({number, text ? CliText::tr(text) : exitText(code)});
    }
    return out + u'\n' + CliText::tr("Exit codes:") + u'\n' + table(exits, columns);
}

QString closest(const QString &word)
{
    QString best;
    int bestDistance = 3; // more than two letters wrong is no longer a typing slip
    for (const QString &name : commandNames()) {
        const int distance = editDistance(word.toLower(), name);
        if (distance < bestDistance || (name.startsWith(word.toLower()) && word.size() >= 2 && best.isEmpty())) {
            best = name;
            bestDistance = std::min(distance, bestDistance);
        }
    }
    return best;
}

} // namespace CommandHelp
