#include "config/tavikfile.h"
#include "dialoguerig.h"
#include "base/errorlog.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSerialPort>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

// Files, folders and ports that refuse. Root ignores file permissions and
// exclusive port locks, so under root every case runs again in a child
// process as the unprivileged user 65534 (setpriv), and the test passes
// when the child does.
class TestRefusals : public QObject
{
    Q_OBJECT

    static bool isRoot() { return geteuid() == 0; }

    // Runs this one test function in a child without root. True when it ran
    // here instead (not root); false after the child has been checked.
    static bool runUnprivileged(const char *function)
    {
        if (!isRoot())
            return true;
        const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        if (setpriv.isEmpty()) {
            QTest::qSkip("setpriv is missing, and root ignores what is tested", __FILE__, __LINE__);
            return false;
        }
        // The child's home is a folder of its own: it keeps its error log there.
        static QTemporaryDir home;
        chmod(QFile::encodeName(home.path()).constData(), 0777);
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + QStringLiteral("/data"));
        env.insert(QStringLiteral("TMPDIR"), home.path());
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(setpriv, {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                              QStringLiteral("--clear-groups"), QCoreApplication::applicationFilePath(),
                              QString::fromLatin1(function)});
        const bool finished = child.waitForFinished(120000);
        const QByteArray output = child.readAll();
        if (!finished || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0 ||
            output.contains("SKIP   :"))
            qWarning("%s", output.constData());
        if (QTest::qVerify(finished, "finished", "the unprivileged child did not finish", __FILE__,
                           __LINE__) &&
            QTest::qVerify(child.exitCode() == 0, "exitCode", "the unprivileged child failed", __FILE__,
                           __LINE__))
            QTest::qVerify(!output.contains("SKIP   :"), "no skip", "the unprivileged child skipped",
                           __FILE__, __LINE__);
        return false;
    }

private slots:
    void savingIntoAReadOnlyFolderFailsAndKeepsThePreviousFile()
    {
        if (!runUnprivileged("savingIntoAReadOnlyFolderFailsAndKeepsThePreviousFile"))
            return;
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        setErrorLogPath(dir.filePath(QStringLiteral("ErrorLog.txt")));
        const QString folder = dir.filePath(QStringLiteral("configs"));
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/Site.csv");
        RelayTable table{};
        table[0].RelayMode = 1;
        QCOMPARE(SaveTavikFile(table, path), qint16(0));
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray previous = saved.readAll();
        saved.close();

        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        table[0].RelayMode = 9;
        QCOMPARE(SaveTavikFile(table, path), qint16(-1));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), previous);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Site.csv")});
        const QStringList failures = loggedFailures(dir.filePath(QStringLiteral("ErrorLog.txt")));
        QCOMPARE(failures.size(), 1);
        QVERIFY(failures.first().contains(
            QStringLiteral(" in procedure SaveTavikFile of Form frmMain on line ")));
    }

    void theErrorLogFallsBackToThePerUserFolderWhenTheProgramsFolderRefuses()
    {
        if (!runUnprivileged("theErrorLogFallsBackToThePerUserFolderWhenTheProgramsFolderRefuses"))
            return;
        const QString programFolder = QCoreApplication::applicationDirPath();
        if (QFileInfo(programFolder).isWritable())
            QSKIP("the program's folder is writable for this user");
        setErrorLogPath({});
        const QString path = errorLogPath();
        QVERIFY2(!path.startsWith(programFolder + u'/'), qPrintable(path));
        QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("ErrorLog.txt"));
        QVERIFY(path.startsWith(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)));
        QFile::remove(path);
        LogError(QStringLiteral(
            "Error 5 (Invalid procedure call) in procedure ClearRelay of Form frmMain on line 2"));
        const QStringList lines = loggedFailures(path);
        QCOMPARE(lines.size(), 1);
        QVERIFY(lines.first().endsWith(QStringLiteral(
            " Error 5 (Invalid procedure call) in procedure ClearRelay of Form frmMain on line 2")));
        QVERIFY(!QFile::exists(programFolder + QStringLiteral("/ErrorLog.txt")) ||
                QFileInfo(programFolder + QStringLiteral("/ErrorLog.txt")).lastModified() <
                    QFileInfo(path).lastModified());
    }

    void aPortHeldByAnotherProgramIsRefusedAndTheDialogueSaysSo()
    {
        if (!runUnprivileged("aPortHeldByAnotherProgramIsRefusedAndTheDialogueSaysSo"))
            return;
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString logPath = dir.filePath(QStringLiteral("ErrorLog.txt"));
        setErrorLogPath(logPath);
        DialogueRig rig;
        QVERIFY(rig.start());
        // Another program opens the port first; QSerialPort locks it (TIOCEXCL).
        QSerialPort holder(rig.device.portPath());
        QVERIFY2(holder.open(QIODevice::ReadWrite), qPrintable(holder.errorString()));

        QCOMPARE(rig.dialogues.ReadRelay(0), qint16(3));
        QVERIFY(!rig.link.port().isOpen());
        QCOMPARE(rig.view.statusText, QStringLiteral("Could not communicate with Tavik. Please check COM "
                                                     "settings, power, and signal cables."));
        QVERIFY(holder.isOpen());
        QVERIFY(rig.device.received().isEmpty());
        const QStringList failures = loggedFailures(logPath);
        QVERIFY(
            !failures.filter(QStringLiteral(" in procedure OpenSerPort of Form frmMain on line ")).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRefusals)
#include "tst_refusals.moc"
