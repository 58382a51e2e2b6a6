#pragma once

#include "link/adapterinfo.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The short name a run-time port shows in the port list, so that the entry
// fits the list: a serial server's "HOST:PORT", a symbolic link's own file
// name ("tavik-port"), else the path below /dev ("pts/1"), else the file
// name. The full path still opens it.
QString shortPortName(const QString &path);

// A port as the system lists it: where it opens, its own name ("ttyUSB0",
// "COM3"), and what the system knows of its adapter.
struct SystemPort {
    QString location;
    QString name;
    AdapterInfo adapter;
};

// The system whose conventions number the ports.
enum class PortSystem { Unix, Windows, Mac };
PortSystem hostPortSystem();

// A system port that came or went, with its number: the new one for a port
// that came, the one it had for a port that went.
struct PortChange {
    SystemPort port;
    int number = 0;
};

// What a fresh look at the system's ports found changed since the last one.
struct PortChanges {
    QList<PortChange> pluggedIn;
    QList<PortChange> pulledOut;
    bool isEmpty() const { return pluggedIn.isEmpty() && pulledOut.isEmpty(); }
};

// Gives every serial port a number, as the port list and OpenSerPort know
// them, and keeps where each one opens: a port is chosen by its location,
// its number and caption only show it. The ports the system lists come
// first. On Windows port COMn has number n; elsewhere they are numbered from
// 1 in the order of their names (macOS: each adapter once, as its /dev/cu.*
// node). The ports added at run time follow, numbered above every system
// port: pseudo-terminals and symbolic links (the simulated device, a path
// given on the command line) and serial servers' addresses are never listed
// by the system.
class PortDirectory
{
    Q_DECLARE_TR_FUNCTIONS(PortDirectory)

public:
    using SystemPortSource = std::function<QList<SystemPort>()>;

    PortDirectory();

    // Where the system's ports and the stable links to them come from:
    // QSerialPortInfo and /dev/serial/by-id unless a test says otherwise.
    void setSystemPortSource(SystemPortSource source);
    void setByIdFolder(const QString &folder) { m_byIdFolder = folder; }
    // Whose numbering rules apply: this computer's unless a test says otherwise.
    void setPortSystem(PortSystem system);

    // Reads the system's port list again; run-time ports keep their order
    // after the system's ports. Says which system ports came and went.
    PortChanges refresh();

    // Whether the system's ports may have changed since this was last asked.
    // Asking costs next to nothing, unlike refresh(): where device nodes show
    // in /dev, it looks at their names only.
    bool systemPortsMayHaveChanged();

    // Adds a port by its path (or a serial server's address) and returns its
    // number; a port already known keeps its number, and a link to a system
    // port (a by-id path) is that port. The list shows it as name, or by
    // shortPortName() when name is empty.
    int addRuntimePort(const QString &path, const QString &name = {});

    // The number of the port that opens at location (as location() gives
    // it); 0 when no port does.
    int numberOf(const QString &location) const;

    // The number of the system port whose adapter has this serial number; 0
    // when no adapter has it.
    int numberOfSerial(const QString &serialNumber) const;

    // Every number in use, lowest first.
    QList<int> numbers() const;

    // The path or name a serial port opens for number n; empty when no port
    // has that number.
    QString location(int number) const;

    // The name shown in brackets after "Com" + n in the port list: the
    // system's own name, or the name a run-time port was given.
    QString systemName(int number) const;

    // The port list's entry for number n: "Com3 (ttyUSB0)", or "Com3" alone
    // where the system's name is COM3.
    QString entryText(int number) const;

    // What the system knows of the adapter of port n, the by-id link included.
    AdapterInfo adapter(int number) const;

    // "Path: ..." followed by adapterLines(): the port list's tool tip and
    // `tavikctl ports --long`.
    QStringList descriptionLines(int number) const;

    // The highest number in use (0 when there is none).
    int count() const;

private:
    struct Entry {
        int number = 0;
        SystemPort port;
    };
    void renumber();
    const Entry *entry(int number) const;

    SystemPortSource m_source;
    QString m_byIdFolder;
    PortSystem m_system = hostPortSystem();
    // The names in /dev when last asked; only for the system's own port list.
    bool m_watchDeviceNodes = true;
    QStringList m_deviceNodes;
    QList<SystemPort> m_systemPorts;
    // Run-time ports in the order they were added; only location and name are known.
    QList<SystemPort> m_runtimePorts;
    // Both of the above with their numbers, lowest first.
    QList<Entry> m_entries;
};
