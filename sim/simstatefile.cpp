#include "simstatefile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace
{

const QByteArray Header = "tavik-sim-state 1";
constexpr quint32 LargestCounter = 16559999; // 45:59:59.99
// Far more than 17 lines of the longest relays take: a larger file is not one of these.
constexpr qint64 LargestFile = 4096;

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

std::optional<SimMenu::Relays> SimStateFile::load(const QString &path, QString *error)
{
    // No file, or an empty one, holds no relays yet; it takes them.
    const QFileInfo info(path);
    if ((!info.exists() && !info.isSymLink()) || (info.isFile() && info.size() == 0))
        return std::nullopt;
    QFile file(path);
    // Only a plain file is opened: a FIFO would block.
    QList<QByteArray> lines;
    if (info.isFile() && info.size() <= LargestFile && file.open(QIODevice::ReadOnly))
        lines = file.read(LargestFile).split('\n');
    SimMenu::Relays relays;
    bool valid = lines.size() >= 17 && lines[0].trimmed() == Header;
    for (int i = 0; valid && i < 16; ++i) {
        const std::optional<SimRelay> relay = parseRelay(lines[i + 1]);
        valid = relay.has_value();
        if (valid)
            relays[i] = *relay;
    }
    for (int i = 17; valid && i < lines.size(); ++i)
        valid = lines[i].trimmed().isEmpty();
    if (valid)
        return relays;
    if (error)
        *error = QCoreApplication::translate("tavik-sim", "%1 is not a file of the simulator's relays; it is "
                                                          "left as it is")
                     .arg(path);
    return std::nullopt;
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
