#include "reportcommand.h"

#include "configurationfile.h"
#include "filecommands.h"
#include "record/commissioningrecord.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>

namespace
{

struct ReportArgs {
    QString input;
    QString output;
    QString title;
    QString page;
};

// The texts' context for translation.
struct Report {
    Q_DECLARE_TR_FUNCTIONS(ReportCommand)
};

// An empty text when the arguments are complete, else what is wrong with them.
QString parseReportArgs(const QStringList &args, ReportArgs &parsed)
{
    const QList<std::pair<QString, QString *>> options{{QStringLiteral("-i"), &parsed.input},
                                                       {QStringLiteral("-o"), &parsed.output},
                                                       {QStringLiteral("--title"), &parsed.title},
                                                       {QStringLiteral("--page"), &parsed.page}};
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        const auto option = std::find_if(options.cbegin(), options.cend(),
                                         [&arg](const auto &known) { return known.first == arg; });
        if (option == options.cend())
            return Report::tr("report: unexpected argument '%1'").arg(arg);
        if (i + 1 >= args.size())
            return Report::tr("report: %1 needs a value").arg(arg);
        *option->second = args.at(++i);
    }
    if (parsed.input.isEmpty() || parsed.output.isEmpty())
        return Report::tr("report needs -i FILE and -o RECORD.pdf or RECORD.html");
    const QString suffix = QFileInfo(parsed.output).suffix().toLower();
    if (suffix != QStringLiteral("pdf") && suffix != QStringLiteral("html") &&
        suffix != QStringLiteral("htm"))
        return Report::tr("report: -o must name a .pdf or .html file");
    parsed.page = parsed.page.toLower();
    if (!parsed.page.isEmpty() && parsed.page != QStringLiteral("a4") &&
        parsed.page != QStringLiteral("letter"))
        return Report::tr("report: --page takes a4 or letter");
    return {};
}

int writeReport(const QStringList &args)
{
    ReportArgs parsed;
    if (const QString error = parseReportArgs(args, parsed); !error.isEmpty())
        return usageError(error);

    RelayTable table{};
    FileFault fault;
    if (loadConfiguration(table, parsed.input, fault) != FileResult::Ok) {
        QTextStream(stderr) << "tavikctl: " << parsed.input << ": " << fileFaultPlace(fault) << fault.what
                            << '\n';
        return ExitBadFile;
    }

    const CommissioningRecord record(
        table, {parsed.title, QFileInfo(parsed.input).fileName(), QDate::currentDate()});
    QPageSize page = CommissioningRecord::localPageSize();
    if (!parsed.page.isEmpty())
        page = QPageSize(parsed.page == QStringLiteral("letter") ? QPageSize::Letter : QPageSize::A4);
    const SafeSave written = QFileInfo(parsed.output).suffix().toLower() == QStringLiteral("pdf")
                                 ? record.writePdf(parsed.output, page)
                                 : record.writeHtml(parsed.output);
    if (!written.saved()) {
        QTextStream(stderr) << "tavikctl: " << written.message(parsed.output) << '\n';
        return ExitNotWritten;
    }
    return ExitOk;
}

} // namespace

Command reportCommand()
{
    return {QStringLiteral("report"), atOnce(writeReport)};
}
