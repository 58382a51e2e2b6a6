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

QString nativeStyleName()
{
#if defined(Q_OS_WIN)
    return QStringLiteral("windowsvista");
#elif defined(Q_OS_MACOS)
    return QStringLiteral("macOS");
#else
    return QStringLiteral("Fusion");
#endif
}

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

bool IsThemed()
{
    if (styleForcedByUser(startArguments(), qgetenv("QT_STYLE_OVERRIDE")))
        return false;
    return QStyleFactory::keys().contains(nativeStyleName(), Qt::CaseInsensitive);
}

void InitVisualStyles()
{
    if (!IsThemed())
        return;
    if (QStyle *style = QStyleFactory::create(nativeStyleName()))
        QApplication::setStyle(style); // the application takes ownership
}
