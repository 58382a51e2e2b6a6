#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QObject>
#include <QString>

#include <array>
#include <memory>

// One relay as the simulated device stores it, in the device's own codes.
struct SimRelay {
    int mode = 1;           // 1..10 as programmed (10 = Latching)
    int gate = 0;           // 0-3, 8-11 as programmed
    quint16 map = 0;        // bit i = input i
    int unlatchGate = 0;    // Latching only
    quint16 unlatchMap = 0; // Latching only
    quint32 counter = 0;    // closure time in hundredths
    bool closed = false;
    bool pcControl = false;

    bool operator==(const SimRelay &) const = default;
};

// Ways in which the simulated device misbehaves, as real lines do. Every
// count is in characters; -1 (or 0 for the repeat counts) switches it off.
// Counts run from the moment the faults are set (setFaults, or start).
// Silence, echoes, map lines and banners are laid over the menu's answers;
// pace, pieces, the flood and the output limits act on the wire.
struct SimFaults {
    bool silent = false;   // answers nothing, echoes nothing
    char wrongEchoFor = 0; // when this character arrives, echo wrongEchoWith instead
    char wrongEchoWith = '?';
    int wrongEchoTimes = 0;        // how often (-1: every time)
    int shortMapTimes = 0;         // input-map lines cut to five digits (-1: every time)
    bool banners = false;          // menu banner and blank lines around prompts
    int chunkSize = 0;             // split output into pieces of this many characters ...
    int chunkDelayMs = 0;          // ... with this pause between pieces
    bool paced = false;            // send at the real line rate of 57600 baud
    bool flood = false;            // pour characters onto the line without end
    qint64 hangUpAfterOutput = -1; // hang up once this many characters have been sent
    qint64 silentAfterOutput = -1; // fall silent once this many characters have been sent
    qint64 wrongEchoAtInput = -1;  // echo the character with this index (from 0) wrongly
    qint64 lostInputAt = -1;       // the character with this index never reaches the device
    // Two habits of a healthy device that a program must not trip over, on
    // unless switched off: escape is echoed like any other character, and the
    // list of commands is printed whenever the device is back at its menu.
    bool echoEscape = true;
    bool menuAfterCommand = true;
};

class SimulatorEngine;

// A Tavik relay expander on the master side of a pseudo-terminal, or on TCP
// where the system has no pseudo-terminals or when asked to. It serves
// the device's menu on a thread of its own, so that a program under test can
// block in its own waits while the device answers. All members are safe to
// call from any thread.
class TavikSimulator : public QObject
{
    Q_OBJECT
public:
    explicit TavikSimulator(QObject *parent = nullptr);
    ~TavikSimulator() override;

    // Opens the line and starts serving. False, with a reason, on failure.
    bool start(QString *error = nullptr);
    void stop();
    // Serves on TCP at this address instead, one program at a time (call
    // before start). Port 0 takes a free one. Closing the connection is the
    // hang-up; the device keeps its state for the next program. A program
    // silent for idleMs is hung up on (0: never).
    void listenOn(const QString &host, quint16 port, int idleMs = 0);

    // What a program opens to talk to the device: a terminal (/dev/pts/N)
    // or tcp://HOST:PORT.
    QString portPath() const;

    // Keeps the relays in this file: read at start, written after each change.
    void setStateFile(const QString &path);
    // "tavik/tavik-sim-state.txt" in the user's shared data folder (created),
    // for the built-in device: the same file whatever the program's name.
    static QString defaultStateFile();
    // How the tools' port lists name the built-in device, in place of its
    // pseudo-terminal: "Com2 (simulated Tavik)".
    static QString portListName() { return QCoreApplication::translate("TavikSimulator", "simulated Tavik"); }

    void setFaults(const SimFaults &faults);
    SimFaults faults() const;

    // Hangs up the line now, as an unplugged adapter does.
    void hangUp();

    SimRelay relay(int index) const;
    void setRelay(int index, const SimRelay &relay);

    // Every character received since the start (or the last clear), in order;
    // at least the last mebibyte of them.
    QByteArray received() const;
    void clearReceived();
    // Characters sent since the start (or the last clearReceived(), which
    // clears both).
    qint64 sentCount() const;

private:
    std::unique_ptr<SimulatorEngine> m_engine;
};
