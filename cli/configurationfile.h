#pragma once

#include "config/tavikfile.h"

#include <QString>

// A configuration file as tavikctl reads and writes it wherever it takes one
// (-i, -o, show, diff, set, report, new): the CSV, or the JSON document
// read --json prints when the name ends in ".json".
bool namesJsonConfiguration(const QString &path);

// Replaces table only when the whole file loads; fault says where and why not.
FileResult loadConfiguration(RelayTable &table, const QString &path, FileFault &fault);

// A safe save; false, with what a person reads of it in problem, when the
// file there stays as it was.
bool saveConfiguration(const RelayTable &table, const QString &path, QString &problem);
