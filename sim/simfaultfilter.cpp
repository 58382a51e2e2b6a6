#include "simfaultfilter.h"

#include "simmenu.h"

namespace
{

const QByteArray MapLabelEnd = "map: ";
constexpr int MapDigits = 12;
constexpr int CutMapDigits = 5;
const QByteArray PromptEnd = ": ";
const QByteArray LineEnd = "\r\n";

const QByteArray Banner = "\r\n\r\n"
                          "================================\r\n"
                          "  Tavik Relay Expander\r\n"
                          "================================\r\n";

bool isMapDigits(const QByteArray &out, qsizetype from)
{
    if (out.mid(from + MapDigits, LineEnd.size()) != LineEnd)
        return false;
    for (qsizetype i = from; i < from + MapDigits; ++i) {
        if (out.at(i) != '0' && out.at(i) != '1')
            return false;
    }
    return true;
}

} // namespace

void SimFaultFilter::setFaults(const SimFaults &faults)
{
    m_faults = faults;
    m_fallenSilent = false;
    m_wrongEchoesLeft = faults.wrongEchoTimes;
    m_shortMapsLeft = faults.shortMapTimes;
    m_inputIndex = 0;
}

QByteArray SimFaultFilter::pass(char c, SimMenu &menu)
{
    if (m_faults.silent || m_fallenSilent)
        return {};
    const qint64 index = m_inputIndex++;
    if (index == m_faults.lostInputAt)
        return {};
    const bool wasAtMenu = menu.atMenu();
    QByteArray out = menu.receive(c);
    if (out.isEmpty())
        return out; // a swallowed escape: no echo to spoil
    cutMapLines(out);
    if (m_faults.banners)
        out = withBanners(out, wasAtMenu);
    if (menu.echoes(c))
        out[0] = echoFor(c, index);
    return out;
}

// Each input-map line, the unlatching one included, in the order they go out.
void SimFaultFilter::cutMapLines(QByteArray &out)
{
    qsizetype at = 0;
    while (m_shortMapsLeft != 0 && (at = out.indexOf(MapLabelEnd, at)) >= 0) {
        at += MapLabelEnd.size();
        if (!isMapDigits(out, at))
            continue;
        out.remove(at + CutMapDigits, MapDigits - CutMapDigits);
        if (m_shortMapsLeft > 0)
            --m_shortMapsLeft;
    }
}

// A menu on a terminal: blank lines before every prompt, the banner (ahead of
// the list of commands) whenever it is back at the menu, and again for a key
// it does not know there.
QByteArray SimFaultFilter::withBanners(const QByteArray &out, bool wasAtMenu)
{
    if (wasAtMenu && out.size() == 1)
        return out + Banner + SimMenu::MenuPrompt;
    for (const QByteArray &menu :
         {SimMenu::MenuListing + SimMenu::MenuPrompt, QByteArray(SimMenu::MenuPrompt)}) {
        if (out.endsWith(menu))
            return out.chopped(menu.size()) + Banner + menu;
    }
    if (out.endsWith(PromptEnd)) {
        const qsizetype lead = out.lastIndexOf(LineEnd);
        if (lead >= 0)
            return out.left(lead) + LineEnd.repeated(3) + out.mid(lead + LineEnd.size());
    }
    return out;
}

char SimFaultFilter::echoFor(char c, qint64 index)
{
    if (index == m_faults.wrongEchoAtInput)
        return m_faults.wrongEchoWith;
    if (m_faults.wrongEchoFor != 0 && c == m_faults.wrongEchoFor && m_wrongEchoesLeft != 0) {
        if (m_wrongEchoesLeft > 0)
            --m_wrongEchoesLeft;
        return m_faults.wrongEchoWith;
    }
    return c;
}
