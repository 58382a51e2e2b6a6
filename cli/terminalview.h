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

    // A whole-table step ("Reading relay 3"): on a terminal the progress
    // line, on a pipe a line of its own ("Reading relay 3 of 16..."), with
    // --quiet nothing. Other action texts say nothing a terminal user needs.
    void setActionText(const QString &text);
    // Relays done of total behind the step.
    void setDone(int done, int total);
    // --quiet: no progress and no summary.
    static void setQuiet(bool quiet) { s_quiet = quiet; }
    static bool quiet() { return s_quiet; }
    // The one-line account of what a command did ("Read 16 relays on
    // /dev/ttyUSB0 in 1.3 s"), on stderr; nothing with --quiet.
    void summarize(const QString &text) const;

private:
    QString tagged(const QString &text) const;

    QString m_tag;
    QString m_statusText;
    QString m_step;
    int m_done = 0;
    int m_total = 0;
    static inline bool s_quiet = false;
};
