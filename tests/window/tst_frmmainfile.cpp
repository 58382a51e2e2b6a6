// The File menu and the file dialogs, with the user's choice given to the dialog.
#include "window/moddlg.h"
#include "config/tavikfile.h"
#include "base/errorlog.h"
#include "base/titleversion.h"
#include "window/frmmain.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace
{

// Answers every dialog with the next of these paths (an empty one cancels)
// and keeps what each dialog was asked to show.
struct ScriptedDialogs {
    QStringList answers;
    QList<FileDialogRequest> requests;

    void install()
    {
        setFileDialogRunner([this](const FileDialogRequest &request) {
            requests << request;
            FileDialogAnswer answer;
            const QString path = answers.isEmpty() ? QString() : answers.takeFirst();
            if (!path.isEmpty())
                answer.files << path;
            answer.selectedFilter = request.selectedFilter;
            return answer;
        });
    }
};

QByteArray fileText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestFrmMainFile : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<frmMain> w;
    ScriptedDialogs dialogs;

    QString path(const QString &name) const { return dir->filePath(name); }
    RelayTable &table() { return w->relayTable(); }

    // A table that differs from a new one in relay 2 and relay 16.
    void editTable()
    {
        table()[1].RelayMode = 9;
        table()[1].InputMap[4] = true;
        table()[15].InputMode = 3;
    }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        setErrorLogPath(path(QStringLiteral("ErrorLog.txt")));
        dialogs = {};
        dialogs.install();
        w = std::make_unique<frmMain>();
        w->Form_Load();
    }
    void cleanup()
    {
        w.reset();
        setFileDialogRunner({});
    }

    void saveStraightAfterStartAsksForANameAndAddsTheExtension()
    {
        editTable();
        dialogs.answers << path(QStringLiteral("Tavik Config"));
        w->mnuFileSave->trigger();

        QCOMPARE(dialogs.requests.size(), 1);
        const FileDialogRequest &asked = dialogs.requests.first();
        QCOMPARE(asked.kind, FileDialogRequest::Kind::Save);
        QCOMPARE(asked.proposedName, QStringLiteral("Tavik Config"));
        QCOMPARE(asked.defaultSuffix, QStringLiteral("csv"));
        QCOMPARE(asked.nameFilters, QStringList({QStringLiteral("Tavik Config files (*.csv) (*.csv)"),
                                                 QStringLiteral("All files (*.*) (*)")}));
        QCOMPARE(asked.selectedFilter, 0);
        QVERIFY(asked.confirmOverwrite());
        QCOMPARE(asked.flags, 0x2 | 0x4);

        const QString written = path(QStringLiteral("Tavik Config.csv"));
        QCOMPARE(w->CurrentFile, written);
        QCOMPARE(w->windowTitle(), TitleVersion + QStringLiteral(" [Tavik Config.csv]"));
        QVERIFY(fileText(written).startsWith("Tavik Configuration File,"));

        // The file, read back, is the table; a second Save asks nothing.
        RelayTable readBack{};
        QString status;
        QCOMPARE(OpenTavikFile(readBack, written, status), qint16(0));
        QCOMPARE(readBack[1].RelayMode, qint16(9));
        QCOMPARE(readBack[15].InputMode, qint16(3));
        table()[2].RelayMode = 1;
        w->mnuFileSave->trigger();
        QCOMPARE(dialogs.requests.size(), 1);
        QCOMPARE(OpenTavikFile(readBack, written, status), qint16(0));
        QCOMPARE(readBack[2].RelayMode, qint16(1));
    }

    void cancellingSaveAsSavesNothing()
    {
        const QString caption = w->windowTitle();
        dialogs.answers << QString();
        w->mnuFileSaveAs->trigger();
        QCOMPARE(dialogs.requests.size(), 1);
        QCOMPARE(w->CurrentFile, QString());
        QCOMPARE(w->windowTitle(), caption);
        QCOMPARE(QDir(dir->path()).entryList({QStringLiteral("*.csv")}, QDir::Files), QStringList());
    }

    void openNamesTheFileWithoutABlankAndShowsTheSelectedRelay()
    {
        editTable();
        const QString file = path(QStringLiteral("site A.csv"));
        QCOMPARE(SaveTavikFile(table(), file), qint16(0));
        table() = RelayTable{};
        w->cboRelNum->setCurrentIndex(1);
        QCOMPARE(w->cboRelMode->currentText(), QStringLiteral("Momentary"));

        dialogs.answers << file;
        w->mnuFileOpen->trigger();

        const FileDialogRequest &asked = dialogs.requests.first();
        QCOMPARE(asked.kind, FileDialogRequest::Kind::Open);
        QVERIFY(asked.fileMustExist());
        QCOMPARE(asked.flags, 0x1000);
        QCOMPARE(asked.selectedFilter, 0);
        QCOMPARE(w->windowTitle(), TitleVersion + QStringLiteral("[site A.csv]"));
        QCOMPARE(w->CurrentFile, file);
        QCOMPARE(table()[1].RelayMode, qint16(9));
        QCOMPARE(w->cboRelMode->currentText(), QStringLiteral("Latching"));
        QVERIFY(w->txtStatus->toPlainText().startsWith(QStringLiteral("Date created: ")));
    }

    void openingABadFileChangesNothingAndSaveKeepsThePreviousFile()
    {
        const QString good = path(QStringLiteral("good.csv"));
        dialogs.answers << good;
        w->mnuFileSaveAs->trigger();
        const QString caption = w->windowTitle();
        editTable();
        const RelayTable edited = table();
        const QString bad = path(QStringLiteral("notes.csv"));
        QFile notes(bad);
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("shopping list\r\nmilk\r\n");
        notes.close();

        dialogs.answers << bad;
        w->mnuFileOpen->trigger();

        QCOMPARE(w->txtStatus->toPlainText(), QStringLiteral("Incorrect file format"));
        QCOMPARE(w->windowTitle(), caption);
        QCOMPARE(w->CurrentFile, good);
        QVERIFY(table() == edited);
        w->mnuFileSave->trigger();
        QCOMPARE(dialogs.requests.size(), 2);
        RelayTable readBack{};
        QString status;
        QCOMPARE(OpenTavikFile(readBack, good, status), qint16(0));
        QCOMPARE(readBack[1].RelayMode, qint16(9));
        QCOMPARE(fileText(bad), QByteArray("shopping list\r\nmilk\r\n"));
    }

    void newClearsTheTableAndKeepsTheFileName()
    {
        const QString file = path(QStringLiteral("kept.csv"));
        dialogs.answers << file;
        w->mnuFileSaveAs->trigger();
        editTable();
        table()[1].PCControl = true;
        w->setStatusText(QStringLiteral("old status"));

        w->mnuFileNew->trigger();

        QCOMPARE(w->windowTitle(), TitleVersion + QStringLiteral(" [New.csv]"));
        QCOMPARE(w->txtStatus->toPlainText(), QString());
        QCOMPARE(w->CurrentFile, file);
        QCOMPARE(table()[1].RelayMode, qint16(0));
        QCOMPARE(table()[15].InputMode, qint16(0));
        QVERIFY(table()[1].PCControl);
    }

    void theDialogsGiveNothingBackWhenCancelled()
    {
        QString FileName = QStringLiteral("x"), FileTitle = QStringLiteral("x"),
                Filter = QStringLiteral("Tavik Config files (*.csv)|*.csv"), InitDir, DlgTitle, DefaultExt;
        bool mustExist = true, multi = false, readOnly = false, hideReadOnly = false, overwrite = true;
        qint32 FilterIndex = 1, Owner = -1, Flags = 0x1;
        QVERIFY(!OpenDialog(FileName, FileTitle, mustExist, multi, readOnly, hideReadOnly, Filter,
                            FilterIndex, InitDir, DlgTitle, DefaultExt, Owner, Flags));
        QCOMPARE(FileName, QString());
        QCOMPARE(FileTitle, QString());
        QCOMPARE(Filter, QString());
        QCOMPARE(FilterIndex, -1);
        QCOMPARE(Flags, 0);
        // The hook and template bits never reach the dialog.
        QCOMPARE(dialogs.requests.last().flags, 0x1000 | 0x1);

        Filter = QStringLiteral("Tavik Config files (*.csv)|*.csv");
        FilterIndex = 1;
        Flags = 0x20 | 0x40;
        QVERIFY(!SaveDialog(FileName, FileTitle, overwrite, Filter, FilterIndex, InitDir, DlgTitle,
                            DefaultExt, Owner, Flags));
        QCOMPARE(FilterIndex, 0);
        QCOMPARE(dialogs.requests.last().flags, 0x2 | 0x4);
    }

    void aChosenFileComesBackWithItsNameAndFilterEntry()
    {
        setFileDialogRunner([this](const FileDialogRequest &request) {
            dialogs.requests << request;
            return FileDialogAnswer{{QStringLiteral("/data/site B")}, 1, true};
        });
        QString FileName, FileTitle,
            Filter = QStringLiteral("Tavik Config files (*.csv)|*.csv|All files (*.*)|*.*"), InitDir,
            DlgTitle, DefaultExt = QStringLiteral("csv");
        bool mustExist = true, multi = false, readOnly = false, hideReadOnly = false;
        qint32 FilterIndex = 1, Owner = -1, Flags = 0;
        QVERIFY(OpenDialog(FileName, FileTitle, mustExist, multi, readOnly, hideReadOnly, Filter, FilterIndex,
                           InitDir, DlgTitle, DefaultExt, Owner, Flags));
        QCOMPARE(FileName, QStringLiteral("/data/site B.csv"));
        QCOMPARE(FileTitle, QStringLiteral("site B.csv"));
        QCOMPARE(FilterIndex, 2);
        QCOMPARE(Filter, QStringLiteral("All files (*.*)") + QChar(u'\0') + QStringLiteral("*.*"));
        QVERIFY(readOnly);
        QCOMPARE(Flags, 0x1000 | 0x1);
    }

    void theNameOfAPathIsWhatFollowsTheLastSeparator_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("empty path") << QString() << QString();
        QTest::newRow("no separator") << QStringLiteral("site.csv") << QStringLiteral("site.csv");
        QTest::newRow("backslashes") << QStringLiteral("C:\\data\\site A.csv")
                                     << QStringLiteral("site A.csv");
        QTest::newRow("slashes") << QStringLiteral("/home/ann/site A.csv") << QStringLiteral("site A.csv");
        QTest::newRow("both, backslash last")
            << QStringLiteral("/mnt/c/data\\b.csv") << QStringLiteral("b.csv");
        QTest::newRow("ends in a separator") << QStringLiteral("/home/ann/") << QString();
    }
    void theNameOfAPathIsWhatFollowsTheLastSeparator()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QCOMPARE(NameFromPath(path), name);
    }

    void filterEntriesAreFoundByTheirNumber_data()
    {
        const QChar nul(u'\0');
        const QString text = QStringLiteral("Tavik Config files (*.csv)") + nul + QStringLiteral("*.csv") +
                             nul + QStringLiteral("All files (*.*)") + nul + QStringLiteral("*.*") + nul +
                             nul;
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("entry");
        QTest::newRow("first") << text << 1
                               << QStringLiteral("Tavik Config files (*.csv)") + nul +
                                      QStringLiteral("*.csv");
        QTest::newRow("second") << text << 2
                                << QStringLiteral("All files (*.*)") + nul + QStringLiteral("*.*");
        QTest::newRow("past the end") << text << 4 << QString();
        QTest::newRow("no NUL at all") << QStringLiteral("plain") << 1 << QString();
        QTest::newRow("last entry without its closing NUL")
            << QStringLiteral("a") + nul + QStringLiteral("b") << 1
            << QStringLiteral("a") + nul + QStringLiteral("b");
    }
    void filterEntriesAreFoundByTheirNumber()
    {
        QFETCH(QString, text);
        QFETCH(int, index);
        QFETCH(QString, entry);
        QCOMPARE(FilterLookup(text, index), entry);
    }

    void trimAtNullKeepsTheTextBeforeTheFirstNul()
    {
        QCOMPARE(TrimAtNull(QStringLiteral("name.csv") + QChar(u'\0') + QStringLiteral("junk")),
                 QStringLiteral("name.csv"));
        QCOMPARE(TrimAtNull(QStringLiteral("name.csv")), QStringLiteral("name.csv"));
    }
};

QTEST_MAIN(TestFrmMainFile)
#include "tst_frmmainfile.moc"
