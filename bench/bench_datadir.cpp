// velmora-datadir on a big catalogue: check (header checks and full decodes), relocate
// after a move, and backup against a plain copy of the same files.
#include "bench/ClubGenerator.h"
#include "bench/Scale.h"
#include "bench/ToolRun.h"
#include "store/Database.h"
#include "tools/datadir/Backup.h"
#include "tools/datadir/DataDir.h"
#include "tools/datadir/Relocate.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

using namespace velmora;

namespace {

constexpr int extraBadges = 20000; // a badge file per club, as a real catalogue has

// A generated catalogue of `clubs` with extra badge files, built once per process.
QString catalogue(int clubs) {
    static std::map<int, std::unique_ptr<QTemporaryDir>> made;
    auto& dir = made[clubs];
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        bench::makeStore(dir->path(), clubs);
        const QString badges = dir->path() + QStringLiteral("/Distintivos/");
        for (int i = 0; i < extraBadges; ++i)
            QFile::copy(badges + QStringLiteral("Escudo0.jpg"),
                        badges + QStringLiteral("clube%1.jpg").arg(i));
    }
    return dir->path();
}

void BM_Check(benchmark::State& state) {
    const QString dir = bench::ownBadgeStore(int(state.range(0)));
    for (auto _ : state) {
        // The generated catalogue has a few clubs of unknown countries, without flags.
        const datadir::CheckReport report = datadir::check(dir);
        if (report.pictures < 3 * state.range(0) || report.problems.size() > state.range(0) / 50)
            state.SkipWithError("check did not look at every picture");
    }
}
VELMORA_CATALOGUE_BENCHMARK(BM_Check);

void BM_Check_Completo(benchmark::State& state) {
    const QString dir = bench::ownBadgeStore(int(state.range(0)));
    for (auto _ : state) {
        const datadir::CheckReport report = datadir::check(dir, false, datadir::CheckDepth::Decode);
        if (report.pictures < 3 * state.range(0) || report.problems.size() > state.range(0) / 50)
            state.SkipWithError("check did not look at every picture");
    }
}
VELMORA_CATALOGUE_BENCHMARK(BM_Check_Completo, benchmark::kMillisecond, 1);

// `velmora-datadir check` as a user runs it: rows per second and the tool's own peak
// memory. It exits 1 on the generated catalogue (a few clubs of unknown countries).
void BM_CheckTool(benchmark::State& state) {
    const QString dir = bench::ownBadgeStore(int(state.range(0)));
    bench::ChildRun last;
    for (auto _ : state) {
        last = bench::runTool({QStringLiteral("check"), dir});
        if (last.exit != 0 && last.exit != 1) {
            state.SkipWithError("velmora-datadir check did not end as expected");
            return;
        }
        state.SetIterationTime(last.seconds);
    }
    state.counters["peak_rss_MB"] = last.peakMB;
    state.counters["rows_per_s"] =
        benchmark::Counter(double(state.range(0)), benchmark::Counter::kIsIterationInvariantRate);
}
VELMORA_CATALOGUE_BENCHMARK(BM_CheckTool, benchmark::kMillisecond, 1, 3, true);

void copyTree(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(source);
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(source, target);
    }
}

// Points every picture path of dir's store back into home, as after a copy.
void pointBack(const QString& dir, const QString& home) {
    Database db(dir);
    const char* columns[][2] = {{"Paises", "BandeiraPais"},     {"UF", "BandeiraUF"},
                                {"Federacao", "LogoFederacao"}, {"Clubes", "EscudoClube"},
                                {"Clubes", "BandeiraPais"},     {"Clubes", "BandeiraUF"},
                                {"Clubes", "LogoFederacao"}};
    for (const auto& c : columns)
        db.exec(QStringLiteral("update %1 set %2 = replace(%2, '%3', '%4')")
                    .arg(QLatin1String(c[0]), QLatin1String(c[1]), dir, home));
}

void BM_Relocate(benchmark::State& state) {
    const QString home = bench::cachedStore(int(state.range(0)));
    QTemporaryDir moved;
    copyTree(home, moved.path());
    for (auto _ : state) {
        state.PauseTiming();
        pointBack(moved.path(), home);
        state.ResumeTiming();
        const datadir::RelocateReport report = datadir::relocate({moved.path(), false});
        if (!report.applied || report.changed < state.range(0))
            state.SkipWithError("relocate did not move every path");
    }
}
BENCHMARK(BM_Relocate)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

// The files a backup copies, copied as a file manager would.
void BM_PlainCopy(benchmark::State& state) {
    const QString home = catalogue(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        const QString dest = bench::scratchFolder();
        state.ResumeTiming();
        copyTree(home, dest);
    }
}
BENCHMARK(BM_PlainCopy)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Backup(benchmark::State& state) {
    const QString home = catalogue(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        const QString dest = bench::scratchFolder();
        state.ResumeTiming();
        datadir::backup(home, dest);
    }
}
BENCHMARK(BM_Backup)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
