#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct ProcessRequest {
    QString program;
    QStringList arguments;
    QString folder; // the working folder; empty: this process's own
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    int timeoutMs = 60000; // -1: wait as long as it takes
    QString errorFile{};   // where standard error goes, a terminal say; empty: into ProcessRun::err
};

struct ProcessRun {
    int exitCode = -1; // crashed, or killed past its time
    QByteArray out;
    QByteArray err;
    double elapsedMs = 0;
    double cpuMs = 0; // what the program itself used, user and system
};

ProcessRun runProcess(const ProcessRequest &request);
