#pragma once

#include <QElapsedTimer>
#include <QMap>
#include <QString>

#include <cstdio>

// How far the whole-table commands have come, as one line at the foot of a
// terminal that is drawn again in place: "Reading relay 7 of 16  [######--]
// 2.4 s", or with several ports their relays summed ("3 ports: 37 of 48
// relays"). Whatever else is written to the terminal wipes it first, and the
// next step draws it again below.
class ProgressLine
{
public:
    // The one line of the process, on stderr.
    static ProgressLine &shared();

    // Port (a tag; empty for the only one) is at step ("Reading relay 7"),
    // with done of total relays behind it.
    void show(const QString &port, const QString &step, int done, int total);
    // Wipes the line, when one is drawn.
    void clear();

private:
    explicit ProgressLine(std::FILE *stream) : m_stream(stream) {}
    void draw();

    struct Port {
        QString step;
        int done = 0;
        int total = 0;
    };
    std::FILE *m_stream;
    QMap<QString, Port> m_ports;
    QElapsedTimer m_elapsed;
    bool m_drawn = false;
};
