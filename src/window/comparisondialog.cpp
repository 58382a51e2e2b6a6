#include "window/comparisondialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace
{

QString numbersText(const QList<int> &numbers)
{
    QStringList texts;
    for (const int number : numbers)
        texts << QString::number(number);
    return texts.join(QStringLiteral(", "));
}

} // namespace

ComparisonDialog::ComparisonDialog(const QList<RelayDifference> &differences, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Compare with Device"));
    auto *layout = new QVBoxLayout(this);
    QList<RelayDifference> counting;
    for (const RelayDifference &difference : differences) {
        if (!difference.counts())
            continue;
        counting << difference;
        if (!m_differing.contains(difference.relay))
            m_differing << difference.relay;
    }
    const qsizetype notProgrammed = differences.size() - counting.size();
    auto *summary =
        new QLabel(m_differing.isEmpty() ? tr("Tavik holds what the window shows.")
                   : m_differing.size() == 1
                       ? tr("Tavik differs from the window in relay %1.").arg(m_differing.first())
                       : tr("Tavik differs from the window in relays %1.").arg(numbersText(m_differing)),
                   this);
    layout->addWidget(summary);
    // PC control and the contact are the device's state, not its configuration.
    if (notProgrammed > 0)
        layout->addWidget(new QLabel(
            notProgrammed == 1
                ? tr("1 field that is not programmed (PC control, contact) differs.")
                : tr("%1 fields that are not programmed (PC control, contact) differ.").arg(notProgrammed),
            this));

    if (!counting.isEmpty()) {
        auto *table = new QTableWidget(int(counting.size()), 4, this);
        table->setHorizontalHeaderLabels({tr("Relay"), tr("Field"), tr("Window"), tr("Device")});
        table->verticalHeader()->hide();
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        for (int row = 0; row < counting.size(); ++row) {
            const RelayDifference &difference = counting.at(row);
            const QStringList cells{QString::number(difference.relay), relayFieldCaption(difference.field),
                                    difference.first, difference.second};
            for (int column = 0; column < cells.size(); ++column)
                table->setItem(row, column, new QTableWidgetItem(cells.at(column)));
        }
        table->resizeColumnsToContents();
        table->horizontalHeader()->setStretchLastSection(true);
        table->setMinimumWidth(480);
        layout->addWidget(table);
    }

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    if (!m_differing.isEmpty()) {
        QPushButton *program = buttons->addButton(
            m_differing.size() == 1 ? tr("Program the 1 differing relay")
                                    : tr("Program the %1 differing relays").arg(m_differing.size()),
            QDialogButtonBox::ActionRole);
        program->setObjectName(QStringLiteral("btnProgramDiffering"));
        connect(program, &QPushButton::clicked, this, &ComparisonDialog::confirmProgramming);
    }
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void ComparisonDialog::confirmProgramming()
{
    // Opened, not run: the question waits on the event loop like the dialog itself.
    auto *question = new QMessageBox(
        QMessageBox::Question, tr("Compare with Device"),
        m_differing.size() == 1
            ? tr("Program relay %1 with the window's settings?").arg(m_differing.first())
            : tr("Program relays %1 with the window's settings?").arg(numbersText(m_differing)),
        QMessageBox::Yes | QMessageBox::No, this);
    question->setObjectName(QStringLiteral("msgConfirmProgram"));
    question->setDefaultButton(QMessageBox::No);
    question->setAttribute(Qt::WA_DeleteOnClose);
    connect(question, &QMessageBox::finished, this, [this](int answer) {
        if (answer != QMessageBox::Yes)
            return;
        emit programRequested(m_differing);
        accept();
    });
    question->open();
}
