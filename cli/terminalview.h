#pragma once

#include <QString>

// What a session says, as a terminal shows it: the status text and the
// whole-table steps go to stderr; nothing else of a dialogue's is printed.
//
// With several ports at once each has its own, and every line it prints,
// on stdout or stderr, begins with its port's tag, as `parallel --tag` does.
class TerminalView
{
public:
    void setTag(const QString &tag) { m_tag = tag; }
    QString tag() const { return m_tag; }
    // Whole lines for stdout and stderr, tagged.
    void out(const QString &text) const;
    void err(const QString &text) const;

    void setStatusText(const QString &text);
    QString statusText() const { return m_statusText; }

    void setActionText(const QString &text) const;

private:
    QString tagged(const QString &text) const;

    QString m_tag;
    QString m_statusText;
};
