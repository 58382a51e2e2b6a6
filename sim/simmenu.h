#pragma once

#include "taviksimulator.h"

#include <QByteArray>

#include <array>
#include <vector>

// The relay expander's character menu as a healthy device serves it: what it
// prints in answer to each character it receives. It knows nothing of faults,
// lines, threads or timing, so the whole menu can be driven character by
// character. Every answer but escape's begins with the character's echo.
class SimMenu
{
public:
    using Relays = std::array<SimRelay, 16>;

    static constexpr char Escape = 27;
    // What the device prints when it is back at its menu, waiting for a command.
    static constexpr char MenuPrompt[] = "> ";
    // The list of commands printed before that prompt, when it prints one.
    static const QByteArray MenuListing;

    // Whether escape is echoed, and whether the list of commands comes back
    // with the menu (after each command and after escape).
    void setManner(bool echoEscape, bool menuAfterCommand);
    // Whether the answer to c begins with its echo.
    bool echoes(char c) const { return c != Escape || m_echoEscape; }

    // The device's whole answer to one received character, its echo included.
    QByteArray receive(char c);

    // True while no command is under way: the next character is a command.
    bool atMenu() const { return m_command == 0 && !m_confirming; }

    const Relays &relays() const { return m_relays; }
    void setRelays(const Relays &relays);
    void setRelay(int index, const SimRelay &relay);

    // True once after a command has changed a relay.
    bool takeChanged();

private:
    enum class Field {
        RelayNumber,
        Mode,
        GroupA,
        GroupB,
        GroupC,
        Gate,
        UnlatchGroupA,
        UnlatchGroupB,
        UnlatchGroupC,
        UnlatchGate,
        Hours,
        Minutes,
        Seconds,
        Hundredths,
    };
    struct Question {
        Field field;
        const char *prompt;
        int min;
        int max;
    };

    QByteArray atMenu(char c);
    QByteArray atQuestion(char c);
    QByteArray atConfirmation(char c);
    QByteArray ask() const;
    static QByteArray prompt(const char *text);
    bool accepts(const Question &question, int value) const;
    void take(Field field, int value);
    QByteArray finishCommand();
    QByteArray report(int index);
    static QByteArray mapLine(const char *label, quint16 map);
    QByteArray pcCommand();
    QByteArray backToMenu() const;
    void reset();

    Relays m_relays{};

    char m_command = 0;                // 0 while at the menu
    std::vector<Question> m_questions; // still to ask, the current one first
    QByteArray m_digits;
    bool m_confirming = false;
    int m_relayIndex = -1;
    SimRelay m_draft;
    int m_hours = 0;
    int m_minutes = 0;
    int m_seconds = 0;
    int m_hundredths = 0;
    bool m_changed = false;
    bool m_echoEscape = true;
    bool m_menuAfterCommand = true;
};
