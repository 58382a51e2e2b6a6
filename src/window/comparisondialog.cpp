#include "window/comparisondialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

ComparisonDialog::ComparisonDialog(const QList<RelayDifference> &differences, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Compare with Device"));
    auto *layout = new QVBoxLayout(this);
    QStringList differing;
    for (const RelayDifference &difference : differences) {
        const QString relay = QString::number(difference.relay);
        if (difference.counts() && !differing.contains(relay))
            differing << relay;
    }
    auto *summary =
        new QLabel(differing.isEmpty()
                       ? QStringLiteral("Tavik holds what the window shows.")
                       : QStringLiteral("Tavik differs from the window in %1 %2.")
                             .arg(differing.size() == 1 ? QStringLiteral("relay") : QStringLiteral("relays"),
                                  differing.join(QStringLiteral(", "))),
                   this);
    layout->addWidget(summary);

    if (!differences.isEmpty()) {
        auto *table = new QTableWidget(int(differences.size()), 4, this);
        table->setHorizontalHeaderLabels({QStringLiteral("Relay"), QStringLiteral("Field"),
                                          QStringLiteral("Window"), QStringLiteral("Device")});
        table->verticalHeader()->hide();
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        for (int row = 0; row < differences.size(); ++row) {
            const RelayDifference &difference = differences.at(row);
            // PC control and the contact are the device's state, not its configuration.
            const QString field = relayFieldName(difference.field) +
                                  (difference.counts() ? QString() : QStringLiteral(" (not programmed)"));
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
