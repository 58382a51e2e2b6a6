#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The look of the controls: the desktop's own style wherever there is one.
// Qt builds it from the platform theme (Breeze on KDE, the Windows and macOS
// styles on their systems, Fusion on a plain X11 desktop) unless the user
// chose one with -style or QT_STYLE_OVERRIDE; either way it is left in
// force. Only a platform that names no style at all, where Qt falls back to
// its bare "Windows" look on a system that is not Windows, gets Fusion.
// Call InitVisualStyles once, after the QApplication exists and before the
// first window is shown.

// True when the user chose a style for this run, with -style on the command
// line or in QT_STYLE_OVERRIDE; that choice is then left alone.
bool styleForcedByUser(const QStringList &arguments, const QByteArray &styleOverride);

// The style to switch to, given the one in force: empty to leave it, or the
// one to choose where the platform offered none.
QString styleToChoose(const QString &styleInForce, bool forcedByUser);

// True when a style of the desktop's or the user's is in force.
bool IsThemed();

// Switches to a style of our choice only where IsThemed() is false.
void InitVisualStyles();

// Fusion with dark colours, for a dark desktop whose colours Qt does not pick
// up by itself (tavikgui --dark). Everything the window draws takes its
// colours from the palette, and the pictures carry their own light panel.
void UseDarkPalette();
