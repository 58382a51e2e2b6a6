// The window's commissioning record (File > Print..., File > Export PDF...)
// and Help > About.
#include "window/mainwindow.h"

#include "base/appinfo.h"
#include "record/commissioningrecord.h"
#include "window/filechoice.h"
#include "window/mainwindowui.h"

#include <QAction>
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

void MainWindow::connectRecord()
{
    connect(m_ui->mnuFilePrint, &QAction::triggered, this, &MainWindow::printRecord);
    connect(m_ui->mnuFileExportPdf, &QAction::triggered, this, &MainWindow::exportRecordPdf);
    connect(m_ui->mnuHelpAbout, &QAction::triggered, this, &MainWindow::showAbout);
}

void MainWindow::printRecord()
{
    // The dialog is window-modal and opened, not run: the window's commands go on meanwhile.
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setPageSize(CommissioningRecord::localPageSize());
    printer->setDocName(tr("Commissioning record"));
    auto *dialog = new QPrintDialog(printer.get(), this);
    dialog->setObjectName(QStringLiteral("dlgPrint"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // The table as it is when the user confirms.
    connect(dialog, &QDialog::accepted, this, [this, printer] {
        const CommissioningRecord record(m_relayTable,
                                         {{}, recordFileName(m_currentFile), QDate::currentDate()});
        if (!record.print(printer.get()))
            setStatusText(tr("The record could not be printed."));
    });
    dialog->open();
}

void MainWindow::exportRecordPdf()
{
    const QString proposed = QFileInfo(recordFileName(m_currentFile)).completeBaseName();
    const QString path = chooseFileToExport(this, proposed);
    if (path.isEmpty())
        return;
    const CommissioningRecord record(m_relayTable, {{}, recordFileName(m_currentFile), QDate::currentDate()});
    const SafeSave written = record.writePdf(path, CommissioningRecord::localPageSize());
    setStatusText(written.saved() ? tr("The record is written to %1.").arg(NameFromPath(path))
                                  : written.message(NameFromPath(path)) + u'.');
}

void MainWindow::showAbout()
{
    auto *box =
        new QMessageBox(QMessageBox::Information, tr("About %1").arg(AppInfo::title()),
                        tr("<h3>%1</h3><p>Version %2</p><p>%3</p><p>The Tavik developers keep every right "
                           "to this program; it is given to the owners of Tavik relay expanders to use "
                           "with their devices.</p><p>Built with Qt %4, running on Qt %5.</p>")
                            .arg(AppInfo::title(), AppInfo::versionText(), AppInfo::legalCopyright(),
                                 QStringLiteral(QT_VERSION_STR), QString::fromLatin1(qVersion())),
                        QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("dlgAbout"));
    box->setIconPixmap(windowIcon().pixmap(64, 64));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
