#include "base/errorlog.h"
#include "config/tavikfile.h"
#include "dialoguerig.h"

#include <QProcess>
#include <QSerialPort>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

// Files, folders and ports that refuse. Root ignores file permissions and
// exclusive port locks, so under root each test runs again in a child as the
// unprivileged user 65534 (setpriv), and passes when the child does.
class TestRefusals : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_log = m_dir.filePath("ErrorLog.txt");

    // True when the test is to run here.
    static bool runsHere()
    {
        if (geteuid() != 0)
            return true;
        static QTemporaryDir home; // the child's own, for its error log
        QFile::setPermissions(home.path(), QFileDevice::Permissions(0x7777));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *folder : {"HOME", "TMPDIR"})
            env.insert(folder, home.path());
        QProcess child;
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups",
                                QCoreApplication::applicationFilePath(), QTest::currentTestFunction()});
        const bool finished = child.waitForFinished(120000) && child.exitStatus() == QProcess::NormalExit;
        const QByteArray output = child.readAll();
        QTest::qVerify(finished && child.exitCode() == 0 && !output.contains("SKIP   :"),
                       "the unprivileged child passed", output.constData(), __FILE__, __LINE__);
        return false;
    }

private slots:
    void init() { setErrorLogPath(m_log); }

    void savingIntoAReadOnlyFolderFailsAndKeepsThePreviousFile()
    {
        if (!runsHere())
            return;
        const QString folder = m_dir.filePath("configs"), path = folder + "/Site.csv";
        QVERIFY(QDir().mkpath(folder));
        const auto saved = [&] {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        RelayTable table{};
        QCOMPARE(SaveTavikFile(table, path), qint16(0));
        const QByteArray previous = saved();
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        table[0].RelayMode = 9;
        QCOMPARE(SaveTavikFile(table, path), qint16(-1));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QCOMPARE(saved(), previous);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"Site.csv"});
        QCOMPARE(loggedFailures(m_log).filter(" in procedure SaveTavikFile of Form frmMain on line ").size(),
                 1);
    }

    void theErrorLogFallsBackToThePerUserFolderWhenTheProgramsFolderRefuses()
    {
        if (!runsHere())
            return;
        if (QFileInfo(QCoreApplication::applicationDirPath()).isWritable())
            QSKIP("the program's folder is writable for this user");
        setErrorLogPath({});
        const QString path =
            QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/ErrorLog.txt";
        QCOMPARE(errorLogPath(), path);
        QFile::remove(path);
        LogError("Error 5 (Invalid call) in procedure ClearRelay of Form frmMain on line 2");
        // One entry, after its time stamp.
        QCOMPARE(loggedFailures(path).join('|').mid(17),
                 "Error 5 (Invalid call) in procedure ClearRelay of Form frmMain on line 2");
    }

    void aPortHeldByAnotherProgramIsRefusedAndTheDialogueSaysSo()
    {
        if (!runsHere())
            return;
        DialogueRig rig;
        QVERIFY(rig.start());
        // Another program opens the port first; QSerialPort locks it (TIOCEXCL).
        QSerialPort holder(rig.portPath);
        QVERIFY2(holder.open(QIODevice::ReadWrite), qPrintable(holder.errorString()));
        QCOMPARE(rig.dialogues.ReadRelay(0), DialogueResult::TimedOut);
        QVERIFY(!rig.link.port().isOpen());
        QCOMPARE(rig.view.statusText,
                 "Could not communicate with Tavik. Please check COM settings, power, and signal cables.");
        QVERIFY(rig.device.received().isEmpty());
        QVERIFY(
            loggedFailures(m_log).join('|').contains(" in procedure OpenSerPort of Form frmMain on line "));
    }
};

QTEST_GUILESS_MAIN(TestRefusals)
#include "tst_refusals.moc"
