#include "window/moddlg.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace
{

const QChar Nul(u'\0');

FileDialogAnswer runQFileDialog(const FileDialogRequest &request)
{
    QFileDialog dialog(request.hasOwner ? QApplication::activeWindow() : nullptr, request.title,
                       request.directory);
    const bool open = request.kind == FileDialogRequest::Kind::Open;
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    if (open)
        dialog.setFileMode(request.multiSelect()     ? QFileDialog::ExistingFiles
                           : request.fileMustExist() ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
    else
        dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite());
    // The descriptions carry their own patterns ("Tavik Config files (*.csv)").
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setNameFilters(request.nameFilters);
    if (request.selectedFilter >= 0 && request.selectedFilter < request.nameFilters.size())
        dialog.selectNameFilter(request.nameFilters.at(request.selectedFilter));
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.proposedName.isEmpty())
        dialog.selectFile(request.proposedName);

    FileDialogAnswer answer;
    if (dialog.exec() != QDialog::Accepted)
        return answer;
    answer.files = dialog.selectedFiles();
    answer.selectedFilter = int(request.nameFilters.indexOf(dialog.selectedNameFilter()));
    return answer;
}

FileDialogRunner &runner()
{
    static FileDialogRunner current = runQFileDialog;
    return current;
}

// "Description|pattern|..." as Qt name filters. Qt reads the patterns from the
// last brackets; "*.*" means every file, as "*" does here.
QStringList nameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &pattern : patterns)
            if (pattern.trimmed() == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        filters << parts.at(i) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters;
}

// The filter text as the dialogs hand it to FilterLookup: NUL-separated, ended by two NULs.
QString nulSeparated(const QString &filter)
{
    QString text = filter;
    text.replace(QLatin1Char('|'), Nul).replace(QLatin1Char(':'), Nul);
    return text + Nul + Nul;
}

struct Prepared {
    FileDialogRequest request;
    QString filterText;
};

Prepared prepare(FileDialogRequest::Kind kind, qint32 flags, const QString &FileName, const QString &Filter,
                 qint32 FilterIndex, const QString &InitDir, const QString &DlgTitle,
                 const QString &DefaultExt, qint32 OwnerWindow)
{
    Prepared prepared;
    FileDialogRequest &request = prepared.request;
    request.kind = kind;
    request.flags = flags;
    request.title = DlgTitle;
    request.directory = InitDir;
    request.proposedName = TrimAtNull(FileName);
    request.nameFilters = nameFilters(Filter);
    request.selectedFilter = FilterIndex - 1;
    request.defaultSuffix = DefaultExt;
    request.hasOwner = OwnerWindow != -1;
    prepared.filterText = nulSeparated(Filter);
    return prepared;
}

// The chosen path with the default extension, when the name has none.
QString withDefaultExtension(const QString &path, const QString &DefaultExt)
{
    if (DefaultExt.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QLatin1Char('.') + DefaultExt;
}

} // namespace

void setFileDialogRunner(FileDialogRunner newRunner)
{
    runner() = newRunner ? std::move(newRunner) : FileDialogRunner(runQFileDialog);
}

namespace {

// A cancelled or failed dialog hands back no name, no filter and no flags.
bool nothingChosen(QString &FileName, QString &FileTitle, QString &Filter, qint32 &Flags, qint32 &FilterIndex,
                   qint32 noIndex)
{
    FileName.clear();
    FileTitle.clear();
    Filter.clear();
    Flags = 0;
    FilterIndex = noIndex;
    return false;
}

} // namespace

bool OpenDialog(QString &FileName, QString &FileTitle, bool &FileMustExist, bool &MultiSelect, bool &ReadOnly,
                bool &HideReadOnly, QString &Filter, qint32 &FilterIndex, QString &InitDir, QString &DlgTitle,
                QString &DefaultExt, qint32 &OwnerWindow, qint32 &Flags)
{
    qint32 flags = Flags & ~(OFN_ENABLEHOOK | OFN_ENABLETEMPLATE);
    if (FileMustExist)
        flags |= OFN_FILEMUSTEXIST;
    if (MultiSelect)
        flags |= OFN_ALLOWMULTISELECT;
    if (ReadOnly)
        flags |= OFN_READONLY;
    if (HideReadOnly)
        flags |= OFN_HIDEREADONLY;
    const Prepared prepared = prepare(FileDialogRequest::Kind::Open, flags, FileName, Filter, FilterIndex,
                                      InitDir, DlgTitle, DefaultExt, OwnerWindow);
    const FileDialogAnswer answer = runner()(prepared.request);
    if (answer.files.isEmpty())
        return nothingChosen(FileName, FileTitle, Filter, Flags, FilterIndex, -1);
    if (MultiSelect && answer.files.size() > 1) {
        // The folder, then the chosen names, NUL-separated.
        QStringList parts{QFileInfo(answer.files.first()).absolutePath()};
        for (const QString &file : answer.files)
            parts << QFileInfo(file).fileName();
        FileName = parts.join(Nul);
        FileTitle.clear();
    } else {
        FileName = withDefaultExtension(answer.files.first(), DefaultExt);
        FileTitle = MultiSelect ? QString() : NameFromPath(FileName);
    }
    Flags = answer.readOnly ? flags | OFN_READONLY : flags & ~OFN_READONLY;
    FilterIndex = answer.selectedFilter + 1;
    Filter = FilterLookup(prepared.filterText, FilterIndex);
    ReadOnly = answer.readOnly;
    return true;
}

bool SaveDialog(QString &FileName, QString &FileTitle, bool &OverwritePrompt, QString &Filter,
                qint32 &FilterIndex, QString &InitDir, QString &DlgTitle, QString &DefaultExt,
                qint32 &OwnerWindow, qint32 &Flags)
{
    qint32 flags = (Flags & ~(OFN_ENABLEHOOK | OFN_ENABLETEMPLATE)) | OFN_HIDEREADONLY;
    if (OverwritePrompt)
        flags |= OFN_OVERWRITEPROMPT;
    const Prepared prepared = prepare(FileDialogRequest::Kind::Save, flags, FileName, Filter, FilterIndex,
                                      InitDir, DlgTitle, DefaultExt, OwnerWindow);
    const FileDialogAnswer answer = runner()(prepared.request);
    if (answer.files.isEmpty())
        return nothingChosen(FileName, FileTitle, Filter, Flags, FilterIndex, 0);
    FileName = withDefaultExtension(answer.files.first(), DefaultExt);
    FileTitle = NameFromPath(FileName);
    Flags = flags;
    FilterIndex = answer.selectedFilter + 1;
    Filter = FilterLookup(prepared.filterText, FilterIndex);
    return true;
}

QString FilterLookup(const QString &text, qint32 index)
{
    qsizetype start = 0;
    for (qint32 entry = 1;; ++entry) {
        const qsizetype first = text.indexOf(Nul, start);
        if (first < 0)
            return {};
        const qsizetype second = text.indexOf(Nul, first + 1);
        if (entry == index)
            return second < 0 ? text.mid(start) : text.mid(start, second - start);
        if (second < 0)
            return {};
        start = second + 1;
    }
}

QString TrimAtNull(const QString &text)
{
    const qsizetype nul = text.indexOf(Nul);
    return nul < 0 ? text : text.left(nul);
}

QString NameFromPath(const QString &path)
{
    const qsizetype slash = std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return path.mid(slash + 1);
}
