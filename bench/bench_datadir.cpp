// velmora-datadir on a big catalogue: relocate after a move, and backup against a
// plain copy of the same files.
#include "bench/ClubGenerator.h"
#include "store/Database.h"
#include "tools/datadir/Backup.h"
#include "tools/datadir/Relocate.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
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
