#include "base/errorlog.h"

#include "base/appinfo.h"
#include "base/logfolder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdio>

namespace {

QString &overridePath()
{
    static QString path;
    return path;
}

OversizedLogNotice &notice()
{
    static OversizedLogNotice handler;
    return handler;
}

const QString LogName = QStringLiteral("ErrorLog.txt");

// The run time never logs its own "form already shown" errors (400, 401).
bool isIgnoredError(const QString &message)
{
    const QStringList words = message.split(u' ');
    if (words.size() < 3)
        return false;
    const QString &second = words.at(1);
    qsizetype digits = 0;
    while (digits < second.size() && second.at(digits).isDigit())
        ++digits;
    const int number = second.left(digits).toInt();
    return number == 400 || number == 401;
}

QByteArray line(const QString &text)
{
    return text.toLocal8Bit() + "\r\n";
}

} // namespace

bool FileExists(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

void setErrorLogPath(const QString &path)
{
    overridePath() = path;
}

QString errorLogPath()
{
    if (!overridePath().isEmpty())
        return overridePath();
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString besideProgram = programDir + u'/' + LogName;
    if (!programDir.isEmpty() && programFolderTakesLog(besideProgram))
        return besideProgram;
    const QString userDir = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    QDir().mkpath(userDir);
    return userDir + u'/' + LogName;
}

void setOversizedLogNotice(OversizedLogNotice handler)
{
    notice() = std::move(handler);
}

QString oversizedLogText()
{
    return QCoreApplication::translate(
               "ErrorLog", "'ErrorLog.txt' is too large, indicating there's something wrong with the "
                           "software and/or its components.\r\n\r\nPlease email the contents of "
                           "'ErrorLog.txt' shown in the Notepad window to %1's support team.")
        .arg(AppInfo::companyName());
}

void LogError(const QString &message)
{
    if (isIgnoredError(message))
        return;

    const QString path = errorLogPath();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return; // nowhere to write: the caller carries on as after logging

    const qint64 length = file.size();
    if (length >= ErrorLogLimit) {
        file.close();
        if (notice())
            notice()(path, oversizedLogText());
        else
            std::fprintf(stderr, "%s\n%s\n", qPrintable(oversizedLogText()), qPrintable(path));
        if (FileExists(path))
            QFile::remove(path);
        return;
    }

    QByteArray text;
    if (length == 0) {
        text += line(AppInfo::composeTitleVersion() + QStringLiteral(" Error Log"));
        text += line(QString(32, u'='));
    }
    text += line(QDateTime::currentDateTime().toString(QStringLiteral("MM/dd/yyyy HH:mm")) + u' ' + message);
    file.write(text);
    file.close();
}
