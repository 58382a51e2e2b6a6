#include "configurationfile.h"

#include "base/inputfile.h"
#include "base/safesave.h"
#include "clitext.h"
#include "config/relayjson.h"

#include <QFile>

namespace
{

// Sixteen relay objects indented take some 4 KiB; a document a thousand
// times that is not a configuration.
constexpr qsizetype MaxJsonBytes = 4 * 1024 * 1024;

} // namespace

bool namesJsonConfiguration(const QString &path)
{
    return path.endsWith(QLatin1String(".json"), Qt::CaseInsensitive);
}

FileResult loadConfiguration(RelayTable &table, const QString &path, FileFault &fault)
{
    if (!namesJsonConfiguration(path)) {
        QString status;
        return openConfigFile(table, path, status, &fault);
    }
    QFile file;
    if (QString error; !openInputFile(file, path, error)) {
        fault.what = error;
        return FileResult::Failed;
    }
    // A pipe gives what has arrived so far at each read, not the whole document.
    QByteArray document;
    for (QByteArray piece; document.size() <= MaxJsonBytes; document += piece) {
        piece = file.read(MaxJsonBytes + 1 - document.size());
        if (piece.isEmpty())
            break;
    }
    if (document.size() > MaxJsonBytes) {
        fault.what = CliText::tr("the file is larger than a configuration can be");
        return FileResult::BadJson;
    }
    const std::optional<RelayTable> read = RelayJson::table(document, &fault.what);
    if (!read)
        return FileResult::BadJson;
    table = *read;
    return FileResult::Ok;
}

bool saveConfiguration(const RelayTable &table, const QString &path, QString &problem)
{
    if (!namesJsonConfiguration(path))
        return saveConfigFile(table, path, &problem) == FileResult::Ok;
    const SafeSave saved = SafeSave::write(path, RelayJson::document(table));
    problem = saved.message(path);
    return saved.saved();
}
