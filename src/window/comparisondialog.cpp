#include "window/comparisondialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

ComparisonDialog::ComparisonDialog(const QList<RelayDifference> &differences, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Compare with Device"));
    auto *layout = new QVBoxLayout(this);
    QStringList differing;
    for (const RelayDifference &difference : differences) {
        const QString relay = QString::number(difference.relay);
        if (difference.counts() && !differing.contains(relay))
            differing << relay;
    }
    auto *summary = new QLabel(differing.isEmpty() ? tr("Tavik holds what the window shows.")
                                                   : (differing.size() == 1
                                                          ? tr("Tavik differs from the window in relay %1.")
                                                          : tr("Tavik differs from the window in relays %1."))
                                                         .arg(differing.join(QStringLiteral(", "))),
                               this);
    layout->addWidget(summary);

    if (!differences.isEmpty()) {
        auto *table = new QTableWidget(int(differences.size()), 4, this);
        table->setHorizontalHeaderLabels({tr("Relay"), tr("Field"), tr("Window"), tr("Device")});
        table->verticalHeader()->hide();
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        for (int row = 0; row < differences.size(); ++row) {
            const RelayDifference &difference = differences.at(row);
            // PC control and the contact are the device's state, not its configuration.
            const QString field = relayFieldCaption(difference.field) +
                                  (difference.counts() ? QString() : tr(" (not programmed)"));
            const QStringList cells{QString::number(difference.relay), field, difference.first,
                                    difference.second};
            for (int column = 0; column < cells.size(); ++column)
                table->setItem(row, column, new QTableWidgetItem(cells.at(column)));
        }
        table->resizeColumnsToContents();
        table->horizontalHeader()->setStretchLastSection(true);
        table->setMinimumWidth(480);
        layout->addWidget(table);
    }

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}
