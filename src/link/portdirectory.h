#pragma once

#include <QString>
#include <QStringList>

// The short name a run-time port shows in the port list, so that the entry
// fits the list: a serial server's "HOST:PORT", a symbolic link's own file
// name ("tavik-port"), else the path below /dev ("pts/1"), else the file
// name. The full path still opens it.
QString shortPortName(const QString &path);

// Gives every serial port a number, as the port list and OpenSerPort know
// them. On Windows number n is COMn. Elsewhere the ports the system lists
// (sorted by name) are numbered from 1, followed by the ports added at run
// time: pseudo-terminals and symbolic links (the simulated device, a path
// given on the command line) and serial servers' addresses are never listed
// by the system.
class PortDirectory
{
public:
    PortDirectory();

    // Reads the system's port list again; run-time ports keep their order
    // after the system's ports.
    void refresh();

    // Adds a port by its path (or a serial server's address) and returns its
    // number; a port already known keeps its number.
    qint16 addRuntimePort(const QString &path);

    // The path or name a serial port opens for number n; empty when no port
    // has that number.
    QString location(qint16 number) const;

    // The name shown in brackets after "Com" + n in the port list: the
    // system's own name, or shortPortName() of a run-time port's path.
    QString systemName(qint16 number) const;

    // The port list's entry for number n: "Com3 (ttyUSB0)".
    QString entryText(qint16 number) const;

    // The highest number in use (0 when there is none); Windows has no such bound.
    qint16 count() const;

private:
    QStringList m_systemLocations;
    QStringList m_systemNames;
    QStringList m_runtimePaths;
};
