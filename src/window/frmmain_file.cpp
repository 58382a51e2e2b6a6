// The File menu: new, open, save, save as, exit.
#include "window/frmmain.h"

#include "window/moddlg.h"
#include "config/tavikfile.h"
#include "base/titleversion.h"

#include <QComboBox>

namespace
{

const QString ConfigFilter = QStringLiteral("Tavik Config files (*.csv)|*.csv|All files (*.*)|*.*");

} // namespace

void frmMain::mnuFileNew_Click()
{
    // The file name stays: Save after New writes the cleared table to it.
    for (qint16 index = 0; index < RelayCount; ++index)
        ClearRelay(index);
    setWindowTitle(TitleVersion + QStringLiteral(" [New.csv]"));
    setStatusText(QString());
}

void frmMain::mnuFileOpen_Click()
{
    QString FileName, FileTitle, Filter = ConfigFilter, InitDir, DlgTitle, DefaultExt;
    bool FileMustExist = true, MultiSelect = false, ReadOnly = false, HideReadOnly = false;
    qint32 FilterIndex = 1, OwnerWindow = -1, Flags = 0;
    OpenDialog(FileName, FileTitle, FileMustExist, MultiSelect, ReadOnly, HideReadOnly, Filter, FilterIndex,
               InitDir, DlgTitle, DefaultExt, OwnerWindow, Flags);
    if (FileName.isEmpty())
        return;

    QString status;
    const qint16 result = OpenTavikFile(m_relayTable, FileName, status);
    setStatusText(status);
    if (result != 0)
        return;
    ChangeRelayNum(qint16(cboRelNum->currentIndex()));
    setWindowTitle(TitleVersion + QStringLiteral("[") + NameFromPath(FileName) + QStringLiteral("]"));
    CurrentFile = FileName;
}

void frmMain::mnuFileSave_Click()
{
    if (CurrentFile.isEmpty()) {
        mnuFileSaveAs_Click();
        return;
    }
    if (SaveTavikFile(m_relayTable, CurrentFile) == 0)
        setWindowTitle(TitleVersion + QStringLiteral(" [") + NameFromPath(CurrentFile) + QStringLiteral("]"));
}

void frmMain::mnuFileSaveAs_Click()
{
    QString FileName = QStringLiteral("Tavik Config"), FileTitle, Filter = ConfigFilter, InitDir, DlgTitle,
            DefaultExt = QStringLiteral("csv");
    bool OverwritePrompt = true;
    qint32 FilterIndex = 1, OwnerWindow = -1, Flags = 0;
    SaveDialog(FileName, FileTitle, OverwritePrompt, Filter, FilterIndex, InitDir, DlgTitle, DefaultExt,
               OwnerWindow, Flags);
    if (FileName.isEmpty())
        return;
    // The name is kept even when writing then fails.
    CurrentFile = FileName;
    mnuFileSave_Click();
}

void frmMain::mnuFileExit_Click()
{
    // A dialogue that is still running then fails at its next step and ends;
    // the window closes once it has.
    if (m_link.port().isOpen())
        m_link.port().CloseSerPort();
    close();
}
