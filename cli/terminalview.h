#pragma once

#include "dialogues/dialogueview.h"

#include <QString>

// What the dialogues show, as a terminal shows it: the status text and the
// whole-table progress go to stderr; there is no editor, so every editor
// update falls on the floor. The live commands act on the relay shown, so a
// command that runs one sets it with showRelay().
//
// With several ports at once each has its own, and every line it prints,
// on stdout or stderr, begins with its port's tag, as `parallel --tag` does.
class TerminalView : public EditorlessView
{
public:
    void setTag(const QString &tag) { m_tag = tag; }
    QString tag() const { return m_tag; }
    // Whole lines for stdout and stderr, tagged.
    void out(const QString &text) const;
    void err(const QString &text) const;

    void setStatusText(const QString &text) override;
    QString statusText() const { return m_statusText; }

    void setActionText(const QString &text) override;
    void setActionVisible(bool visible) override { m_actionVisible = visible; }

    double progressValue() const override { return m_progress; }
    double progressMaximum() const override { return 31; }
    void setProgressValue(double value) override { m_progress = value; }

    void enableReadProg(bool) override {}

    void showRelay(int index) { m_shownRelay = index; }
    int shownRelay() const override { return m_shownRelay; }

private:
    QString tagged(const QString &text) const;

    QString m_tag;
    QString m_statusText;
    bool m_actionVisible = false;
    double m_progress = 0;
    int m_shownRelay = -1;
};
