#pragma once

#include "config/relayconfig.h"
#include "dialogues/devicecommands.h"
#include "dialogues/devicedialogues.h"
#include "link/devicelink.h"
#include "terminalview.h"

#include <QString>

#include <memory>

class TavikSimulator;

// One command's link to the device, wired as the window wires its own: the
// port, a relay table, the terminal's view, the dialogues and the read and
// program commands; with --simulate, the built-in simulated device too.
class DeviceSession
{
public:
    DeviceSession();
    ~DeviceSession();

    // Points the link at --port's port: a number, "ComN", "serial:" and an
    // adapter's serial number, a device path or a serial server's address
    // (added to the port list, since the system never lists pseudo-terminals,
    // links and servers; a link to a listed port is that port). False, with
    // the reason, when there is no such port or the address is malformed.
    bool usePort(const QString &port, QString *error);
    // Starts the built-in simulated device on its state file and points the
    // link at it. False, with the reason, when it cannot start.
    bool useSimulator(QString *error);

    // Opens the port for the rest of the command, so that its dialogues do
    // not each open and close it again. A port that cannot be opened is left
    // closed, for the first dialogue to fail on (and log) as it would anyway.
    void holdPort();

    DeviceLink &link() { return m_link; }
    RelayTable &table() { return m_table; }
    TerminalView &view() { return m_view; }
    DeviceDialogues &dialogues() { return m_dialogues; }
    DeviceCommands &commands() { return m_commands; }

private:
    void selectRuntimePort(const QString &path, const QString &name = {});

    // Declared first so that it outlives the port that talks to it.
    std::unique_ptr<TavikSimulator> m_simulator;
    DeviceLink m_link;
    RelayTable m_table{};
    TerminalView m_view;
    DeviceDialogues m_dialogues{m_link, m_table, m_view};
    DeviceCommands m_commands{m_dialogues, m_view};
};
