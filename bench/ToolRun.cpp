#include "bench/ToolRun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace velmora::bench {

namespace {

// The high-water mark of a process's memory, from the kernel's account of it; 0 once
// the process is gone. (A child's rusage would also count this process's memory, which
// the child shares until it starts the tool.)
double peakMB(pid_t pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

} // namespace

ChildRun runTool(const QStringList& args) {
    const QByteArray program =
        (QCoreApplication::applicationDirPath() + QStringLiteral("/../tools/velmora-datadir"))
            .toLocal8Bit();
    std::vector<QByteArray> bytes{program};
    for (const QString& a : args)
        bytes.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    ChildRun run;
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, program.constData(), &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        // The mark only grows: its last reading before the end is the peak, within the
        // few milliseconds between readings.
        while (waitpid(pid, &status, WNOHANG) == 0) {
            run.peakMB = std::max(run.peakMB, peakMB(pid));
            usleep(2000);
        }
        if (WIFEXITED(status))
            run.exit = WEXITSTATUS(status);
    }
    run.seconds = double(timer.nsecsElapsed()) / 1e9;
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

} // namespace velmora::bench
