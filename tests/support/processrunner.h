#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// One run of a program, as the tests and the bench start it.
struct ProcessRequest {
    QString program;
    QStringList arguments;
    QString folder; // the working folder; empty: this process's own
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    int timeoutMs = 60000; // -1: wait as long as it takes
};

// How it ended. exitCode is -1 when it crashed or ran past its time (it is
// then killed).
struct ProcessRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    double elapsedMs = 0;
    double cpuMs = 0; // what the program itself used, user and system
};

// Runs the program to its end and collects what it wrote.
ProcessRun runProcess(const ProcessRequest &request);
