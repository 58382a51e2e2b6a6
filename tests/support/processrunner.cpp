#include "processrunner.h"

#include "cputime.h"

#include <QElapsedTimer>
#include <QProcess>

ProcessRun runProcess(const ProcessRequest &request)
{
    QProcess process;
    process.setWorkingDirectory(request.folder);
    process.setProcessEnvironment(request.environment);
    if (!request.errorFile.isEmpty())
        process.setStandardErrorFile(request.errorFile);
    // Children count once waited for.
    const double cpuBefore = cpuMilliseconds(RUSAGE_CHILDREN);
    QElapsedTimer clock;
    clock.start();
    process.start(request.program, request.arguments);
    ProcessRun run;
    const bool ended = process.waitForFinished(request.timeoutMs);
    run.elapsedMs = double(clock.nsecsElapsed()) / 1e6;
    if (!ended) {
        process.kill();
        process.waitForFinished();
    }
    run.cpuMs = cpuMilliseconds(RUSAGE_CHILDREN) - cpuBefore;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    if (ended && process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    return run;
}
