#pragma once

#include "config/relayclipboard.h"
#include "config/relayconfig.h"
#include "dialogues/devicesession.h"
#include "window/closuretimeentry.h"

#include <QList>
#include <QObject>

#include <array>
#include <utility>

class ClickableLabel;
class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;

// Shows one record of the relay table at a time and writes the user's edits
// of it straight back into the record. The relay shown is the editor's own:
// the one it was last told to show, by the relay number list (which always
// selects it), the Edit menu, undo or start-up. The window places the
// editor's controls and hands them over; what the window shows of the relay
// beyond them (the Edit menu's check marks) and the live commands it runs
// follow the editor's signals.
class RelayEditor : public QObject
{
    Q_OBJECT
public:
    // The controls that show the relay, each where the window's design puts it.
    struct Controls {
        QComboBox *relayNumbers = nullptr;
        QComboBox *relayModes = nullptr;
        QComboBox *inputModes = nullptr;
        QCheckBox *pcControl = nullptr;
        QPushButton *momentaryInput = nullptr;
        QPushButton *latchInput = nullptr;
        QRadioButton *latchSet = nullptr;
        QRadioButton *unlatchSet = nullptr;
        ClosureTimeEntry *closureTime = nullptr;
        QList<ClickableLabel *> inputs;
        ClickableLabel *gate = nullptr;
        ClickableLabel *relay = nullptr;
    };

    RelayEditor(const Controls &controls, RelayTable &table);

    // Start-up: the lists' entries and the pictures with every input out,
    // the lists left unselected and nothing run.
    void fill(const QStringList &relayModes, const QStringList &inputModes);
    // Selecting the first entries shows relay 1.
    void selectFirstEntries();

    int shownRelay() const;
    int shownRelayMode() const;
    int shownInputMode() const;
    // What an input's picture shows.
    bool shownInput(qint16 input) const { return m_shownInputs[size_t(input)]; }

    // Shows a relay's record: its picture, mode, inputs, gate, time and PC control.
    void showRelay(qint16 relay);
    // Shows a relay, drawn again from its record even when it is the one shown.
    void setShownRelay(qint16 relay);
    // Selecting an entry that is already selected runs nothing; these store
    // it in the shown record then, as the Edit menu and the dialogues need
    // it either way.
    void selectRelayMode(qint16 mode);
    void selectInputMode(qint16 gate);
    void showInputState(qint16 input, bool inMap);
    // An input into the map of the set shown, or out of it.
    void toggleInput(qint16 input);
    // The PC-Control box and the two live buttons it enables.
    void showPCControl(bool underPCControl);
    void enableLiveInputs(bool enabled);
    void clearRelay(qint16 relay);
    void clearAll();
    // Writes a clip over the shown relay and shows the result, as a read does.
    void paste(const RelayClip &clip);
    // A read stored a value into relay index: shown as it arrives when the
    // relay is shown, on the side it shows, and differs from what is shown.
    void followRead(int index, DeviceSession::ReadField field, int input, int value);

    ClosureTimeEntry &closureTime() { return *m_controls.closureTime; }
    const RelayTable &table() const { return m_table; }

    // What a screen reader says of a relay's record: its number, mode, and
    // the gate and inputs of each set it uses.
    QString relaySummary(qint16 relay) const;

signals:
    // A record may have changed: an edit, a clear, a paste, or what a read
    // shows; once for each call from outside the editor, however many steps
    // of its own the call ran.
    void recordEdited();
    // What the Edit menu checks and enables along with the controls.
    void relayShown(qint16 relay);
    void relayModeShown(qint16 mode);
    void inputModeShown(qint16 gate);
    void inputShown(qint16 input, bool inMap);
    void closureTimeEnabled(bool enabled);
    // The PC-Control box changed, whether the user or a relay shown changed it.
    void pcControlToggled(bool underPCControl);
    // A live button went down (any mouse button, each press of a double-click).
    void latchInputPressed();
    void momentaryInputPressed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // What selecting a mode or a gate runs, whether the user or the program selects.
    void changeRelayMode(qint16 mode);
    void changeInputMode(qint16 gate);
    void onInputSetChosen();
    void showNextRelay();
    void selectNextInputMode();
    void storeTime(ClosureTimeEntry::Unit unit, int value);
    void enableClosureTime(bool enabled);
    // The pictures' accessible names follow what they show.
    void describePictures();
    QString gateSummary(qint16 gate, const std::array<bool, InputCount> &map) const;
    RelayConfig *shownRecord();
    // A file's modes are not checked when it is read: one outside its list
    // is logged under procedure and not selected, so that the list keeps a
    // selection and its picture and check marks stay with it.
    static bool isListed(qint16 value, qint16 count, const char *what, const QString &procedure, int step);

    // The span of one call into the editor: the outermost says that a
    // record was edited, once, as it ends.
    class Edit
    {
    public:
        explicit Edit(RelayEditor &editor) : m_editor(editor) { ++m_editor.m_editDepth; }
        ~Edit()
        {
            if (--m_editor.m_editDepth == 0 && std::exchange(m_editor.m_edited, false))
                emit m_editor.recordEdited();
        }

    private:
        RelayEditor &m_editor;
    };

    Controls m_controls;
    RelayTable &m_table;
    std::array<bool, InputCount> m_shownInputs{};
    qint16 m_shown = -1;
    int m_editDepth = 0;
    bool m_edited = false;
};
