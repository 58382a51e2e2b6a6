#pragma once

#include <QString>

#include <functional>

class QWidget;

// The File menu's choice of a configuration file, in the desktop's own file
// dialog (QFileDialog).

// What the dialog is asked for.
struct FileChoice {
    enum class Purpose { Open, Save, ExportPdf };
    Purpose purpose = Purpose::Open;
    QWidget *parent = nullptr;
    QString proposedName; // Save: the name the dialog starts with
};

// Shows the dialog and gives the chosen path, or an empty one when the user
// cancels. Tests put their own in place of QFileDialog; an empty chooser
// restores it.
using FileChooser = std::function<QString(const FileChoice &request)>;
void setFileChooser(FileChooser chooser);

// An existing file.
QString chooseFileToOpen(QWidget *parent);
// Asks before replacing a file; a name typed without extension gets ".csv".
QString chooseFileToSave(QWidget *parent, const QString &proposedName);
// The same for a PDF: ".pdf" is added.
QString chooseFileToExport(QWidget *parent, const QString &proposedName);

// The part after the last "\" or "/"; the whole path when it has neither.
// The caption shows it.
QString NameFromPath(const QString &path);
