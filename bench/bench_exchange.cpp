// velmora-datadir's export and import of a whole catalogue as CSV: every club with its
// badge copied in, in one transaction.
#include "bench/ClubGenerator.h"
#include "tools/datadir/Exchange.h"

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
        clubs = datadir::exportClubs(
            {store, out.path() + QStringLiteral("/clubes%1.csv").arg(++run), QLatin1Char(';')});
    state.counters["clubs"] = clubs;
}
BENCHMARK(BM_ExportClubs)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->DisplayAggregatesOnly(true);

// The generated catalogue holds a few clubs the club editor would refuse (a country
// without a reference row, Brazilian national teams without a state): they are left
// out of the file to import.
QByteArray importableCsv(const QString& store, const QString& work) {
    const QString file = work + QStringLiteral("/exportado.csv");
    datadir::exportClubs({store, file, QLatin1Char(';')});
    QFile in(file);
    in.open(QIODevice::ReadOnly);
    QByteArray kept;
    for (const QByteArray& line : in.readAll().split('\n'))
        if (!line.isEmpty() && !line.contains(QStringLiteral(";Atlântida;").toUtf8()) &&
            !line.contains(";Brasil;;"))
            kept += line + '\n';
    return kept;
}

void BM_ImportClubs(benchmark::State& state) {
    const QString source = bench::cachedStore(int(state.range(0)));
    QTemporaryDir work;
    const QString csv = work.path() + QStringLiteral("/clubes.csv");
    QFile out(csv);
    out.open(QIODevice::WriteOnly);
    out.write(importableCsv(source, work.path()));
    out.close();
    int added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString target = bench::scratchFolder();
        bench::makeStore(target, 0);
        state.ResumeTiming();
        const datadir::ImportReport report =
            datadir::importClubs({target, csv, QChar(), source, 2024});
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
}
BENCHMARK(BM_ImportClubs)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->DisplayAggregatesOnly(true);

} // namespace
