#include "reporttext.h"

DialogueStep ReportText::await(const QByteArray &label)
{
    QByteArray text;
    return getString(text, label);
}

DialogueStep ReportText::collect(QByteArray &text, const QByteArray &start)
{
    text = start;
    return getString(text, "\r");
}

DialogueStep ReportText::getString(QByteArray &text, const QByteArray &prompt)
{
    bool seen = text.contains(prompt);
    while (!seen && m_position < m_report.size()) {
        text.append(m_report.at(m_position++));
        seen = text.endsWith(prompt);
    }
    return afterGetString(seen ? 0 : 1, m_result);
}
