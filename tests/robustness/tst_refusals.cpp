#include "base/errorlog.h"
#include "dialoguerig.h"
#include "processrunner.h"
#include "ptydevice.h"
#include "window/mainwindow.h"
#include "mainwindowprobe.h"

#include <QtTest>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

// Files, folders and ports that refuse. Root ignores file permissions and exclusive port locks, so under root
// each test runs again in a child as the unprivileged user 65534 (setpriv), and passes when the child does.
class TestRefusals : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_log = m_dir.filePath("ErrorLog.txt");

    // The copy gets its mode here: the build's umask may have kept others out of the original.
    static bool copyForAll(const QString &from, const QString &to, mode_t mode)
    {
        return QFile::exists(to) || (QFile::copy(from, to) && chmod(qPrintable(to), mode) == 0);
    }

    // Where the child runs: copies of this program and of tavikctl (both linked statically) and its own home, as
    // the build may lie where that user cannot enter, such as /root. Empty when no such folder can be made.
    static QString childFolder()
    {
        static QTemporaryDir dir;
        static const bool ready = [] {
            const QString home = dir.filePath("home");
            if (!dir.isValid() || chmod(qPrintable(dir.path()), 0755) != 0 || !QDir().mkdir(home) ||
                chmod(qPrintable(home), 0777) != 0)
                return false;
            for (const QString &program : {QCoreApplication::applicationFilePath(), QString(TAVIKCTL_PATH)})
                if (!copyForAll(program, dir.filePath(QFileInfo(program).fileName()), 0755))
                    return false;
            for (QString folder = dir.path(); folder != "/"; folder = QFileInfo(folder).path())
                if (!QFileInfo(folder).permission(QFile::ExeOther))
                    return false;
            return true;
        }();
        return ready ? dir.path() : QString();
    }

    // True when the test is to run here.
    static bool runsHere(const QString &foreignPort = {})
    {
        if (geteuid() != 0)
            return true;
        const QString folder = childFolder();
        if (folder.isEmpty()) {
            QTest::qSkip("no folder that user 65534 can enter takes copies of the programs (is the "
                         "temporary folder closed to others?)",
                         __FILE__, __LINE__);
            return false;
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *home : {"HOME", "TMPDIR"})
            env.insert(home, folder + "/home");
        env.insert("TAVIK_FOREIGN_PORT", foreignPort);
        env.insert("TAVIKCTL_PATH", folder + "/tavikctl");
        // A sanitizer that cannot read its suppressions (in the checkout) stops the program: the child reads a copy.
        for (const char *sanitizer : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"}) {
            QString options = env.value(sanitizer);
            const auto found = QRegularExpression("suppressions=([^:,\\s]+)").match(options);
            const QString copy = folder + '/' + sanitizer + ".supp";
            if (found.hasMatch() && copyForAll(found.captured(1), copy, 0644))
                env.insert(sanitizer, options.replace(found.capturedStart(1), found.capturedLength(1), copy));
        }
        QString function = QTest::currentTestFunction();
        if (QTest::currentDataTag())
            function += u':' + QString::fromLatin1(QTest::currentDataTag());
        const QString program = folder + '/' + QFileInfo(QCoreApplication::applicationFilePath()).fileName();
        const ProcessRun child = runProcess(
            {"setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", program, function}, folder, env, 120000});
        QTest::qVerify(child.exitCode == 0 && !child.out.contains("SKIP   :"), "the unprivileged child passed",
                       (child.out + child.err).constData(), __FILE__, __LINE__);
        return false;
    }

    // tavikctl: the build's, or in the child the copy beside it.
    static QString tavikctlPath() { return qEnvironmentVariable("TAVIKCTL_PATH", TAVIKCTL_PATH); }

private slots:
    void init() { setErrorLogPath(m_log); }

    // The log at its boundaries: the user's own folder wherever the program is (root may write
    // beside any program), a link planted in its place, a forged line, a full log, no home.
    void theErrorLogHoldsAtItsBoundaries_data()
    {
        QTest::addColumn<QString>("planted"); // what lies at the log's path before
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("entry"); // the line after its time stamp; empty: nothing written
        const QString message = "Error 5 (Invalid call) in procedure ClearRelay of Form frmMain on line 2";
        QTest::newRow("in the user's folder") << "" << message << message;
        QTest::newRow("a planted link") << "link" << message << "";
        QTest::newRow("forged") << ""
                                << "E 5\r\n01/01/2000 00:00 E\x1b]0;t\x07\u2028 in procedure P"
                                << "E 5\\r\\n01/01/2000 00:00 E\\x1b]0;t\\x07\\u2028 in procedure P";
        QTest::newRow("full") << "full" << message << "";
        QTest::newRow("no home") << "no home" << message << "";
    }
    void theErrorLogHoldsAtItsBoundaries()
    {
        QFETCH(QString, planted);
        QFETCH(QString, message);
        QFETCH(QString, entry);
        QStandardPaths::setTestModeEnabled(true);
        const QByteArray home = qgetenv("HOME"), data = qgetenv("XDG_DATA_HOME");
        const auto restored = qScopeGuard([&] { qputenv("HOME", home), qputenv("XDG_DATA_HOME", data); });
        if (planted == "no home")
            qunsetenv("HOME"), qunsetenv("XDG_DATA_HOME");
        setErrorLogPath({});
        const QString path = errorLogPath(), previous = previousErrorLogPath();
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
        QCOMPARE(path, planted == "no home" ? QString() : folder + "/ErrorLog.txt");
        const QString target = m_dir.filePath("target");
        for (const QString &file : {path, previous, target})
            QFile::remove(file);
        const QByteArray full(ErrorLogLimit, 'x');
        QFile log(path), older(previous);
        if (planted == "link")
            QVERIFY(QFile::link(target, path));
        if (planted == "full")
            QVERIFY(log.open(QIODevice::WriteOnly) && log.write(full) == ErrorLogLimit &&
                    older.open(QIODevice::WriteOnly) && older.write("older") == 5);
        log.close();
        older.close();
        QCOMPARE(LogError(message), !entry.isEmpty());
        QCOMPARE(loggedPath(), entry.isEmpty() ? QString() : path);
        QVERIFY(!QFile::exists(target));
        // A full log is kept as the one previous log, never deleted.
        QCOMPARE(older.open(QIODevice::ReadOnly) ? older.readAll() : QByteArray(),
                 planted == "full" ? full : QByteArray());
        if (entry.isEmpty())
            return;
        QCOMPARE(loggedFailures(path).join('|').mid(17), entry);
        QCOMPARE(QFile::permissions(path),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    }

    void aPortThatCannotBeOpenedIsExplainedByTheDoctorTavikctlAndTheWindow_data()
    {
        QTest::addColumn<QString>("reason");
        QTest::newRow("not in its group") << ": it belongs to group dialout, and user nobody is not in that "
                                             "group. Fix: sudo usermod -aG dialout nobody, then log out and "
                                             "log in again.";
        QTest::newRow("held by another program") << " is in use by tavikctl (process ";
    }
    void aPortThatCannotBeOpenedIsExplainedByTheDoctorTavikctlAndTheWindow()
    {
        QFETCH(QString, reason);
        const bool permission = QByteArray(QTest::currentDataTag()) == "not in its group";
        PtyDevice device;
        device.setResponder([](char) { return QByteArray(); });
        QString foreign;
        // Only root can give a terminal to a group that the unprivileged child lacks.
        if (const group *dialout = getgrnam("dialout"); permission && geteuid() == 0 && dialout) {
            QVERIFY(chown(qPrintable(device.portPath()), 0, dialout->gr_gid) == 0);
            QVERIFY(chmod(qPrintable(device.portPath()), 0660) == 0);
            foreign = device.portPath();
        }
        if (!runsHere(foreign))
            return;
        foreign = qEnvironmentVariable("TAVIK_FOREIGN_PORT");
        if (permission && foreign.isEmpty())
            QSKIP("only root can give a terminal to a group this user lacks; run as root, the suite "
                  "tries it as user 65534");
        const QString port = privatePortPath(permission ? foreign : device.portPath());
        QProcess holder;
        if (!permission) {
            holder.start(tavikctlPath(), {"read", "--relay", "1", "--port", port});
            QTRY_VERIFY(device.received().startsWith('r')); // open, and waiting for the silent device
        }
        for (const QString command : {"doctor", "read"}) {
            const ProcessRun run = runProcess({tavikctlPath(), {command, "--port", port}, {}});
            QCOMPARE(run.exitCode, 1);
            QVERIFY2((command == "doctor" ? run.out : run.err).contains(reason.toUtf8()), run.out + run.err);
        }
        QVERIFY(permission || holder.waitForFinished());
        if (!permission)
            return; // the port list offers a port another program holds once it is free again
        MainWindow window;
        window.deviceLink().port().directory().addRuntimePort(port);
        window.setPreferredPort(port);
        window.start();
        MainWindowProbe probe(window);
        QVERIFY(probe.selected(MainWindowProbe::List::Port).endsWith(QFileInfo(port).fileName() + ')'));
        QVERIFY(probe.click("Read Relay"));
        QVERIFY2(probe.statusText().contains(reason), qPrintable(probe.statusText()));
    }
};

QTEST_MAIN(TestRefusals)
#include "tst_refusals.moc"
