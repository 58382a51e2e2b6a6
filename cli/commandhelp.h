#pragma once

#include <QString>
#include <QStringList>

// tavikctl's help: the list of commands, a line each, and each command's own
// page (what it does, its options, an example, its exit codes), wrapped to
// the terminal's width, or 80 columns on a pipe.
namespace CommandHelp
{

QStringList commandNames();
// The whole help: usage, the commands, the options every device command takes.
QString overview(int columns);
// One command's page; empty for a word that names no command.
QString page(const QString &command, int columns);
// The command a mistyped word most likely meant, or an empty text.
QString closest(const QString &word);

} // namespace CommandHelp
