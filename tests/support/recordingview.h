#pragma once

#include "config/relayconfig.h"
#include "dialogues/dialogueview.h"

#include <QRegularExpression>
#include <QStringList>
#include <QVariant>

#include <array>
#include <functional>

// A DialogueView that remembers every call as a line ("action Relay read",
// "progress 3.583", "relayMode 9", ...) and keeps the editor state those
// calls set, so that tests can check both the sequence and the outcome.
class RecordingView : public DialogueView
{
public:
    void setStatusText(const QString &text) override { statusText = recorded("status", text); }
    void setActionText(const QString &text) override { actionText = recorded("action", text); }
    void setActionVisible(bool visible) override { recorded("actionVisible", visible); }
    double progressValue() const override { return m_progress; }
    double progressMaximum() const override { return 31; }
    void setProgressValue(double value) override
    {
        m_progress = value;
        recorded("progress", QString::number(value, 'f', 3));
        if (onProgress)
            onProgress(value);
    }
    void enableReadProg(bool enabled) override { recorded("enable", enabled); }
    int shownRelay() const override { return m_shownRelay; }
    int shownRelayMode() const override { return m_relayMode; }
    void showRelayMode(int relayMode) override { m_relayMode = recorded("relayMode", relayMode); }
    int shownInputMode() const override { return m_inputMode; }
    void showInputMode(int inputMode) override { m_inputMode = recorded("inputMode", inputMode); }
    bool shownInput(int input) const override { return m_inputs.at(size_t(input)); }
    void showInputState(int input, bool inMap) override
    {
        m_inputs.at(size_t(input)) = inMap;
        recorded("input", QStringLiteral("%1 %2").arg(input).arg(inMap ? "in" : "out"));
    }
    void showClosureTime(const RelayConfig &relay) override
    {
        recorded("closureTime",
                 QString::asprintf("%d %d %d.%02d", relay.Hours, relay.Minutes, relay.Seconds, relay.Hundredths));
    }
    void showPCControl(bool underPCControl) override { recorded("pcControl", underPCControl); }

    // The lines recorded whose first word is one of these ("action", "progress").
    QStringList calls(const QStringList &kinds = {}) const
    {
        if (kinds.isEmpty())
            return m_calls;
        return m_calls.filter(QRegularExpression(QStringLiteral("^(%1) ").arg(kinds.join(u'|'))));
    }
    // Calls that touch the editor (mode, gate, inputs, time, PC control).
    QStringList editorCalls() const
    {
        return calls({"relayMode", "inputMode", "input", "closureTime", "pcControl"});
    }

    void setShownRelay(int relay) { m_shownRelay = relay; }

    QString statusText;
    QString actionText = QStringLiteral("Waiting for command...");
    // Runs inside the dialogue as each progress value is set.
    std::function<void(double)> onProgress;

private:
    template <typename T> T recorded(const char *kind, const T &value)
    {
        m_calls << QString::fromLatin1(kind) + u' ' + QVariant::fromValue(value).toString();
        return value;
    }

    QStringList m_calls;
    int m_shownRelay = 0;
    double m_progress = 0;
    int m_relayMode = 0;
    int m_inputMode = 0;
    std::array<bool, InputCount> m_inputs{};
};
