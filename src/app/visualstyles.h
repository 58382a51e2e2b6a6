#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The look of the controls: the platform's own Qt style where Qt has one
// ("windowsvista" on Windows, "macOS" on macOS), Fusion elsewhere. Call
// InitVisualStyles once, after the QApplication exists and before the first
// window is shown.

// The style key native to the platform the program was built for.
QString nativeStyleName();

// True when the user chose a style for this run, with -style on the command
// line or in QT_STYLE_OVERRIDE; that choice is then left alone.
bool styleForcedByUser(const QStringList &arguments, const QByteArray &styleOverride);

// True when the native style can be switched on: Qt offers it and the user
// has not forced another.
bool IsThemed();

// Switches the application to the native style when IsThemed(); otherwise
// leaves the style Qt chose.
void InitVisualStyles();
