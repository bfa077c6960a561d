// Store speed: the main window's counters and opening the data module on big stores.
#include "bench/ClubGenerator.h"
#include "bench/Scale.h"
#include "store/Module.h"
#include "store/Query.h"
#include "store/Statements.h"
#include "tests/support/store/Statements.h"

#include <benchmark/benchmark.h>

using namespace velmora;

namespace {

void BM_CountStatement(benchmark::State& state) {
    Database db(bench::cachedStore(int(state.range(0))));
    Query query(db, QStringLiteral("QueryTodosClubes"));
    for (auto _ : state) {
        query.run(Statements::activeClubCount());
        benchmark::DoNotOptimize(query.field(0));
    }
}
VELMORA_CATALOGUE_BENCHMARK(BM_CountStatement);

void BM_OpenDataModule(benchmark::State& state) {
    const QString dir = bench::cachedStore(int(state.range(0)));
    for (auto _ : state) {
        TFrmDm dm(dir);
        benchmark::DoNotOptimize(dm.TblClubes.rowCount());
    }
}
VELMORA_CATALOGUE_BENCHMARK(BM_OpenDataModule);

// The all-clubs gallery: open the listing and read its first page of twelve rows.
void BM_ListingFirstPage(benchmark::State& state) {
    Database db(bench::cachedStore(int(state.range(0))));
    Query query(db, QStringLiteral("QueryConsulta"));
    const QStringList lines = test::allClubsListing();
    for (auto _ : state) {
        query.run(lines);
        for (int slot = 0; slot < 12 && !query.eof(); ++slot) {
            benchmark::DoNotOptimize(query.field(0));
            query.next();
        }
    }
}
VELMORA_CATALOGUE_BENCHMARK(BM_ListingFirstPage);

// The editor's record navigator walking the club table.
void BM_TableNext(benchmark::State& state) {
    TFrmDm dm(bench::cachedStore(int(state.range(0))));
    dm.TblClubes.first();
    for (auto _ : state) {
        dm.TblClubes.next();
        if (dm.TblClubes.eof())
            dm.TblClubes.first();
        benchmark::DoNotOptimize(dm.TblClubes.fieldText(QStringLiteral("NomeClube")));
    }
}
VELMORA_CATALOGUE_BENCHMARK(BM_TableNext, benchmark::kMicrosecond);

} // namespace
