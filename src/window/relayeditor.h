#pragma once

#include "config/relayclipboard.h"
#include "config/relayconfig.h"
#include "window/closuretimeentry.h"

#include <QList>
#include <QObject>

#include <array>

struct MainWindowUi;
class QAction;

// Shows one record of the relay table at a time and writes the user's edits
// of it straight back into the record. The relay shown is the entry selected
// in cboRelNum; there is no other.
class RelayEditor : public QObject
{
    Q_OBJECT
public:
    RelayEditor(MainWindowUi &ui, RelayTable &table);

    // Shows a relay's record: its picture, mode, inputs, gate, time and PC control.
    void showRelay(qint16 relay);
    // What selecting a mode or a gate does: stores it in the shown record and
    // enables the controls it needs.
    void changeRelayMode(qint16 mode);
    void changeInputMode(qint16 gate);
    void showInputState(qint16 input, bool inMap);
    void clearRelay(qint16 relay);
    void clearAll();
    // What the input pictures show, entry by entry.
    const std::array<bool, InputCount> &shownInputs() const { return m_shownInputs; }

    // Selecting an entry that is already selected runs nothing; these run the
    // procedure then, as the Edit menu and the dialogues need it to run either way.
    void selectRelayMode(qint16 mode);
    void selectInputMode(qint16 gate);
    // The PC-Control box and the two live buttons it enables.
    void showPCControl(bool underPCControl);
    // Empties the start-up state of the pictures: every input out.
    void forgetShownInputs() { m_shownInputs.fill(false); }

    ClosureTimeEntry &closureTime();

    // Writes a clip over the shown relay and shows the result, as a read does.
    void paste(const RelayClip &clip);

    // Selection handlers, run by a selection whether the user or the program makes it.
    void onRelayChosen();
    void onRelayModeChosen();
    void onInputModeChosen();
    void showNextRelay();
    void selectNextInputMode();
    void toggleInput(qint16 input);
    void onInputSetChosen();

    // Shows a relay, drawn again from its record even when it is the one shown.
    void setShownRelay(qint16 relay);

signals:
    // A record may have changed: an edit, a clear, a paste, or what a read shows.
    void recordEdited();

private:
    RelayConfig *shownRecord();
    void storeTime(ClosureTimeEntry::Unit unit, int value);
    // The group and the Edit menu's own way to the time.
    void enableClosureTime(bool enabled);
    static void checkOnly(const QList<QAction *> &array, qint16 index);
    // A file's modes are not checked when it is read: one outside its list
    // is logged under procedure and not selected, so that the list keeps a
    // selection and its picture and check marks stay with it.
    static bool isListed(qint16 value, qint16 count, const char *what, const QString &procedure, int step);

    MainWindowUi &m_ui;
    RelayTable &m_table;
    std::array<bool, InputCount> m_shownInputs{};
};
