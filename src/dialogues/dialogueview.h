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

    // The status box: replaces its text.
    virtual void setStatusText(const QString &text) = 0;

    // The action label.
    virtual void setActionText(const QString &text) = 0;
    virtual void setActionVisible(bool visible) = 0;

    // The progress bar; values may be fractional.
    virtual double progressValue() const = 0;
    virtual double progressMaximum() const = 0;
    virtual void setProgressValue(double value) = 0;

    // Enables or disables the read/program buttons and the Edit menu together.
    virtual void enableReadProg(bool enabled) = 0;

    // A dialogue read relay index into its record, or programmed it from there.
    virtual void relayRead(int) {}
    virtual void relayProgrammed(int) {}

    // The relay shown in the editor (the entry selected in the relay number
    // list), or -1 when nothing is shown (tavikctl).
    virtual int shownRelay() const = 0;

    // Editor updates for the relay shown; the dialogues call them only for it.

    // The relay mode list's entry, and its check mark in the Edit menu.
    virtual int shownRelayMode() const = 0;
    virtual void showRelayMode(int relayMode) = 0; // ends in ChangeRelayMode
    // The gate list's entry, and its check mark in the Edit menu.
    virtual int shownInputMode() const = 0;
    virtual void showInputMode(int inputMode) = 0; // ends in ChangeInputMode
    // Whether the input's button shows it as in the map (ShownInputs).
    virtual bool shownInput(int input) const = 0;
    virtual void showInputState(int input, bool inMap) = 0;
    // The closure time's sliders and text boxes.
    virtual void showClosureTime(const RelayConfig &relay) = 0;
    // The PC-Control box, and the latch and momentary buttons that follow it.
    virtual void showPCControl(bool underPCControl) = 0;
};

// A view without an editor (a terminal, a read beside the user's table): no
// relay is shown and every editor update falls on the floor.
class EditorlessView : public DialogueView
{
public:
    int shownRelay() const override { return -1; }
    int shownRelayMode() const override { return -1; }
    void showRelayMode(int) override {}
    int shownInputMode() const override { return -1; }
    void showInputMode(int) override {}
    bool shownInput(int) const override { return false; }
    void showInputState(int, bool) override {}
    void showClosureTime(const RelayConfig &) override {}
    void showPCControl(bool) override {}
};
