// velmora-datadir on a big catalogue: check (header checks and full decodes), relocate
// after a move, and backup against a plain copy of the same files.
#include "bench/ClubGenerator.h"
#include "bench/Scale.h"
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

// A generated catalogue of `clubs` where every club has a badge file of its own, as a
// real one has (kept in VELMORA_BENCH_STORES when set).
QString ownBadges(int clubs) {
    static std::map<int, std::unique_ptr<QTemporaryDir>> made;
    QString dir;
    const QString kept = qEnvironmentVariable("VELMORA_BENCH_STORES");
    if (!kept.isEmpty()) {
        dir = QStringLiteral("%1/%2-own-badges").arg(kept).arg(clubs);
    } else {
        auto& temp = made[clubs];
        if (!temp)
            temp = std::make_unique<QTemporaryDir>();
        dir = temp->filePath(QStringLiteral("Velmora"));
    }
    if (QFileInfo::exists(dir + QStringLiteral("/Velmora.sqlite")))
        return dir;
    bench::makeStore(dir, clubs);
    Database db(dir);
    QSqlQuery query(db.handle());
    query.exec(QStringLiteral("select Codigo, EscudoClube from Clubes"));
    const QString badges = dir + QStringLiteral("/Distintivos/c%1.jpg");
    while (query.next())
        QFile::copy(query.value(1).toString(), badges.arg(query.value(0).toInt()));
    db.exec(QStringLiteral("update Clubes set EscudoClube = '%1/Distintivos/c' || Codigo || '.jpg'")
                .arg(dir));
    for (const QString& shared : QDir(dir + QStringLiteral("/Distintivos")).entryList({"Escudo*"}))
        QFile::remove(dir + QStringLiteral("/Distintivos/") + shared);
    return dir;
}

void BM_Check(benchmark::State& state) {
    const QString dir = ownBadges(int(state.range(0)));
    for (auto _ : state) {
        // The generated catalogue has a few clubs of unknown countries, without flags.
        const datadir::CheckReport report = datadir::check(dir);
        if (report.pictures < 3 * state.range(0) || report.problems.size() > state.range(0) / 50)
            state.SkipWithError("check did not look at every picture");
    }
}
VELMORA_CATALOGUE_BENCHMARK(BM_Check);

void BM_Check_Completo(benchmark::State& state) {
    const QString dir = ownBadges(int(state.range(0)));
    for (auto _ : state) {
        const datadir::CheckReport report =
            datadir::check(dir, false, datadir::CheckDepth::Decode);
        if (report.pictures < 3 * state.range(0) || report.problems.size() > state.range(0) / 50)
            state.SkipWithError("check did not look at every picture");
    }
}
VELMORA_CATALOGUE_BENCHMARK(BM_Check_Completo, benchmark::kMillisecond, 1);

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
