#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class SimWire;

// Writes the device's output to the line in order, shaped as a real line
// shapes it: at most the line rate, in pieces with pauses between them, and
// never more than a given number of characters. Waits are timers and the
// line's word that it takes more, never sleeps, so the thread stays free.
class SimPacedWriter : public QObject
{
    Q_OBJECT
public:
    static constexpr int CharactersPerSecond = 5760; // 57600 baud, 10 bits a character

    SimPacedWriter(SimWire *wire, QObject *parent = nullptr);

    void write(const QByteArray &data);
    void clear();
    qint64 pending() const { return m_pending.size(); }

    void setPaced(bool paced);
    void setChunks(int size, int delayMs);
    // How many more characters may leave; -1 for no limit.
    void setLimit(qint64 limit);

signals:
    void sent(qint64 count);
    void limitReached();
    void failed();

private:
    void pump();
    void schedule(qint64 waitNs);
    qint64 lineAllows(qint64 nowNs);

    SimWire *m_wire = nullptr;
    bool m_lineFull = false; // waiting for the line to take more
    QByteArray m_pending;
    bool m_paced = false;
    int m_chunkSize = 0;
    int m_chunkDelayMs = 0;
    qint64 m_limit = -1;
    QElapsedTimer m_clock;
    qint64 m_lineFreeNs = 0;  // when the line can take its next character
    qint64 m_holdUntilNs = 0; // the pause after a piece ends here
    QTimer m_timer;
};
