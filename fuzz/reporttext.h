#pragma once

#include "dialogues/readparsing.h"

#include <QByteArray>

// A device report held whole, handed out as the prompt exchange hands out
// what arrives: one character at a time, appended until the text ends with
// what is awaited. Running out of characters is the device falling silent,
// which the dialogue ends with result 3.
class ReportText : public ReportLine
{
public:
    explicit ReportText(const QByteArray &report) : m_report(report) {}

    Task<DialogueStep> awaitLabel(const char *label) override;
    Task<DialogueStep> collect(QByteArray &text, const char *start) override;

    DialogueResult result() const { return m_result; }
    bool exhausted() const { return m_position >= m_report.size(); }

private:
    DialogueStep getString(QByteArray &text, const QByteArray &prompt);

    QByteArray m_report;
    qsizetype m_position = 0;
    DialogueResult m_result = DialogueResult::Done;
};
