#include "simstatefile.h"

#include <QFile>
#include <QSaveFile>

namespace
{

const QByteArray Header = "tavik-sim-state 1";
constexpr quint32 LargestCounter = 16559999; // 45:59:59.99

bool validGate(qulonglong code)
{
    return code <= 3 || (code >= 8 && code <= 11);
}

std::optional<SimRelay> parseRelay(const QByteArray &line)
{
    const QList<QByteArray> fields = line.simplified().split(' ');
    if (fields.size() != 8)
        return std::nullopt;
    qulonglong value[8];
    for (int i = 0; i < 8; ++i) {
        bool ok = false;
        value[i] = fields[i].toULongLong(&ok);
        if (!ok)
            return std::nullopt;
    }
    if (value[0] < 1 || value[0] > 10 || !validGate(value[1]) || value[2] > 0xFFF || !validGate(value[3]) ||
        value[4] > 0xFFF || value[5] > LargestCounter || value[6] > 1 || value[7] > 1)
        return std::nullopt;
    SimRelay relay;
    relay.mode = int(value[0]);
    relay.gate = int(value[1]);
    relay.map = quint16(value[2]);
    relay.unlatchGate = int(value[3]);
    relay.unlatchMap = quint16(value[4]);
    relay.counter = quint32(value[5]);
    relay.closed = value[6] == 1;
    relay.pcControl = value[7] == 1;
    return relay;
}

} // namespace

std::optional<SimMenu::Relays> SimStateFile::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QList<QByteArray> lines = file.readAll().split('\n');
    if (lines.size() < 17 || lines[0].trimmed() != Header)
        return std::nullopt;
    SimMenu::Relays relays;
    for (int i = 0; i < 16; ++i) {
        const std::optional<SimRelay> relay = parseRelay(lines[i + 1]);
        if (!relay)
            return std::nullopt;
        relays[i] = *relay;
    }
    return relays;
}

bool SimStateFile::save(const QString &path, const SimMenu::Relays &relays, QString *error)
{
    QByteArray text = Header + '\n';
    for (const SimRelay &relay : relays) {
        text += QByteArray::number(relay.mode) + ' ' + QByteArray::number(relay.gate) + ' ' +
                QByteArray::number(relay.map) + ' ' + QByteArray::number(relay.unlatchGate) + ' ' +
                QByteArray::number(relay.unlatchMap) + ' ' + QByteArray::number(relay.counter) + ' ' +
                (relay.closed ? '1' : '0') + ' ' + (relay.pcControl ? '1' : '0') + '\n';
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
