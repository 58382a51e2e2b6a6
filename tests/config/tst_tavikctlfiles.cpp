// Runs the built tavikctl as a user would and checks its output and exit codes.
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace
{

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run runCommand(const QString &program, const QStringList &args, const QString &folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, args);
    Run run;
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

Run tavikctl(const QStringList &args, const QString &folder)
{
    return runCommand(QStringLiteral(TAVIKCTL_PATH), args, folder);
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    file.write(bytes);
}

} // namespace

class TestTavikctlFiles : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void aNewFileShowsItsDateAndSixteenClearedRelays()
    {
        const Run made =
            tavikctl({QStringLiteral("new"), QStringLiteral("-o"), QStringLiteral("a.csv")}, m_dir.path());
        QCOMPARE(made.exitCode, 0);
        QVERIFY(made.err.isEmpty());
        const QByteArray file = readBytes(m_dir.filePath(QStringLiteral("a.csv")));
        QVERIFY(file.startsWith("Tavik Configuration File,\r\n"));
        QVERIFY(
            file.endsWith("\r\n, Relay 16, 0, 0, BIN 000000000000, 0, BIN 000000000000, HEX 000000, 0,\r\n"));

        const Run shown = tavikctl({QStringLiteral("show"), QStringLiteral("a.csv")}, m_dir.path());
        QCOMPARE(shown.exitCode, 0);
        QVERIFY(!shown.out.contains('\r'));
        const QList<QByteArray> lines = shown.out.split('\n');
        QCOMPARE(lines.size(), 18);
        QVERIFY(QRegularExpression(QStringLiteral("^Date created: \\d\\d-\\d\\d-\\d{4} \\d\\d:\\d\\d$"))
                    .match(QString::fromLatin1(lines.first()))
                    .hasMatch());
        QCOMPARE(lines.at(1), QByteArray("1, 0, 0, 0x000000"));
        QCOMPARE(lines.at(16), QByteArray("16, 0, 0, 0x000000"));
        QVERIFY(lines.last().isEmpty());
    }

    void aTwoInAMapExitsSixAndSaysWhere()
    {
        QVERIFY(tavikctl({QStringLiteral("new"), QStringLiteral("-o"), QStringLiteral("b.csv")}, m_dir.path())
                    .exitCode == 0);
        QByteArray bytes = readBytes(m_dir.filePath(QStringLiteral("b.csv")));
        const QByteArray line = ", Relay 3, 0, 0, BIN 000000000000, 0, BIN 000000000000,";
        const qsizetype at = bytes.indexOf(line);
        QVERIFY(at > 0);
        bytes[at + 45] = '2'; // fourth character of relay 3's unlatch map
        writeBytes(m_dir.filePath(QStringLiteral("b.csv")), bytes);

        const Run shown = tavikctl({QStringLiteral("show"), QStringLiteral("b.csv")}, m_dir.path());
        QCOMPARE(shown.exitCode, 6);
        QCOMPARE(shown.out, QByteArray("Incorrect file format\n"));
        QVERIFY2(shown.err.contains("line 7"), shown.err.constData());
        QVERIFY2(shown.err.contains("column 46"), shown.err.constData());
        QVERIFY2(shown.err.contains("'2'"), shown.err.constData());
    }

    void aFileCutShortExitsEight()
    {
        const QByteArray head =
            "Tavik Configuration File,\r\n\"(c) 2026 Tavik Controls\",\r\nDate created: 01-02-2026 "
            "03:04\r\n, Relay Number, Relay Mode, Input Mode, InputMap, Counter, PC-Control,\r\n"
            ", Relay 1, 1, 2, BIN 000000000000, 0, BIN 000000000000, HEX 000010, 0,\r\n";
        writeBytes(m_dir.filePath(QStringLiteral("cut.csv")), head);
        const Run shown = tavikctl({QStringLiteral("show"), QStringLiteral("cut.csv")}, m_dir.path());
        QCOMPARE(shown.exitCode, 8);
        QCOMPARE(shown.out, QByteArray("Date created: 01-02-2026 03:04\n1, 1, 2, 0x000010\n"));
        QVERIFY(!shown.err.isEmpty());
    }

    void usageErrorsExitTwo_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no command") << QStringList{};
        QTest::newRow("an unknown command") << QStringList{QStringLiteral("frobnicate")};
        QTest::newRow("show without a file") << QStringList{QStringLiteral("show")};
        QTest::newRow("show with two files")
            << QStringList{QStringLiteral("show"), QStringLiteral("a"), QStringLiteral("b")};
        QTest::newRow("show with an unknown option")
            << QStringList{QStringLiteral("show"), QStringLiteral("--fast"), QStringLiteral("a.csv")};
        QTest::newRow("new without -o") << QStringList{QStringLiteral("new")};
        QTest::newRow("new with -o but no file") << QStringList{QStringLiteral("new"), QStringLiteral("-o")};
        QTest::newRow("new with a bare file") << QStringList{QStringLiteral("new"), QStringLiteral("a.csv")};
        QTest::newRow("new with two outputs")
            << QStringList{QStringLiteral("new"), QStringLiteral("-o"), QStringLiteral("a"),
                           QStringLiteral("-o"), QStringLiteral("b")};
    }
    void usageErrorsExitTwo()
    {
        QFETCH(QStringList, args);
        const Run run = tavikctl(args, m_dir.path());
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.err.startsWith("tavikctl: "));
        QVERIFY(run.out.isEmpty());
    }

    void helpNamesBothFileCommands()
    {
        const Run run = tavikctl({QStringLiteral("--help")}, m_dir.path());
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains("show FILE"));
        QVERIFY(run.out.contains("new -o FILE"));
    }

    void aNewFileThatCannotBeSavedLeavesTheOldOneIntact()
    {
        // A read-only folder stops a plain user's save; root ignores the mode
        // bits, so then the tool runs as nobody.
        QString program = QStringLiteral(TAVIKCTL_PATH);
        QStringList prefix;
        if (geteuid() == 0) {
            const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
            if (setpriv.isEmpty())
                QSKIP("running as root without setpriv: cannot make a folder read-only");
            prefix = {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                      QStringLiteral("--clear-groups"), program};
            program = setpriv;
        }
        const QString folder = m_dir.filePath(QStringLiteral("readonly"));
        QVERIFY(QDir().mkpath(folder));
        const QString target = folder + QStringLiteral("/old.csv");
        const QByteArray old = "the previous configuration\r\n";
        writeBytes(target, old);
        const auto readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                              QFile::ReadOther | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(folder, readOnly));
        QVERIFY(QFile::setPermissions(m_dir.path(), readOnly | QFile::WriteOwner));
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));

        const QStringList args = prefix + QStringList{QStringLiteral("new"), QStringLiteral("-o"), target};
        const Run run = runCommand(program, args, folder);

        QFile::setPermissions(folder, readOnly | QFile::WriteOwner);
        QCOMPARE(run.exitCode, 8);
        QVERIFY(run.err.contains("old.csv"));
        QCOMPARE(readBytes(target), old);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("old.csv")});
    }
};

QTEST_GUILESS_MAIN(TestTavikctlFiles)
#include "tst_tavikctlfiles.moc"
