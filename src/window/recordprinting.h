#pragma once

#include "config/relayconfig.h"

#include <QString>

#include <functional>

class QWidget;

// Where a step says what came of it: the window's status box.
using StatusLine = std::function<void(const QString &)>;

// The commissioning record of the table, named after the file in use (or
// "New.csv"): printed through the print dialog, which is opened over the
// window and not run, or written as a PDF where the user chooses.
void printRecord(QWidget *window, const RelayTable &table, const QString &currentFile, const StatusLine &say);
void exportRecordPdf(QWidget *window, const RelayTable &table, const QString &currentFile,
                     const StatusLine &say);
// Help > About.
void showAbout(QWidget *window);
