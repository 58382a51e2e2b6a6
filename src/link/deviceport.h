#pragma once

#include "link/portdirectory.h"
#include "link/serialcontrol.h"
#include "link/servercontrol.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>


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

    enum class OpenResult {
        Opened,      // by this call
        AlreadyOpen, // left as it was
        Refused,     // logged, and openRefusal() says why
    };
    OpenResult open();
    // Why the last open() that was refused could not open the port, in
    // words the user can act on (PortAccess).
    QString openRefusal() const { return m_openRefusal; }
    // True when this call closed it. A wait in progress ends at once, as
    // when the line is lost, but nothing counts as lost.
    bool close();
    // Whether port n can be opened now; leaves it closed. Never logs.
    bool isAvailable(int number);
    // Probes ports 1 to 255 and returns the port list entries of those that
    // open or that this user may not open (the dialogue then says which group
    // is missing). The port a dialogue holds open is listed without a probe.
    QStringList rescanPorts();

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
    int portNumber() const { return m_channel->commPort(); }
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
    QString refusalText(int number, const QString &error) const;
    bool refusedForPermission(int number) const;

    PortDirectory m_directory;
    SerialControl m_serial{m_directory};
    ServerControl m_server{m_directory};
    // The one of the two that the port opened last.
    PortChannel *m_channel = &m_serial;
    QString m_portText;
    QString m_openRefusal;
    bool m_lineLost = false;
    bool m_closedOnPurpose = false;
};
