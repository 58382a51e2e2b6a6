#pragma once

#include <QString>

// A pseudo-terminal pair in raw mode. The slave stays open here for the
// pair's whole life: a program that opens and closes the terminal around each
// dialogue would otherwise leave the master hung up between dialogues.
class SimPty
{
public:
    SimPty() = default;
    SimPty(const SimPty &) = delete;
    SimPty &operator=(const SimPty &) = delete;
    ~SimPty();

    bool open(QString *error);
    void close();

    bool isOpen() const { return m_master >= 0; }
    int master() const { return m_master; }
    QString slavePath() const { return m_slavePath; }
    // Characters written to the master that no one has read from the slave yet.
    int unread() const;

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};
