#pragma once

#include <QCoreApplication>

// tavikctl's texts for a person (help, messages, the labels of its text
// output) are translated under this one context; JSON keys and values, the
// command words and the options stay as they are.
struct CliText {
    Q_DECLARE_TR_FUNCTIONS(CliText)
};
