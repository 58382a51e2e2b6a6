#pragma once

#include "simwire.h"

class QSocketNotifier;

// A pseudo-terminal pair in raw mode. The slave stays open here for the
// pair's whole life: a program that opens and closes the terminal around each
// dialogue would otherwise leave the master hung up between dialogues.
class SimPty : public SimWire
{
    Q_OBJECT
public:
    using SimWire::SimWire;
    ~SimPty() override;

    bool open(QString *error) override;
    void close() override;
    QString address() const override { return m_slavePath; }
    bool isConnected() const override { return m_master >= 0; }
    QByteArray read() override;
    qint64 write(const char *data, qint64 size) override;
    qint64 unread() const override;
    void hangUp() override { close(); }

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    QSocketNotifier *m_readable = nullptr;
    QSocketNotifier *m_writable = nullptr;
};
