#pragma once

#include "link/portdirectory.h"
#include "link/serialcontrol.h"
#include "link/servercontrol.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>


// The port the device hangs on: which one it is (where the port chosen in
// the port list opens, never its caption), finding the ports that open,
// opening and closing it around a dialogue, and what the dialogues do with
// it once open. A port named by a
// serial server's address ("tcp://HOST:PORT", "rfc2217://HOST:PORT") is
// reached over the network, every other one on this computer.
//
// The window and tavikctl each own one through their DeviceLink and keep
// its location equal to the port the user chose. Everything runs on the
// thread that owns it.
class DevicePort : public QObject
{
    Q_OBJECT
public:
    explicit DevicePort(QObject *parent = nullptr);

    PortDirectory &directory() { return m_directory; }

    // The port in use by where it opens ("/dev/ttyUSB0", "COM3",
    // "tcp://HOST:PORT"), as the directory's location() gives it.
    void setPortLocation(const QString &location);
    QString portLocation() const { return m_location; }
    // The port in use by its number, for a number the user typed; a number
    // no port has is refused when the port opens.
    void setPortNumber(int number);
    // The number of the port in use as the directory has it now; 0 when it has none.
    int portNumberInUse() const { return m_directory.numberOf(m_location); }

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
    // Reads the system's port list again, probes every port the directory
    // has and returns the numbers of those that open or that this user may
    // not open (the dialogue then says which group is missing). The port a
    // dialogue holds open is listed without a probe.
    QList<int> rescanPorts();

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
    QString refusalText(const QString &error) const;
    bool refusedForPermission(int number) const;

    PortDirectory m_directory;
    SerialControl m_serial{m_directory};
    ServerControl m_server{m_directory};
    // The one of the two that the port opened last.
    PortChannel *m_channel = &m_serial;
    QString m_location;
    // The number the user asked for when no port has it, for the refusal;
    // with no port chosen at all, the first, as the port control's default.
    int m_missingNumber = 1;
    // Where the port opened last: a rescan while it is held leaves it alone.
    QString m_openLocation;
    QString m_openRefusal;
    bool m_lineLost = false;
    bool m_closedOnPurpose = false;
};
