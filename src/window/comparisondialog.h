#pragma once

#include "config/relaycomparison.h"

#include <QDialog>

// Where the device differs from the window's table: one row per difference
// (relay, field, the window's value, the device's value), or a line saying
// that the device holds what the window shows.
class ComparisonDialog : public QDialog
{
    Q_OBJECT
public:
    ComparisonDialog(const QList<RelayDifference> &differences, QWidget *parent);
};
