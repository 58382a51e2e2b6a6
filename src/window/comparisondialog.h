#pragma once

#include "config/relaycomparison.h"

#include <QDialog>

// Where the device differs from the window's table: one row per difference
// that counts (relay, field, the window's value, the device's value), a line
// counting the fields that are never programmed (PC control, the contact)
// where those differ, or a line saying that the device holds what the window
// shows. Where relays differ, a button offers to program them, once the user
// confirms.
class ComparisonDialog : public QDialog
{
    Q_OBJECT
public:
    ComparisonDialog(const QList<RelayDifference> &differences, QWidget *parent);

signals:
    // The user confirmed: program these relays (numbers 1 to 16) from the window's table.
    void programRequested(const QList<int> &relays);

private:
    void confirmProgramming();

    QList<int> m_differing;
};
