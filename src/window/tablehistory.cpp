#include "window/tablehistory.h"

#include <QCoreApplication>
#include <QUndoCommand>

namespace
{

bool sameEdits(RelayConfig a, const RelayConfig &b)
{
    a.ShowUnlatch = b.ShowUnlatch;
    return a == b;
}

bool onlyTimeDiffers(RelayConfig a, const RelayConfig &b)
{
    a.Counter = b.Counter;
    CounterToTime(a);
    return sameEdits(a, b);
}

} // namespace

// One step: the table before and after. A run of closure-time changes to one
// relay (a slider dragged, say) makes a single step.
class TableHistory::Step : public QUndoCommand
{
public:
    Step(TableHistory &history, const RelayTable &before, const RelayTable &after, qint16 shownRelay)
        : m_history(history), m_before(before), m_after(after), m_relay(shownRelay)
    {
        QList<qint16> changed;
        for (qint16 i = 0; i < RelayCount; ++i)
            if (!sameEdits(before[i], after[i]))
                changed << i;
        if (changed.size() == 1) {
            m_relay = changed.first();
            m_timeOnly = onlyTimeDiffers(before[m_relay], after[m_relay]);
        }
        setText(changed.size() == 1 ? QCoreApplication::translate("TableHistory", "Relay %1").arg(m_relay + 1)
                                    : QCoreApplication::translate("TableHistory", "All relays"));
    }

    void undo() override { m_history.restore(m_before, m_relay); }
    void redo() override
    {
        // Pushing the step redoes it: the table already holds it then.
        if (m_pushed)
            m_history.restore(m_after, m_relay);
        m_pushed = true;
    }
    int id() const override { return m_timeOnly ? 1 : -1; }
    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = static_cast<const Step *>(other);
        if (next->m_relay != m_relay)
            return false;
        m_after = next->m_after;
        return true;
    }

private:
    TableHistory &m_history;
    RelayTable m_before, m_after;
    qint16 m_relay;
    bool m_timeOnly = false;
    bool m_pushed = false;
};

TableHistory::TableHistory(RelayTable &table, std::function<void(qint16)> showRelay)
    : m_table(table), m_recorded(table), m_showRelay(std::move(showRelay))
{
}

void TableHistory::record(qint16 shownRelay)
{
    if (m_holds > 0)
        return;
    const bool changed = !std::equal(m_table.cbegin(), m_table.cend(), m_recorded.cbegin(), sameEdits);
    if (changed)
        m_stack.push(new Step(*this, m_recorded, m_table, shownRelay));
    m_recorded = m_table;
}

void TableHistory::hold()
{
    ++m_holds;
}

void TableHistory::release(qint16 shownRelay)
{
    if (--m_holds == 0)
        record(shownRelay);
}

void TableHistory::adopt()
{
    m_recorded = m_table;
}

void TableHistory::restore(const RelayTable &table, qint16 relay)
{
    for (size_t i = 0; i < table.size(); ++i) {
        const bool showUnlatch = m_table[i].ShowUnlatch;
        m_table[i] = table[i];
        m_table[i].ShowUnlatch = showUnlatch;
    }
    // Showing it edits nothing; what it sets of the editor's own state is no step.
    m_recorded = m_table;
    ++m_holds;
    m_showRelay(relay);
    --m_holds;
    m_recorded = m_table;
}
