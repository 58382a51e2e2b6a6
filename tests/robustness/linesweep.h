#pragma once

#include "config/relayconfig.h"
#include "link/devicelink.h"
#include "taviksimulator.h"

#include <QMetaType>
#include <QString>

// One of the device dialogues a line can break in the middle of: what the
// device holds, what the table holds before, and how to run it.
enum class SweptDialogue {
    ReadLatching,
    ReadTimed,
    ProgramMomentary,
    ProgramTimed,
    ProgramLatching,
    PCControl, // "c"
    Latch,     // "l"
    Moment,    // "m"
};
Q_DECLARE_METATYPE(SweptDialogue)

// The relay every sweep works on, shown in the editor so that the editor
// updates run too.
constexpr int SweptRelay = 4;

// What one run of a dialogue came to and left behind.
struct SweepOutcome {
    SweptDialogue dialogue = SweptDialogue::ReadLatching;
    bool succeeded = false;
    qint16 result = -1; // read and program; live commands give 0 or 3
    bool portOpen = false;
    int lostSignals = 0;
    int loggedFailures = 0;
    QString statusText;
    RelayTable table{};
    SimRelay deviceRelay;
    QByteArray received; // what the device was sent
    qint64 sent = 0;     // characters the device sent
    // The same dialogue, over the same link, on a fresh device afterwards.
    bool freshSucceeded = false;
    bool freshPortOpen = false;
    RelayTable freshTable{};
    SimRelay freshDeviceRelay;
};

// A fault given to the device for one run; -1 switches it off.
struct SweepFault {
    qint64 hangUpAfterOutput = -1;
    qint64 silentAfterOutput = -1;
    qint64 wrongEchoAtInput = -1;
    // Ticks of 100 ms before a wait gives up: short only where the device
    // falls silent, so that a loaded machine cannot turn a slow answer into
    // a timeout anywhere else.
    qint16 timeoutTicks = WaitClock::DefaultTimeoutTicks;
};

// Runs the dialogue against a simulated device started for this run alone,
// then, when asked, once more over the same link on a fresh device.
SweepOutcome runSwept(SweptDialogue dialogue, const SweepFault &fault, const QString &logPath,
                      bool thenFresh = true);

// The table before every run, and the device's relay.
RelayTable sweptTableBefore(SweptDialogue dialogue);
SimRelay sweptDeviceRelay(SweptDialogue dialogue);

// Each field of `after` is either what it was before or what the device
// sent; the closure time as a whole. Empty when so, otherwise what is not.
QString halfParsedFields(const RelayConfig &before, const RelayConfig &device, const RelayConfig &after);

// The record a complete read of the device's relay gives.
RelayConfig sweptRecordRead(SweptDialogue dialogue);

// The device's relay after a complete program dialogue.
SimRelay sweptRelayProgrammed(SweptDialogue dialogue);

bool isRead(SweptDialogue dialogue);
bool isProgram(SweptDialogue dialogue);
