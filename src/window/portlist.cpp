// The port list: what it offers, which port it chooses, and how it follows
// adapters plugged in and pulled out.
#include "window/portlist.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>

namespace
{

// Each entry's data: where the port opens, and its adapter's serial number,
// which stays when the system gives a replugged adapter another node.
constexpr int LocationRole = Qt::UserRole;
constexpr int SerialNumberRole = Qt::UserRole + 1;

// Often enough that a plugged adapter shows within two seconds; the system's
// list is read only when its device nodes changed, which costs next to nothing to see.
constexpr int PortWatchInterval = 1000;

QString adapterName(const SystemPort &port)
{
    const AdapterInfo &adapter = port.adapter;
    const QString name = adapter.description.isEmpty() ? port.name : adapter.description;
    if (adapter.vendorId.isEmpty())
        return QCoreApplication::translate("MainWindow", "Serial port %1").arg(name);
    if (adapter.serialNumber.isEmpty())
        return QCoreApplication::translate("MainWindow", "USB serial adapter %1").arg(name);
    return QCoreApplication::translate("MainWindow", "USB serial adapter %1 (%2)")
        .arg(name, adapter.serialNumber);
}

int findPort(const QComboBox &list, const QString &location, const QString &serialNumber)
{
    const int found = location.isEmpty() ? -1 : list.findData(location, LocationRole);
    return found >= 0 || serialNumber.isEmpty() ? found : list.findData(serialNumber, SerialNumberRole);
}

} // namespace

PortList::PortList(QComboBox *list, QPushButton *rescanButton, DeviceSession &session, QObject *parent)
    : QObject(parent), m_list(list), m_session(session)
{
    connect(rescanButton, &QPushButton::clicked, this, &PortList::rescan);
    // A dialogue opens the port that the list shows.
    connect(m_list, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_session.link().port().setPortLocation(m_list->itemData(index, LocationRole).toString());
        m_list->setToolTip(m_list->itemData(index, Qt::ToolTipRole).toString());
    });
    m_watch.setInterval(PortWatchInterval);
    connect(&m_watch, &QTimer::timeout, this, &PortList::followPorts);
    m_watch.start();
}

void PortList::rescan()
{
    // A command may hold its port meanwhile: the rescan leaves it listed and
    // selected, and leaves the command's buttons as they are.
    const bool commandRuns = !m_session.isIdle();
    QComboBox &list = *m_list;
    const QString locationInUse = list.currentData(LocationRole).toString();
    const QString serialInUse = list.currentData(SerialNumberRole).toString();
    if (!commandRuns)
        emit rescanning(true);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    DevicePort &port = m_session.link().port();
    const QList<int> numbers = port.rescanPorts();
    const PortDirectory &ports = port.directory();
    {
        const QSignalBlocker quiet(list);
        list.clear();
        for (const int number : numbers) {
            list.addItem(ports.entryText(number), ports.location(number));
            const int index = list.count() - 1;
            list.setItemData(index, ports.adapter(number).serialNumber, SerialNumberRole);
            list.setItemData(index, portToolTip(number), Qt::ToolTipRole);
        }
        list.setCurrentIndex(-1);
    }
    // The port chosen before, wherever it moved; else the preferred one; else the first.
    int chosen = findPort(list, locationInUse, serialInUse);
    if (chosen < 0 && !m_preferredPort.isEmpty())
        chosen = findPort(list, ports.location(port.directory().addRuntimePort(m_preferredPort)), {});
    list.setCurrentIndex(chosen >= 0 ? chosen : (list.count() > 0 ? 0 : -1));
    if (list.currentIndex() < 0) {
        port.setPortLocation({});
        list.setToolTip({});
    }
    QApplication::restoreOverrideCursor();
    if (!commandRuns)
        emit rescanning(false);
}

void PortList::followPorts()
{
    // A port a command holds, or one held open between its dialogues, is never touched.
    DevicePort &port = m_session.link().port();
    if (!m_session.isIdle() || port.isOpen() || !port.directory().systemPortsMayHaveChanged())
        return;
    const PortChanges changes = port.directory().refresh();
    if (changes.isEmpty())
        return;
    rescan();
    QStringList lines;
    for (const PortChange &change : changes.pulledOut)
        lines << QCoreApplication::translate("MainWindow", "%1 on Com%2 pulled out")
                     .arg(adapterName(change.port))
                     .arg(change.number);
    for (const PortChange &change : changes.pluggedIn)
        lines << QCoreApplication::translate("MainWindow", "%1 plugged in as Com%2")
                     .arg(adapterName(change.port))
                     .arg(change.number);
    emit statusChanged(lines.join(u'\n'));
}

QString PortList::portToolTip(int number) const
{
    // Which of several adapters is the Tavik shows in what the system knows of each.
    const PortDirectory &ports = m_session.link().port().directory();
    return (QStringList{ports.entryText(number)} + ports.descriptionLines(number)).join(u'\n');
}
