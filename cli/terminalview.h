#pragma once

#include "dialogues/dialogueview.h"

#include <QString>

// What the dialogues show, as a terminal shows it: the status text and the
// whole-table progress go to stderr; there is no editor, so every editor
// update falls on the floor. The live commands act on the relay shown, so a
// command that runs one sets it with showRelay().
class TerminalView : public EditorlessView
{
public:
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
    QString m_statusText;
    bool m_actionVisible = false;
    double m_progress = 0;
    int m_shownRelay = -1;
};
