#pragma once

#include "base/safesave.h"
#include "config/relayconfig.h"

#include <QCoreApplication>
#include <QDate>
#include <QPageSize>
#include <QString>

class QPagedPaintDevice;

// What the record's title block names.
struct RecordHeading {
    QString title; // empty: "Commissioning record"
    QString fileName;
    QDate date;
};

// The record of a configuration that is handed over with the device: a title
// block, then each relay with its settings in words and its picture as the
// window draws it. One HTML text, its pictures inside it as data URIs, makes
// both the HTML file and the pages of a PDF or a printer, where no relay is
// split across two pages.
class CommissioningRecord
{
    Q_DECLARE_TR_FUNCTIONS(CommissioningRecord)

public:
    CommissioningRecord(const RelayTable &table, const RecordHeading &heading);

    QString title() const;
    QString html() const;

    // Lays the record out on the device's pages (a QPdfWriter or a QPrinter
    // with its page size and margins set); false when it cannot be painted on.
    bool print(QPagedPaintDevice *device) const;
    // Both are safe saves: a record that fails leaves the one before it whole.
    SafeSave writePdf(const QString &path, const QPageSize &pageSize) const;
    SafeSave writeHtml(const QString &path) const;

    // Letter where the locale measures in inches (the United States), A4 elsewhere.
    static QPageSize localPageSize();

private:
    QString relayHtml(int index) const;

    RelayTable m_table;
    RecordHeading m_heading;
};
