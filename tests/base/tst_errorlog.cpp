#include "base/errorlog.h"
#include "base/failure.h"

#include <QTemporaryDir>
#include <QtTest>

namespace
{

const QByteArray Header =
    "Tavik Configuration Manager v1.0.0 Error Log\r\n================================\r\n";
const QString TooLarge =
    "'ErrorLog.txt' is too large, indicating there's something wrong with the software and/or "
    "its components.\r\n\r\nPlease email the contents of 'ErrorLog.txt' shown in the Notepad "
    "window to Tavik Controls's support team.";
enum Outcome { Ignored, Appended, ShownAndDeleted };

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestErrorLog : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_path = m_dir.filePath("ErrorLog.txt");
    QStringList m_notices; // path, text, and whether the log was still there to be shown

private slots:
    void initTestCase()
    {
        // Beside the program while its folder takes it (else per user: tst_refusals).
        QCOMPARE(errorLogPath(), QCoreApplication::applicationDirPath() + "/ErrorLog.txt");
        setErrorLogPath(m_path);
        setOversizedLogNotice([this](const QString &path, const QString &text) {
            m_notices << path << text << (QFile::exists(path) ? "shown" : "gone");
        });
    }

    void eachMessage_data()
    {
        QTest::addColumn<int>("size"); // of the log before, header included; 0: no log
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("outcome");
        const QString handler = "Error 2001 (x) in procedure SaveTavikFile of Form frmMain on line 2";
        QTest::newRow("the first starts the log") << 0 << handler << int(Appended);
        QTest::newRow("400") << 100 << "Error 400 (Form already displayed) in procedure Main" << int(Ignored);
        QTest::newRow("401, no log made") << 0 << "Error 401 (Can't show form) in x" << int(Ignored);
        QTest::newRow("400 second of three words") << 100 << "a 400 b" << int(Ignored);
        QTest::newRow("4000") << 100 << "Error 4000 (x) in procedure P" << int(Appended);
        QTest::newRow("40") << 100 << "Error 40 (x) in procedure P" << int(Appended);
        QTest::newRow("400 first") << 100 << "400 Error (x)" << int(Appended);
        QTest::newRow("two words") << 100 << "Error 400" << int(Appended);
        QTest::newRow("131071 bytes") << 131071 << handler << int(Appended);
        QTest::newRow("131072 bytes") << 131072 << handler << int(ShownAndDeleted);
    }
    void eachMessage()
    {
        QFETCH(int, size);
        QFETCH(QString, message);
        QFETCH(int, outcome);
        QFile::remove(m_path);
        m_notices.clear();
        if (QFile log(m_path); size > 0)
            QVERIFY(log.open(QIODevice::WriteOnly) && log.write(Header.leftJustified(size, 'x')) == size);
        const auto stamp = [] {
            return QDateTime::currentDateTime().toString("MM/dd/yyyy HH:mm ").toLatin1();
        };
        const QByteArray before = readAll(m_path), earlyStamp = stamp();
        LogError(message);
        const QByteArray after = readAll(m_path), entry = message.toLatin1() + "\r\n";
        const QByteArray start = size ? before : Header;
        if (outcome == Appended)
            QVERIFY(after == start + earlyStamp + entry || after == start + stamp() + entry);
        else
            QCOMPARE(after, outcome == Ignored ? before : QByteArray());
        QCOMPARE(QFile::exists(m_path), outcome == Appended || (size > 0 && outcome == Ignored));
        QCOMPARE(m_notices,
                 (outcome == ShownAndDeleted ? QStringList{m_path, TooLarge, "shown"} : QStringList()));
    }

    void handlersNameTheFailureTheProcedureAndTheModule()
    {
        QCOMPARE(handlerMessage(5, "Invalid call", "FilterLookup", 3, Module::DialogModule),
                 "Error 5 (Invalid call) in procedure FilterLookup of Module modDLG on line 3");
        QFile::remove(m_path);
        logFailure(Failure::FileShort, "OpenTavikFile", 8, "cut.csv");
        QVERIFY(readAll(m_path).endsWith(" Error 2003 (The file ends before its last relay line: cut.csv) in "
                                         "procedure OpenTavikFile of Form frmMain on line 8\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestErrorLog)
#include "tst_errorlog.moc"
