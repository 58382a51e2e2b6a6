#pragma once

#include "dialogues/devicesession.h"

#include <QObject>
#include <QTimer>

class QComboBox;
class QPushButton;

// The port list: each entry's caption shows the port, the entry's data
// (where it opens, its adapter's serial number) chooses it for the session.
// While no command holds a port, it rescans when adapters come or go and
// says which.
class PortList : public QObject
{
    Q_OBJECT
public:
    PortList(QComboBox *list, QPushButton *rescanButton, DeviceSession &session, QObject *parent = nullptr);

    // A port the rescan selects instead of the first entry whenever it finds
    // it (the built-in simulated device); empty for the first entry.
    void setPreferredPort(const QString &path) { m_preferredPort = path; }
    // Lists the ports that open; the port chosen before stays chosen while it
    // is listed, else the preferred one, else the first.
    void rescan();

signals:
    // A rescan of its own runs: the read and program controls wait it out.
    void rescanning(bool running);
    void statusChanged(const QString &text);

private:
    void followPorts();
    // The port list entry and what the system knows of its adapter, a line each.
    QString portToolTip(int number) const;

    QComboBox *m_list;
    DeviceSession &m_session;
    QString m_preferredPort;
    QTimer m_watch;
};
