#include "app/visualstyles.h"

#include <QApplication>
#include <QFile>
#include <QPalette>
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

void UseDarkPalette()
{
    if (QStyle *style = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(style);
    QPalette dark;
    const QColor text(0xe6, 0xe8, 0xeb), faded(0x80, 0x86, 0x8f);
    const QColor window(0x2b, 0x2f, 0x36), base(0x1e, 0x21, 0x26), button(0x38, 0x3d, 0x45);
    dark.setColor(QPalette::Window, window);
    dark.setColor(QPalette::WindowText, text);
    dark.setColor(QPalette::Base, base);
    dark.setColor(QPalette::AlternateBase, window);
    dark.setColor(QPalette::Text, text);
    dark.setColor(QPalette::Button, button);
    dark.setColor(QPalette::ButtonText, text);
    dark.setColor(QPalette::BrightText, Qt::white);
    dark.setColor(QPalette::ToolTipBase, base);
    dark.setColor(QPalette::ToolTipText, text);
    dark.setColor(QPalette::PlaceholderText, faded);
    dark.setColor(QPalette::Highlight, QColor(0x4c, 0x9a, 0xff));
    dark.setColor(QPalette::HighlightedText, Qt::black);
    dark.setColor(QPalette::Link, QColor(0x7c, 0xb6, 0xff));
    dark.setColor(QPalette::Light, button.lighter(150));
    dark.setColor(QPalette::Midlight, button.lighter(120));
    dark.setColor(QPalette::Mid, button.darker(120));
    dark.setColor(QPalette::Dark, button.darker(160));
    dark.setColor(QPalette::Shadow, Qt::black);
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(QPalette::Disabled, role, faded);
    QApplication::setPalette(dark);
}
