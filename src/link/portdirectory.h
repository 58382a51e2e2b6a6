#pragma once

#include "link/adapterinfo.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The short name a run-time port shows in the port list, so that the entry
// fits the list: a serial server's "HOST:PORT", a symbolic link's own file
// name ("tavik-port"), else the path below /dev ("pts/1"), else the file
// name. The full path still opens it.
QString shortPortName(const QString &path);

// A port as the system lists it: where it opens, its own name ("ttyUSB0"),
// and what the system knows of its adapter.
struct SystemPort {
    QString location;
    QString name;
    AdapterInfo adapter;
};

// Gives every serial port a number, as the port list and OpenSerPort know
// them. On Windows number n is COMn. Elsewhere the ports the system lists
// (sorted by name) are numbered from 1, followed by the ports added at run
// time: pseudo-terminals and symbolic links (the simulated device, a path
// given on the command line) and serial servers' addresses are never listed
// by the system.
class PortDirectory
{
public:
    using SystemPortSource = std::function<QList<SystemPort>()>;

    PortDirectory();

    // Where the system's ports and the stable links to them come from:
    // QSerialPortInfo and /dev/serial/by-id unless a test says otherwise.
    void setSystemPortSource(SystemPortSource source);
    void setByIdFolder(const QString &folder) { m_byIdFolder = folder; }

    // Reads the system's port list again; run-time ports keep their order
    // after the system's ports.
    void refresh();

    // Adds a port by its path (or a serial server's address) and returns its
    // number; a port already known keeps its number, and a link to a system
    // port (a by-id path) is that port. The list shows it as name, or by
    // shortPortName() when name is empty.
    int addRuntimePort(const QString &path, const QString &name = {});

    // The number of the system port whose adapter has this serial number; 0
    // when no adapter has it.
    int numberOfSerial(const QString &serialNumber) const;

    // The path or name a serial port opens for number n; empty when no port
    // has that number.
    QString location(int number) const;

    // The name shown in brackets after "Com" + n in the port list: the
    // system's own name, or the name a run-time port was given.
    QString systemName(int number) const;

    // The port list's entry for number n: "Com3 (ttyUSB0)".
    QString entryText(int number) const;

    // What the system knows of the adapter of port n, the by-id link included.
    AdapterInfo adapter(int number) const;

    // "Path: ..." followed by adapterLines(): the port list's tool tip and
    // `tavikctl ports --long`.
    QStringList descriptionLines(int number) const;

    // The highest number in use (0 when there is none); Windows has no such bound.
    int count() const;

private:
    SystemPortSource m_source;
    QString m_byIdFolder;
    QList<SystemPort> m_system;
    QStringList m_runtimePaths;
    QStringList m_runtimeNames;
};
