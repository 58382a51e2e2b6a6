#include "reporttext.h"

Task<DialogueStep> ReportText::awaitLabel(const char *label)
{
    QByteArray text;
    co_return getString(text, label);
}

Task<DialogueStep> ReportText::collect(QByteArray &text, const char *start)
{
    text = start;
    co_return getString(text, "\r");
}

DialogueStep ReportText::getString(QByteArray &text, const QByteArray &prompt)
{
    bool seen = text.contains(prompt);
    while (!seen && m_position < m_report.size()) {
        text.append(m_report.at(m_position++));
        seen = text.endsWith(prompt);
    }
    return afterPrompt(seen ? PromptResult::Seen : PromptResult::TimedOut, m_result);
}
