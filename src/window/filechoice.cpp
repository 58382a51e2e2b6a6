#include "window/filechoice.h"

#include <QCoreApplication>
#include <QFileDialog>

#include <algorithm>

namespace
{

QString runFileDialog(const FileChoice &request)
{
    const bool open = request.purpose == FileChoice::Purpose::Open;
    QFileDialog dialog(request.parent);
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    // In save mode QFileDialog asks before replacing a file.
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // The user reads the first brackets; Qt matches the hidden last ones, so
    // that "All files" also lists names without a dot, which "*.*" would not.
    const bool pdf = request.purpose == FileChoice::Purpose::ExportPdf;
    dialog.setNameFilters(
        {pdf ? QCoreApplication::translate("FileChoice", "PDF files (*.pdf) (*.pdf)")
             : QCoreApplication::translate("FileChoice", "Tavik Config files (*.csv) (*.csv)"),
         QCoreApplication::translate("FileChoice", "All files (*.*) (*)")});
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    if (!open) {
        dialog.setDefaultSuffix(pdf ? QStringLiteral("pdf") : QStringLiteral("csv"));
        dialog.selectFile(request.proposedName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

FileChooser &chooser()
{
    static FileChooser current = runFileDialog;
    return current;
}

} // namespace

void setFileChooser(FileChooser newChooser)
{
    chooser() = newChooser ? std::move(newChooser) : FileChooser(runFileDialog);
}

QString chooseFileToOpen(QWidget *parent)
{
    return chooser()(FileChoice{FileChoice::Purpose::Open, parent, {}});
}

QString chooseFileToSave(QWidget *parent, const QString &proposedName)
{
    return chooser()(FileChoice{FileChoice::Purpose::Save, parent, proposedName});
}

QString chooseFileToExport(QWidget *parent, const QString &proposedName)
{
    return chooser()(FileChoice{FileChoice::Purpose::ExportPdf, parent, proposedName});
}

QString NameFromPath(const QString &path)
{
    const qsizetype slash = std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return path.mid(slash + 1);
}
