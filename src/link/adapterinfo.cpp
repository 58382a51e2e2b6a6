#include "link/adapterinfo.h"

#include <QCoreApplication>

QStringList adapterLines(const AdapterInfo &adapter)
{
    QStringList lines;
    const auto add = [&lines](const char *label, const QString &value) {
        if (!value.isEmpty())
            lines << QCoreApplication::translate("AdapterInfo", label) + QStringLiteral(": ") + value;
    };
    add(QT_TRANSLATE_NOOP("AdapterInfo", "Description"), adapter.description);
    add(QT_TRANSLATE_NOOP("AdapterInfo", "Manufacturer"), adapter.manufacturer);
    add(QT_TRANSLATE_NOOP("AdapterInfo", "Serial number"), adapter.serialNumber);
    if (!adapter.vendorId.isEmpty() || !adapter.productId.isEmpty())
        add(QT_TRANSLATE_NOOP("AdapterInfo", "USB ID"), adapter.vendorId + u':' + adapter.productId);
    add(QT_TRANSLATE_NOOP("AdapterInfo", "By id"), adapter.byIdPath);
    return lines;
}
