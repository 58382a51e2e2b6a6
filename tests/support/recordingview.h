#pragma once

#include "config/relayconfig.h"
#include "dialogues/dialogueview.h"

#include <QStringList>

#include <array>
#include <functional>

// A DialogueView that remembers every call as a line ("action Relay read",
// "progress 3.58", "relayMode 9", ...) and keeps the editor state those
// calls set, so that tests can check both the sequence and the outcome.
class RecordingView : public DialogueView
{
public:
    void setStatusText(const QString &text) override;
    void setActionText(const QString &text) override;
    void setActionVisible(bool visible) override;
    double progressValue() const override { return m_progress; }
    double progressMaximum() const override { return m_progressMaximum; }
    void setProgressValue(double value) override;
    void enableReadProg(bool enabled) override;
    int shownRelay() const override { return m_shownRelay; }
    int shownRelayMode() const override { return m_relayMode; }
    void showRelayMode(int relayMode) override;
    int shownInputMode() const override { return m_inputMode; }
    void showInputMode(int inputMode) override;
    bool shownInput(int input) const override { return m_inputs.at(size_t(input)); }
    void showInputState(int input, bool inMap) override;
    void showClosureTime(const RelayConfig &relay) override;
    void showPCControl(bool underPCControl) override;

    // The lines recorded whose first word is one of these ("action", "progress").
    QStringList calls(const QStringList &kinds = {}) const;
    void clearCalls() { m_calls.clear(); }
    // Calls that touch the editor (mode, gate, inputs, time, PC control).
    QStringList editorCalls() const;

    void setShownRelay(int relay) { m_shownRelay = relay; }
    void setProgressMaximum(double maximum) { m_progressMaximum = maximum; }

    QString statusText;
    QString actionText = QStringLiteral("Waiting for command...");
    bool actionVisible = true;
    bool readProgEnabled = true;
    QString closureTime; // "h m s.hh" as the text boxes show it
    bool pcControlBox = false;
    // Runs inside the dialogue as each progress value is set.
    std::function<void(double)> onProgress;

private:
    QStringList m_calls;
    int m_shownRelay = 0;
    double m_progress = 0;
    double m_progressMaximum = 31;
    int m_relayMode = 0;
    int m_inputMode = 0;
    std::array<bool, InputCount> m_inputs{};
};
