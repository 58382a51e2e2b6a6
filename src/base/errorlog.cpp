#include "base/errorlog.h"

#include "base/appinfo.h"
#include "base/logfolder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

QString &overridePath()
{
    static QString path;
    return path;
}

QString &lastWritten()
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

QString escaped(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\r')
            shown += QStringLiteral("\\r");
        else if (c == u'\n')
            shown += QStringLiteral("\\n");
        else if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line ||
                 c.category() == QChar::Separator_Paragraph)
            shown += c.unicode() > 0xff
                         ? QStringLiteral("\\u%1").arg(uint(c.unicode()), 4, 16, QLatin1Char('0'))
                         : QStringLiteral("\\x%1").arg(uint(c.unicode()), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
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
    const QString folder = logFolder();
    if (folder.isEmpty())
        return {};
    QDir().mkpath(folder);
    return folder + u'/' + LogName;
}

QString previousErrorLogPath()
{
    const QString path = errorLogPath();
    const QString stem = path.endsWith(QStringLiteral(".txt")) ? path.chopped(4) : path;
    return path.isEmpty() ? QString() : stem + QStringLiteral(".old.txt");
}

QString loggedPath()
{
    return lastWritten();
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

bool LogError(const QString &message)
{
    lastWritten().clear();
    if (isIgnoredError(message))
        return false;

    const QString path = errorLogPath();
    QFile file(path);
    if (path.isEmpty() || !openLogFile(file))
        return false; // nowhere to write: the caller carries on as after logging

    const qint64 length = file.size();
    if (length >= ErrorLogLimit) {
        file.close();
        // The full log is kept, as the one previous log: the notice names it.
        const QString previous = previousErrorLogPath();
        const auto keep = [&] {
            QFile::remove(previous);
            return QFile::rename(path, previous);
        };
        if (notice()) {
            notice()(path, oversizedLogText());
            keep();
        } else {
            std::fprintf(stderr, "%s\n%s\n", qPrintable(oversizedLogText()),
                         qPrintable(keep() ? previous : path));
        }
        return false;
    }

    QByteArray text;
    if (length == 0) {
        text += line(AppInfo::composeTitleVersion() + QStringLiteral(" Error Log"));
        text += line(QString(32, u'='));
    }
    text += line(QDateTime::currentDateTime().toString(QStringLiteral("MM/dd/yyyy HH:mm")) + u' ' +
                 escaped(message));
    if (file.write(text) != text.size() || !file.flush())
        return false;
    file.close();
    lastWritten() = path;
    return true;
}
