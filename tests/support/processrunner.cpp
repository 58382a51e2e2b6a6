#include "processrunner.h"

#include <QElapsedTimer>
#include <QProcess>

#include <sys/resource.h>

namespace
{

// Counts only children that have ended and been waited for, which is why
// the run below is measured from before its start to after its end.
double childrenCpuMilliseconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

} // namespace

ProcessRun runProcess(const ProcessRequest &request)
{
    QProcess process;
    process.setWorkingDirectory(request.folder);
    process.setProcessEnvironment(request.environment);
    const double cpuBefore = childrenCpuMilliseconds();
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
    run.cpuMs = childrenCpuMilliseconds() - cpuBefore;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    if (ended && process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    return run;
}
