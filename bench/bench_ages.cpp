// "Recalcular Idade dos Clubes" on a big catalogue: every age rewritten in one
// transaction, the table read again and the last club shown.
#include "app/Inicial.h"
#include "bench/ClubGenerator.h"
#include "bench/Scale.h"
#include "registry/Clubes.h"
#include "store/Ages.h"
#include "store/Module.h"
#include "tests/support/AppFixture.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

using namespace velmora;

namespace {

// CPU of the whole process in ms: the recount runs on a thread of its own.
double processCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// "Recalcular Idade dos Clubes" as pressed again in the same year, every age already
// right (newYear false), or the first press of a new year, every age rewritten.
void recalcAges(benchmark::State& state, bool newYear) {
    // The recomputation writes: it runs on a copy of the shared generated store.
    // Pictures are named by full path, so the copy still finds those of the original.
    test::AppFixture fx(bench::cachedStore(int(state.range(0))), test::TestStore::Copy::Store);
    fx.clock.setYear(bench::generatedYear);
    VelmoraApp& app = fx.start();
    app.FrmInicial->CadastrodeClubes1Click();
    TFrmClubes& editor = *app.FrmClubes;
    editor.recordDisplay(); // the last club's pictures decoded once, before timing
    // A second press in the same year comes after a first one, which made the ages.
    if (!newYear)
        editor.RecalcularIdadedosClubes1Click();
    fx.dialogs.clearLog();

    int year = bench::generatedYear;
    double cpu = 0;
    for (auto _ : state) {
        if (newYear)
            fx.clock.setYear(++year);
        const double before = processCpuMs();
        editor.RecalcularIdadedosClubes1Click();
        cpu += processCpuMs() - before;

        state.PauseTiming();
        const QStringList told = fx.dialogs.messages();
        fx.dialogs.clearLog();
        if (told.isEmpty() ||
            !told.constLast().startsWith(QLatin1String("Idades atualizadas com sucesso!"))) {
            state.SkipWithError(qPrintable(told.join(u'\n')));
            break;
        }
        state.ResumeTiming();
    }
    state.counters["clubs"] = double(app.dm().TblClubes.rowCount());
    state.counters["process_cpu_ms"] = benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
}

void BM_RecalcAges(benchmark::State& state) {
    recalcAges(state, false);
}
void BM_RecalcAgesNewYear(benchmark::State& state) {
    recalcAges(state, true);
}
VELMORA_CATALOGUE_BENCHMARK(BM_RecalcAges);
VELMORA_CATALOGUE_BENCHMARK(BM_RecalcAgesNewYear, benchmark::kMillisecond, 1);

// The store's part alone: one update statement in one transaction.
void BM_StoreAges(benchmark::State& state) {
    test::TestStore store(bench::cachedStore(int(state.range(0))), test::TestStore::Copy::Store);
    Database db(store.dir());
    int year = bench::generatedYear;
    for (auto _ : state)
        benchmark::DoNotOptimize(storeAges(db, ++year).value_or(-1));
}
VELMORA_CATALOGUE_BENCHMARK(BM_StoreAges);

} // namespace
