#pragma once

#include "taviksimulator.h"

#include <QByteArray>

#include <array>
#include <vector>

// The relay expander's character menu: what the device prints in answer to
// each character it receives. It knows nothing of lines, threads or timing,
// so the whole menu can be driven character by character.
class SimMenu
{
public:
    using Relays = std::array<SimRelay, 16>;

    // The device's whole answer to one received character, its echo included.
    QByteArray receive(char c);

    // Takes new faults; their counters (wrong echoes, short maps, the input
    // index) start afresh from here.
    void setFaults(const SimFaults &faults);

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

    QByteArray echo(char c);
    QByteArray atMenu(char c);
    QByteArray atQuestion(char c);
    QByteArray atConfirmation(char c);
    QByteArray ask() const;
    QByteArray prompt(const char *text) const;
    bool accepts(const Question &question, int value) const;
    void take(Field field, int value);
    QByteArray finishCommand();
    QByteArray report(int index);
    QByteArray mapLine(const char *label, quint16 map);
    QByteArray pcCommand();
    QByteArray backToMenu() const;
    void reset();

    Relays m_relays{};
    SimFaults m_faults;
    int m_wrongEchoesLeft = 0;
    int m_shortMapsLeft = 0;
    qint64 m_inputIndex = 0;

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
};
