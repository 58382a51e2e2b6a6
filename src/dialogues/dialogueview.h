#pragma once

#include <QString>

struct RelayConfig;

// What the device dialogues show while they talk to the device. The window
// implements it with its controls; tavikctl prints; tests record. Nothing
// here is a widget, so the dialogues run the same in all three.
class DialogueView
{
public:
    virtual ~DialogueView() = default;

    // The status box (txtStatus): replaces its text.
    virtual void setStatusText(const QString &text) = 0;

    // The action label (lblAction).
    virtual void setActionText(const QString &text) = 0;
    virtual void setActionVisible(bool visible) = 0;

    // The progress bar (prbProgress); values may be fractional.
    virtual double progressValue() const = 0;
    virtual double progressMaximum() const = 0;
    virtual void setProgressValue(double value) = 0;

    // Enables or disables the read/program buttons and the Edit menu together.
    virtual void enableReadProg(bool enabled) = 0;

    // The relay shown in the editor (the selected index of cboRelNum), or -1
    // when nothing is shown (tavikctl).
    virtual int shownRelay() const = 0;

    // Editor updates for the relay shown; the dialogues call them only for it.
    virtual int shownRelayMode() const = 0;         // selected index of cboRelMode
    virtual void showRelayMode(int relayMode) = 0;  // check mark, cboRelMode, ChangeRelayMode
    virtual int shownInputMode() const = 0;         // selected index of cboInputMode
    virtual void showInputMode(int inputMode) = 0;  // check mark, cboInputMode, ChangeInputMode
    virtual bool shownInput(int input) const = 0;   // ShownInputs(input)
    virtual void showInputState(int input, bool inMap) = 0;
    virtual void showClosureTime(const RelayConfig &relay) = 0; // sliders and text boxes
    virtual void showPCControl(bool underPCControl) = 0;        // chkPCControl, btnMoment, btnLatch
};
