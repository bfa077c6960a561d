// velmora-datadir's export and import of a whole catalogue as CSV: every club with its
// badge copied in, in one transaction; rows per second, and the peak memory of the tool
// itself run as a user runs it.
#include "bench/ClubGenerator.h"
#include "tools/datadir/Exchange.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using namespace velmora;

namespace {

void BM_ExportClubs(benchmark::State& state) {
    const QString store = bench::cachedStore(int(state.range(0)));
    QTemporaryDir out;
    int run = 0;
    int clubs = 0;
    for (auto _ : state)
        clubs =
            datadir::exportClubs(
                {store, out.path() + QStringLiteral("/clubes%1.csv").arg(++run), QLatin1Char(';')})
                .clubs;
    state.counters["clubs"] = clubs;
    state.counters["rows_per_s"] =
        benchmark::Counter(clubs, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ExportClubs)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->DisplayAggregatesOnly(true);

// The generated catalogue holds a few clubs the club editor would refuse (a country
// without a reference row, Brazilian national teams without a state): they are left
// out of the file to import. The file lands beside the export, so its badge paths
// (relative to the CSV) hold.
QString importableCsv(const QString& store, const QString& work, int badLine = 0) {
    const QString exported = work + QStringLiteral("/exportado.csv");
    if (!QFile::exists(exported))
        datadir::exportClubs({store, exported, QLatin1Char(';')});
    QFile in(exported);
    in.open(QIODevice::ReadOnly);
    QByteArray kept;
    int line = 0;
    for (const QByteArray& text : in.readAll().split('\n')) {
        if (text.isEmpty() || text.contains(QStringLiteral(";\"Atlântida\";").toUtf8()) ||
            text.contains(";\"Brasil\";\"\";"))
            continue;
        // A refused file: one line's code is not a number.
        kept += (++line == badLine ? "x" : "") + text + '\n';
    }
    const QString csv = work + QStringLiteral("/clubes%1.csv").arg(badLine);
    QFile out(csv);
    out.open(QIODevice::WriteOnly);
    out.write(kept);
    return csv;
}

void BM_ImportClubs(benchmark::State& state) {
    const QString source = bench::cachedStore(int(state.range(0)));
    QTemporaryDir work;
    const QString csv = importableCsv(source, work.path());
    int added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString target = bench::scratchFolder();
        bench::makeStore(target, 0);
        state.ResumeTiming();
        const datadir::ImportReport report = datadir::importClubs({target, csv, QChar(), {}, 2024});
        state.PauseTiming();
        if (!report.problems.isEmpty()) {
            state.SkipWithError(
                qPrintable(QStringLiteral("linha %1, %2: %3")
                               .arg(report.problems[0].line)
                               .arg(report.problems[0].field, report.problems[0].reason)));
            break;
        }
        added = report.added;
        state.ResumeTiming();
    }
    state.counters["clubs"] = added;
    state.counters["rows_per_s"] =
        benchmark::Counter(added, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ImportClubs)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->DisplayAggregatesOnly(true);

struct ChildRun {
    int exit = -1;
    double seconds = 0;
    double peakMB = 0; // the child's own peak resident memory
};

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

// Runs velmora-datadir as a process of its own, reading its peak memory while it runs.
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

// `velmora-datadir import` as a user runs it: a good file, and one refused for one bad
// line in its middle (nothing copied, nothing written).
void importAsUser(benchmark::State& state, bool refused) {
    const int clubs = int(state.range(0));
    const QString source = bench::cachedStore(clubs);
    QTemporaryDir work;
    const QString csv = importableCsv(source, work.path(), refused ? clubs / 2 : 0);
    ChildRun last;
    for (auto _ : state) {
        state.PauseTiming();
        const QString target = bench::scratchFolder();
        bench::makeStore(target, 0);
        state.ResumeTiming();
        last = runTool({QStringLiteral("import"), target, csv});
        if (last.exit != (refused ? 1 : 0)) {
            state.SkipWithError("velmora-datadir import did not end as expected");
            return;
        }
        state.SetIterationTime(last.seconds);
    }
    state.counters["peak_rss_MB"] = last.peakMB;
    state.counters["rows_per_s"] =
        benchmark::Counter(clubs, benchmark::Counter::kIsIterationInvariantRate);
}
void BM_ImportTool(benchmark::State& state) {
    importAsUser(state, false);
}
void BM_ImportToolRefusal(benchmark::State& state) {
    importAsUser(state, true);
}
BENCHMARK(BM_ImportTool)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);
BENCHMARK(BM_ImportToolRefusal)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

} // namespace
