#pragma once

#include "link/portdirectory.h"
#include "link/serialcontrol.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <array>

// The window's end of the serial line: the port (comSerPort) and which port
// it is, the ring that collects arriving characters, and the 100 ms tick
// (tmrTimer, TimerTicks) that times every wait.
//
// The window and tavikctl each own one and keep its port text equal to the
// port the user chose (the window: cmbPort's text). Everything runs on the
// thread that owns it.
class DeviceLink : public QObject
{
    Q_OBJECT
public:
    static constexpr int RxRingSize = 1024;
    // A wait ends when TimerTicks exceeds this: at the 31st tick of 100 ms.
    static constexpr qint16 DefaultTimeoutTicks = 30;

    explicit DeviceLink(QObject *parent = nullptr);

    PortDirectory &ports() { return m_ports; }
    SerialControl &comSerPort() { return m_comSerPort; }

    // The entry of the port list in use ("Com3 (ttyUSB0)").
    void setPortText(const QString &text) { m_portText = text; }
    QString portText() const { return m_portText; }

    // True while a rescan runs (the window shows the hourglass meanwhile).
    bool rescanBusy() const { return m_rescanBusy; }
    void setRescanBusy(bool busy);

    // 1: opened by this call; 0: already open, or a rescan runs. A port that
    // cannot be opened is logged and still gives 1: the dialogue then times out.
    qint16 OpenSerPort();
    // 1: closed by this call; 0: it was not open. A wait in progress ends at
    // once, as when the line is lost, but nothing counts as lost.
    qint16 CloseSerPort();
    // Whether port n can be opened now; leaves it closed. Never logs.
    bool PortAvailable(qint16 number);
    // Probes ports 1 to 255, letting events run between them, with the busy
    // state on, and returns the port list entries of those that open.
    QStringList rescanPorts();

    // The receive ring.
    qint16 RxCount() const { return m_rxCount; }
    qint16 RxReadPos() const { return m_rxReadPos; }
    qint16 RxWritePos() const { return m_rxWritePos; }
    // The oldest waiting character, or the character with code 0 when none waits.
    char ReadChar();
    // Forgets every character waiting in the ring.
    void clearRxRing();

    // The tick of the waits.
    qint16 TimerTicks() const { return m_timerTicks; }
    QTimer &tmrTimer() { return m_tmrTimer; }
    // Waits nest when a command starts inside another's wait: the inner
    // wait counts from 0, and the outer one resumes its own count after it.
    void startTicks();
    void stopTicks();
    // Whether the wait in progress is over: TimerTicks has passed the limit,
    // the line was lost, or the port was closed on purpose.
    bool waitExpired() const;
    // Counts the waits started so far: a wait that finds it changed when
    // events have run knows that another dialogue used the line meanwhile.
    quint64 waitsStarted() const { return m_waitsStarted; }
    void setTimeoutTicks(qint16 ticks) { m_timeoutTicks = ticks; }
    qint16 timeoutTicks() const { return m_timeoutTicks; }

    // Sleeps in a nested event loop until characters arrive, the timer
    // ticks, the line is lost or the port closed. Window events run meanwhile.
    // When the application is quitting (no event loop starts any more) the
    // wait counts as timed out. Never call it from a handler of the port's
    // own signals.
    void awaitActivity();

    // True from the loss of the line until the port is next opened.
    bool lineLost() const { return m_lineLost; }

signals:
    void arrived();
    void ticked();
    void connectionLost();
    void closedOnPurpose();
    void rescanBusyChanged(bool busy);

private:
    void takeArrivals();
    void onConnectionLost();
    bool ringFull() const;

    PortDirectory m_ports;
    SerialControl m_comSerPort{m_ports};
    QString m_portText;
    bool m_rescanBusy = false;
    bool m_lineLost = false;
    bool m_closedOnPurpose = false;

    std::array<char, RxRingSize> RxRing{};
    qint16 m_rxReadPos = 0;
    qint16 m_rxWritePos = 0;
    qint16 m_rxCount = 0;

    QTimer m_tmrTimer;
    qint16 m_timerTicks = 0;
    qint16 m_timeoutTicks = DefaultTimeoutTicks;
    // The counts of the waits a nested one interrupted, innermost last.
    QList<qint16> m_outerTicks;
    bool m_waiting = false;
    quint64 m_waitsStarted = 0;
};
