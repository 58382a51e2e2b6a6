#pragma once

#include <QString>
#include <QStringList>

// What the system knows of the adapter behind a serial port. Any field may be
// empty: a pseudo-terminal or a port on the main board has few of them.
struct AdapterInfo {
    QString description;
    QString manufacturer;
    QString serialNumber;
    QString vendorId;  // USB vendor ID, four lower-case hexadecimal digits
    QString productId; // USB product ID, the same way
    QString byIdPath;  // the stable /dev/serial/by-id/... link to the port
};

// One "Label: value" line for each field that is known, in a fixed order.
QStringList adapterLines(const AdapterInfo &adapter);
