#pragma once

#include <QString>

// Our own failures, with stable numbers: the error log is read by support
// staff, so a number once given keeps its meaning.
enum class Failure : int {
    SubscriptOutOfRange = 9, // an index outside the relay table

    PortNumber = 1001,  // no port has the number asked for
    PortOpen = 1002,    // the port exists but could not be opened
    PortNotOpen = 1003, // an operation needs an open port
    PortWrite = 1004,   // writing to the port failed
    PortLost = 1005,    // the line went away while the port was open
    PortClose = 1006,   // closing the port failed

    FileOpen = 2001,   // the file could not be opened or created
    FileRead = 2002,   // reading the file failed
    FileShort = 2003,  // the file ends before its last relay line
    FileWrite = 2004,  // writing the file failed
    FileCommit = 2005, // the written file could not replace the old one
    FileDialog = 2101, // the file dialog failed

    DeviceGaveUp = 3001,    // the device kept answering unexpectedly
    ValueOutOfRange = 3002, // a value read is outside what its field holds
    LineNeverQuiet = 3003,  // characters kept coming that no one asked for
};

enum class Module { Form, DialogModule };

int failureNumber(Failure failure);
QString failureDescription(Failure failure);

// The line every handler logs: "Error <n> (<description>) in procedure <name>
// of Form frmMain on line <step>" (" of Module modDLG on line " for the dialogs).
QString handlerMessage(int number, const QString &description, const QString &procedure, int step,
                       Module module = Module::Form);

// The code the lines name after the procedure, in place of the window's
// form: tavikctl names itself and the command that ran ("tavikctl read").
void setFailureOwner(const QString &owner);

// Builds the handler's line for one of our failures and logs it. A detail,
// when given, follows the description inside the brackets.
void logFailure(Failure failure, const QString &procedure, int step, const QString &detail = {},
                Module module = Module::Form);
