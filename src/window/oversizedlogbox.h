#pragma once

#include <QString>
#include <QUrl>

#include <functional>

class QWidget;

// The notice of an oversized error log as a window user gets it: the log
// opens in the desktop's own text editor, and a modal message box asks for it
// to be sent to support. The log's owner deletes the log once this returns.
namespace OversizedLogBox
{

// How the log is handed to the desktop (QDesktopServices by default); tests
// give one that launches nothing.
using Opener = std::function<bool(const QUrl &)>;
void setOpener(Opener opener);

void show(QWidget *parent, const QString &logPath, const QString &text);

} // namespace OversizedLogBox
