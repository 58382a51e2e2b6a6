#include "app/visualstyles.h"

#include <QApplication>
#include <QFile>
#include <QStyle>
#include <QStyleFactory>

namespace
{

// The command line as the program was started. QApplication takes its own
// options, -style among them, out of argv, so on Linux they are read back
// from the kernel's copy; elsewhere Qt's list is all there is (on Windows it
// is the untouched command line anyway).
QStringList startArguments()
{
    QFile cmdline(QStringLiteral("/proc/self/cmdline"));
    if (!cmdline.open(QIODevice::ReadOnly))
        return QCoreApplication::arguments();
    QStringList arguments;
    const QList<QByteArray> parts = cmdline.readAll().split('\0');
    for (const QByteArray &part : parts)
        arguments.append(QString::fromLocal8Bit(part));
    if (!arguments.isEmpty() && arguments.last().isEmpty())
        arguments.removeLast(); // the list ends with a terminator
    return arguments;
}

} // namespace

bool styleForcedByUser(const QStringList &arguments, const QByteArray &styleOverride)
{
    if (!styleOverride.trimmed().isEmpty())
        return true;
    // Qt accepts "-style name", "-style=name" and the same with two dashes.
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString argument = arguments.at(i);
        if (argument.startsWith(QLatin1String("--")))
            argument.remove(0, 1);
        if (argument == QLatin1String("-style") && i + 1 < arguments.size())
            return true;
        if (argument.startsWith(QLatin1String("-style=")))
            return true;
    }
    return false;
}

QString styleToChoose(const QString &styleInForce, bool forcedByUser)
{
#if defined(Q_OS_WIN)
    const bool fallback = false; // "Windows" is the system's own there
#else
    const bool fallback = styleInForce.compare(QLatin1String("Windows"), Qt::CaseInsensitive) == 0;
#endif
    return forcedByUser || !fallback ? QString() : QStringLiteral("Fusion");
}

namespace
{

QString styleToChooseNow()
{
    return styleToChoose(QApplication::style()->name(),
                         styleForcedByUser(startArguments(), qgetenv("QT_STYLE_OVERRIDE")));
}

} // namespace

bool IsThemed()
{
    return styleToChooseNow().isEmpty();
}

void InitVisualStyles()
{
    const QString choice = styleToChooseNow();
    if (choice.isEmpty())
        return;
    if (QStyle *style = QStyleFactory::create(choice))
        QApplication::setStyle(style); // the application takes ownership
}
