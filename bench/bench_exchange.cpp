// velmora-datadir's export and import of a whole catalogue as CSV: every club with its
// badge copied in, in one transaction; rows per second, and the peak memory of the tool
// itself run as a user runs it.
#include "bench/ClubGenerator.h"
#include "bench/ToolRun.h"
#include "tools/datadir/CopyNew.h"
#include "tools/datadir/Exchange.h"
#include "tools/datadir/FileUndo.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

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

// What no import of these badges can beat: as many badge copies as clubs, from the
// export's badge files, into a new folder that is then synced, with nothing else.
double copiesAloneSeconds(const QString& csv, int clubs) {
    const QDir pictures(QFileInfo(csv).path());
    QStringList sources;
    for (const QFileInfo& folder : pictures.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
        for (const QString& name : QDir(folder.filePath()).entryList(QDir::Files))
            sources << folder.filePath() + QLatin1Char('/') + name;
    const QString target = bench::scratchFolder();
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < clubs && !sources.isEmpty(); ++i)
        if (!datadir::copyNew(sources[i % sources.size()],
                              target + QStringLiteral("/%1.jpg").arg(i))
                 .isEmpty())
            return -1;
    datadir::syncToDisk(target);
    return double(clock.nsecsElapsed()) / 1e9;
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

// `velmora-datadir import` as a user runs it: a good file, and one refused for one bad
// line in its middle (nothing copied, nothing written).
void importAsUser(benchmark::State& state, bool refused,
                  QString (*store)(int) = bench::cachedStore) {
    const int clubs = int(state.range(0));
    const QString source = store(clubs);
    QTemporaryDir work;
    const QString csv = importableCsv(source, work.path(), refused ? clubs / 2 : 0);
    bench::ChildRun last;
    for (auto _ : state) {
        state.PauseTiming();
        const QString target = bench::scratchFolder();
        bench::makeStore(target, 0);
        state.ResumeTiming();
        last = bench::runTool({QStringLiteral("import"), target, csv});
        if (last.exit != (refused ? 1 : 0)) {
            state.SkipWithError("velmora-datadir import did not end as expected");
            return;
        }
        state.SetIterationTime(last.seconds);
    }
    state.counters["peak_rss_MB"] = last.peakMB;
    state.counters["rows_per_s"] =
        benchmark::Counter(clubs, benchmark::Counter::kIsIterationInvariantRate);
    if (!refused)
        state.counters["copies_alone_s"] = copiesAloneSeconds(csv, clubs);
}
void BM_ImportTool(benchmark::State& state) {
    importAsUser(state, false);
}
void BM_ImportToolRefusal(benchmark::State& state) {
    importAsUser(state, true);
}
// The generated catalogue's clubs share a few dozen badge files; a real one has one per
// club, each checked on its own.
void BM_ImportToolOwnBadges(benchmark::State& state) {
    importAsUser(state, false, bench::ownBadgeStore);
}
void BM_ImportToolRefusalOwnBadges(benchmark::State& state) {
    importAsUser(state, true, bench::ownBadgeStore);
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

BENCHMARK(BM_ImportToolOwnBadges)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);
BENCHMARK(BM_ImportToolRefusalOwnBadges)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

} // namespace
