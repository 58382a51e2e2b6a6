// The window's commissioning record (File > Print..., File > Export PDF...)
// and Help > About.
#include "window/recordprinting.h"

#include "base/appinfo.h"
#include "base/safesave.h"
#include "record/commissioningrecord.h"
#include "window/filechoice.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

#include <memory>

namespace
{

// The name the record gives the table: its file's, or the caption's for a table never saved.
QString recordFileName(const QString &currentFile)
{
    return currentFile.isEmpty() ? QStringLiteral("New.csv") : NameFromPath(currentFile);
}

} // namespace

void printRecord(QWidget *window, const RelayTable &table, const QString &currentFile, const StatusLine &say)
{
    // The dialog is window-modal and opened, not run: the window's commands go on meanwhile.
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setPageSize(CommissioningRecord::localPageSize());
    printer->setDocName(QCoreApplication::translate("MainWindow", "Commissioning record"));
    auto *dialog = new QPrintDialog(printer.get(), window);
    dialog->setObjectName(QStringLiteral("dlgPrint"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // The table as it is when the user confirms.
    QObject::connect(dialog, &QDialog::accepted, window, [&table, currentFile, say, printer] {
        const CommissioningRecord record(table, {{}, recordFileName(currentFile), QDate::currentDate()});
        if (!record.print(printer.get()))
            say(QCoreApplication::translate("MainWindow", "The record could not be printed."));
    });
    dialog->open();
}

void exportRecordPdf(QWidget *window, const RelayTable &table, const QString &currentFile,
                     const StatusLine &say)
{
    const QString proposed = QFileInfo(recordFileName(currentFile)).completeBaseName();
    const QString path = chooseFileToExport(window, proposed);
    if (path.isEmpty())
        return;
    const CommissioningRecord record(table, {{}, recordFileName(currentFile), QDate::currentDate()});
    const SafeSave written = record.writePdf(path, CommissioningRecord::localPageSize());
    say(written.saved()
            ? QCoreApplication::translate("MainWindow", "The record is written to %1.").arg(NameFromPath(path))
            : written.message(NameFromPath(path)) + u'.');
}

void showAbout(QWidget *window)
{
    auto *box = new QMessageBox(
        QMessageBox::Information, QCoreApplication::translate("MainWindow", "About %1").arg(AppInfo::title()),
        QCoreApplication::translate(
            "MainWindow", "<h3>%1</h3><p>Version %2</p><p>%3</p><p>The Tavik developers keep every right "
                          "to this program; it is given to the owners of Tavik relay expanders to use "
                          "with their devices.</p><p>Built with Qt %4, running on Qt %5.</p>")
            .arg(AppInfo::title(), AppInfo::versionText(), AppInfo::legalCopyright(),
                 QStringLiteral(QT_VERSION_STR), QString::fromLatin1(qVersion())),
        QMessageBox::Ok, window);
    box->setObjectName(QStringLiteral("dlgAbout"));
    box->setIconPixmap(window->windowIcon().pixmap(64, 64));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
