#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The file dialogs (modDLG): simple arguments in, the platform's standard
// open and save dialogs, the user's choice out. The window's File menu is
// their only caller.

// The flag values the dialogs take and give back.
constexpr qint32 OFN_READONLY = 0x1;
constexpr qint32 OFN_OVERWRITEPROMPT = 0x2;
constexpr qint32 OFN_HIDEREADONLY = 0x4;
constexpr qint32 OFN_ENABLEHOOK = 0x20;
constexpr qint32 OFN_ENABLETEMPLATE = 0x40;
constexpr qint32 OFN_ALLOWMULTISELECT = 0x200;
constexpr qint32 OFN_FILEMUSTEXIST = 0x1000;

// What a dialog is asked to show, prepared from the arguments.
struct FileDialogRequest {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    qint32 flags = 0;  // the OFN_ flags the arguments give
    QString title;     // empty: the platform's default title
    QString directory; // empty: the platform's choice
    QString proposedName;
    QStringList nameFilters; // Qt name filters, one per filter entry
    int selectedFilter = 0;  // index into nameFilters
    QString defaultSuffix;   // added to a name typed without extension
    bool hasOwner = false;

    bool fileMustExist() const { return flags & OFN_FILEMUSTEXIST; }
    bool multiSelect() const { return flags & OFN_ALLOWMULTISELECT; }
    bool confirmOverwrite() const { return flags & OFN_OVERWRITEPROMPT; }
};

// What the user chose; no files when the dialog was cancelled.
struct FileDialogAnswer {
    QStringList files;      // full paths
    int selectedFilter = 0; // index into the request's nameFilters
    bool readOnly = false;  // the read-only box was checked
};

// Shows the dialog. The default one is QFileDialog; tests put their own in place.
using FileDialogRunner = std::function<FileDialogAnswer(const FileDialogRequest &)>;
void setFileDialogRunner(FileDialogRunner runner); // an empty runner restores QFileDialog

bool OpenDialog(QString &FileName, QString &FileTitle, bool &FileMustExist, bool &MultiSelect, bool &ReadOnly,
                bool &HideReadOnly, QString &Filter, qint32 &FilterIndex, QString &InitDir, QString &DlgTitle,
                QString &DefaultExt, qint32 &OwnerWindow, qint32 &Flags);

bool SaveDialog(QString &FileName, QString &FileTitle, bool &OverwritePrompt, QString &Filter,
                qint32 &FilterIndex, QString &InitDir, QString &DlgTitle, QString &DefaultExt,
                qint32 &OwnerWindow, qint32 &Flags);

// Entry `index` (from 1) of a NUL-separated filter text: "description" NUL "pattern".
QString FilterLookup(const QString &text, qint32 index);
// The text before the first NUL.
QString TrimAtNull(const QString &text);
// The part after the last "\" or "/"; the whole path when it has neither.
QString NameFromPath(const QString &path);
