#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <array>
#include <functional>

// The characters that have arrived and not yet been taken, in arrival order.
// It never overwrites one that waits: it takes from its source only what
// fits, so the rest stays there until reading makes room.
class ReceiveRing
{
public:
    static constexpr int Size = 1024;
    // Gives at most maxCount of the characters that wait, oldest first.
    using Source = std::function<QByteArray(qint64 maxCount)>;

    void setSource(Source source) { m_source = std::move(source); }

    int RxCount() const { return m_rxCount; }
    int RxReadPos() const { return m_rxReadPos; }
    int RxWritePos() const { return m_rxWritePos; }
    // It counts as full one slot short of its size, where the two positions would meet.
    int room() const { return int(Size - 1 - m_rxCount); }

    // Takes from the source what fits and returns how many it took.
    qint64 fill();
    // The oldest waiting character, or the character with code 0 when none waits.
    char ReadChar();
    // Forgets what waits in the ring; what the source still holds comes in.
    void clear();

private:
    Source m_source;
    std::array<char, Size> RxRing{};
    int m_rxReadPos = 0;
    int m_rxWritePos = 0;
    int m_rxCount = 0;
};
