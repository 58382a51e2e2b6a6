#include "base/errorlog.h"
#include "base/failure.h"

#include <QTemporaryDir>
#include <QtTest>

namespace
{

const QByteArray Header = "Tavik Configuration Manager v1.0.0 Error Log\r\n"
                          "================================\r\n";

QByteArray stampNow()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("MM/dd/yyyy HH:mm")).toLatin1();
}

} // namespace

class TestErrorLog : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;
    int m_notices = 0;
    QString m_noticePath;
    QString m_noticeText;
    bool m_logExistedDuringNotice = false;

    QByteArray logBytes()
    {
        QFile file(m_path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void writeLog(const QByteArray &bytes)
    {
        QFile file(m_path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    // Logs one message and returns the entry line it should have written,
    // allowing for the minute turning over during the call.
    QList<QByteArray> logAndExpect(const QString &message)
    {
        const QByteArray before = stampNow();
        LogError(message);
        const QByteArray after = stampNow();
        return {before + ' ' + message.toLatin1() + "\r\n", after + ' ' + message.toLatin1() + "\r\n"};
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("ErrorLog.txt"));
        setErrorLogPath(m_path);
        setOversizedLogNotice([this](const QString &path, const QString &text) {
            ++m_notices;
            m_noticePath = path;
            m_noticeText = text;
            m_logExistedDuringNotice = QFile::exists(path);
        });
    }

    void init()
    {
        QFile::remove(m_path);
        m_notices = 0;
        m_noticePath.clear();
        m_noticeText.clear();
        m_logExistedDuringNotice = false;
    }

    void cleanupTestCase()
    {
        setErrorLogPath({});
        setOversizedLogNotice({});
    }

    void theFirstEntryStartsTheFileWithTitleAndRule()
    {
        const QString message = QStringLiteral(
            "Error 2001 (The file could not be opened) in procedure OpenTavikFile of Form frmMain on line 3");
        const QList<QByteArray> entries = logAndExpect(message);
        const QByteArray bytes = logBytes();
        QVERIFY2(bytes == Header + entries.first() || bytes == Header + entries.last(), bytes.constData());
    }

    void laterEntriesAreAppendedWithoutAnotherHeader()
    {
        const QList<QByteArray> first =
            logAndExpect(QStringLiteral("Error 1001 (x) in procedure A of Form frmMain on line 1"));
        const QList<QByteArray> second =
            logAndExpect(QStringLiteral("Error 1002 (y) in procedure B of Module modDLG on line 2"));
        const QByteArray bytes = logBytes();
        QVERIFY(bytes.startsWith(Header));
        QCOMPARE(bytes.count("Error Log"), 1);
        QVERIFY(bytes.endsWith(second.first()) || bytes.endsWith(second.last()));
        QVERIFY(bytes.contains(first.first()) || bytes.contains(first.last()));
        QCOMPARE(bytes.count("\r\n"), 4);
        QCOMPARE(bytes.count('\n'), 4);
    }

    void formErrors400And401AreNeverLogged_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("logged");
        QTest::newRow("400 is not logged")
            << QStringLiteral(
                   "Error 400 (Form already displayed) in procedure Form_Load of Form frmMain on line 0")
            << false;
        QTest::newRow("401 is not logged")
            << QStringLiteral(
                   "Error 401 (Can't show non-modal form) in procedure Main of Form frmMain on line 0")
            << false;
        QTest::newRow("any second word of 400 with three words is not logged")
            << QStringLiteral("a 400 b") << false;
        QTest::newRow("402 is logged")
            << QStringLiteral("Error 402 (x) in procedure P of Form frmMain on line 0") << true;
        QTest::newRow("4000 is logged")
            << QStringLiteral("Error 4000 (x) in procedure P of Form frmMain on line 0") << true;
        QTest::newRow("40 is logged")
            << QStringLiteral("Error 40 (x) in procedure P of Form frmMain on line 0") << true;
        QTest::newRow("400 as the first word is logged") << QStringLiteral("400 Error (x) here") << true;
        QTest::newRow("fewer than three words are logged unchanged") << QStringLiteral("Error 400") << true;
        QTest::newRow("a single word is logged unchanged") << QStringLiteral("401") << true;
    }
    void formErrors400And401AreNeverLogged()
    {
        QFETCH(QString, message);
        QFETCH(bool, logged);
        const QByteArray existing = Header + "01/02/2026 03:04 an earlier failure\r\n";
        writeLog(existing);
        const QList<QByteArray> entries = logAndExpect(message);
        const QByteArray bytes = logBytes();
        if (logged)
            QVERIFY2(bytes == existing + entries.first() || bytes == existing + entries.last(),
                     bytes.constData());
        else
            QCOMPARE(bytes, existing);
    }

    void anIgnoredErrorCreatesNoFile()
    {
        LogError(QStringLiteral("Error 400 (x) in procedure P of Form frmMain on line 0"));
        QVERIFY(!QFile::exists(m_path));
    }

    void theSizeLimitIsOneHundredTwentyEightKibibytes_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("oversized");
        QTest::newRow("131071 bytes take one more entry") << 131071 << false;
        QTest::newRow("131072 bytes are shown and deleted") << 131072 << true;
        QTest::newRow("200000 bytes are shown and deleted") << 200000 << true;
    }
    void theSizeLimitIsOneHundredTwentyEightKibibytes()
    {
        QFETCH(int, size);
        QFETCH(bool, oversized);
        QByteArray existing = Header;
        existing += QByteArray(size - existing.size(), 'x');
        writeLog(existing);

        const QString message =
            QStringLiteral("Error 2002 (Reading the file failed) in procedure OpenTavikFile of "
                           "Form frmMain on line 4");
        const QList<QByteArray> entries = logAndExpect(message);
        if (!oversized) {
            QCOMPARE(m_notices, 0);
            const QByteArray bytes = logBytes();
            QVERIFY(bytes == existing + entries.first() || bytes == existing + entries.last());
            return;
        }
        QCOMPARE(m_notices, 1);
        QCOMPARE(m_noticePath, m_path);
        QVERIFY(m_logExistedDuringNotice); // the user is shown the log before it goes
        QCOMPARE(m_noticeText,
                 QStringLiteral(
                     "'ErrorLog.txt' is too large, indicating there's something wrong with the software "
                     "and/or its components.\r\n\r\nPlease email the contents of 'ErrorLog.txt' shown in "
                     "the Notepad window to Tavik Controls's support team."));
        QVERIFY(!QFile::exists(m_path)); // deleted, and the triggering entry went nowhere

        const QList<QByteArray> next = logAndExpect(QStringLiteral("the next failure"));
        const QByteArray bytes = logBytes();
        QVERIFY2(bytes == Header + next.first() || bytes == Header + next.last(), bytes.constData());
        QCOMPARE(m_notices, 1);
    }

    void handlerMessagesNameTheProcedureAndItsModule_data()
    {
        QTest::addColumn<int>("module");
        QTest::addColumn<QString>("message");
        QTest::newRow("a procedure of the main window")
            << int(Module::Form)
            << QStringLiteral(
                   "Error 2001 (The file could not be opened) in procedure SaveTavikFile of Form frmMain on "
                   "line 2");
        QTest::newRow("a procedure of the file-dialog module")
            << int(Module::DialogModule)
            << QStringLiteral(
                   "Error 2001 (The file could not be opened) in procedure SaveTavikFile of Module modDLG on "
                   "line 2");
    }
    void handlerMessagesNameTheProcedureAndItsModule()
    {
        QFETCH(int, module);
        QFETCH(QString, message);
        QCOMPARE(handlerMessage(2001, QStringLiteral("The file could not be opened"),
                                QStringLiteral("SaveTavikFile"), 2, Module(module)),
                 message);
    }

    void logFailureWritesTheNumberedLineWithItsDetail()
    {
        const QList<QByteArray> expected = [] {
            const QByteArray before = stampNow();
            logFailure(Failure::FileShort, QStringLiteral("OpenTavikFile"), 8, QStringLiteral("cut.csv"));
            const QByteArray after = stampNow();
            const QByteArray text =
                " Error 2003 (The file ends before its last relay line: cut.csv) in procedure "
                "OpenTavikFile of Form frmMain on line 8\r\n";
            return QList<QByteArray>{Header + before + text, Header + after + text};
        }();
        const QByteArray bytes = logBytes();
        QVERIFY2(bytes == expected.first() || bytes == expected.last(), bytes.constData());
    }

    void fileExistsOnlyForFilesWhoseLengthCanBeRead_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("exists");
        QTest::newRow("a file") << QStringLiteral("present.txt") << true;
        QTest::newRow("a missing file") << QStringLiteral("absent.txt") << false;
        QTest::newRow("a path through a missing folder") << QStringLiteral("no/such/file.txt") << false;
        QTest::newRow("an empty path") << QString() << false;
    }
    void fileExistsOnlyForFilesWhoseLengthCanBeRead()
    {
        QFETCH(QString, name);
        QFETCH(bool, exists);
        QFile present(m_dir.filePath(QStringLiteral("present.txt")));
        QVERIFY(present.open(QIODevice::WriteOnly));
        present.close();
        QCOMPARE(FileExists(name.isEmpty() ? name : m_dir.filePath(name)), exists);
    }

    void theDefaultLogIsErrorLogTxt()
    {
        setErrorLogPath({});
        const QString path = errorLogPath();
        setErrorLogPath(m_path);
        QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("ErrorLog.txt"));
    }
};

QTEST_GUILESS_MAIN(TestErrorLog)
#include "tst_errorlog.moc"
