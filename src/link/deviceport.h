#pragma once

#include "link/portdirectory.h"
#include "link/serialcontrol.h"
#include "link/servercontrol.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

// The port the device hangs on: which one it is (the entry chosen in the
// port list), finding the ports that open, opening and closing it around a
// dialogue, and what the dialogues do with it once open. A port named by a
// serial server's address ("tcp://HOST:PORT", "rfc2217://HOST:PORT") is
// reached over the network, every other one on this computer.
//
// The window and tavikctl each own one through their DeviceLink and keep
// its port text equal to the port the user chose. Everything runs on the
// thread that owns it.
class DevicePort : public QObject
{
    Q_OBJECT
public:
    explicit DevicePort(QObject *parent = nullptr);

    PortDirectory &directory() { return m_directory; }

    // The entry of the port list in use ("Com3 (ttyUSB0)").
    void setPortText(const QString &text) { m_portText = text; }
    QString portText() const { return m_portText; }

    // True while a rescan runs (the window shows the hourglass meanwhile).
    bool rescanBusy() const { return m_rescanBusy; }

    // 1: opened by this call; 0: already open, or a rescan runs. A port that
    // cannot be opened is logged and still gives 1: the dialogue then times out.
    qint16 OpenSerPort();
    // 1: closed by this call; 0: it was not open. A wait in progress ends at
    // once, as when the line is lost, but nothing counts as lost.
    qint16 CloseSerPort();
    // Whether port n can be opened now; leaves it closed. Never logs.
    bool PortAvailable(qint16 number);
    // Probes ports 1 to 255, letting events run between them, with the busy
    // state on, and returns the port list entries of those that open, each
    // handed to found as soon as it opens. A rescan asked for while one runs
    // (from one of its event runs) returns nothing at once.
    QStringList rescanPorts(const std::function<void(const QString &)> &found = {});

    // True from the loss of the line until the port is next opened.
    bool lineLost() const { return m_lineLost; }
    // Why the line was lost, when the usual words would mislead (a serial
    // server that never answered); else empty.
    QString lossReason() const { return m_channel->lossReason(); }
    // Nothing more can arrive until the port is next opened: the line was
    // lost or the port closed on purpose.
    bool lineEnded() const { return m_lineLost || m_closedOnPurpose; }

    // What a dialogue does with the open port.
    bool isOpen() const { return m_channel->portOpen(); }
    qint16 portNumber() const { return m_channel->commPort(); }
    qint64 waiting() const { return m_channel->inBufferCount(); }
    int receiveBufferSize() const { return m_channel->inBufferSize(); }
    // Takes the waiting characters, oldest first: all of them, or at most maxCount.
    QByteArray read(qint64 maxCount = -1) { return m_channel->input(maxCount); }
    bool write(const QByteArray &text, QString *error = nullptr) { return m_channel->output(text, error); }

signals:
    void arrived();
    void connectionLost();
    void closedOnPurpose();

private:
    void onConnectionLost();

    PortDirectory m_directory;
    SerialControl m_serial{m_directory};
    ServerControl m_server{m_directory};
    // The one of the two that the port opened last.
    PortChannel *m_channel = &m_serial;
    QString m_portText;
    bool m_rescanBusy = false;
    bool m_lineLost = false;
    bool m_closedOnPurpose = false;
};
