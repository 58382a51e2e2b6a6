#include "link/receivering.h"

qint64 ReceiveRing::fill()
{
    if (!m_source || room() == 0)
        return 0;
    const QByteArray batch = m_source(room());
    for (const char c : batch) {
        RxRing[size_t(m_rxWritePos)] = c;
        m_rxWritePos = int((m_rxWritePos + 1) % Size);
        ++m_rxCount;
    }
    return batch.size();
}

char ReceiveRing::ReadChar()
{
    if (m_rxReadPos == m_rxWritePos)
        return '\0';
    const char c = RxRing[size_t(m_rxReadPos)];
    m_rxReadPos = int((m_rxReadPos + 1) % Size);
    --m_rxCount;
    // A port announces new characters only once: those the source still
    // holds come in as soon as there is room for them.
    fill();
    return c;
}

void ReceiveRing::clear()
{
    m_rxReadPos = m_rxWritePos;
    m_rxCount = 0;
    fill();
}
