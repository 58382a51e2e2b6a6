#include "link/adapterinfo.h"

QStringList adapterLines(const AdapterInfo &adapter)
{
    QStringList lines;
    const auto add = [&lines](const char *label, const QString &value) {
        if (!value.isEmpty())
            lines << QLatin1String(label) + QStringLiteral(": ") + value;
    };
    add("Description", adapter.description);
    add("Manufacturer", adapter.manufacturer);
    add("Serial number", adapter.serialNumber);
    if (!adapter.vendorId.isEmpty() || !adapter.productId.isEmpty())
        add("USB ID", adapter.vendorId + u':' + adapter.productId);
    add("By id", adapter.byIdPath);
    return lines;
}
