// "Recalcular Idade dos Clubes" on a big catalogue: every age rewritten in one
// transaction, the table read again and the last club shown.
#include "app/Inicial.h"
#include "bench/ClubGenerator.h"
#include "registry/Clubes.h"
#include "registry/Idade.h"
#include "store/Module.h"
#include "tests/support/AppFixture.h"

#include <QFile>
#include <benchmark/benchmark.h>

using namespace velmora;

namespace {

// The recomputation writes: it runs on a copy of the shared generated store. Pictures
// are named by full path, so the copy still finds those of the original folder.
void copyStore(const QString& from, const QString& to) {
    for (const char* suffix : {"", "-wal"}) {
        const QString name = QString::fromLatin1(Database::fileName) + QLatin1String(suffix);
        if (QFile::exists(from + u'/' + name))
            QFile::copy(from + u'/' + name, to + u'/' + name);
    }
}

void BM_RecalcAges(benchmark::State& state) {
    test::AppFixture fx;
    copyStore(bench::cachedStore(int(state.range(0))), fx.dataDir());
    VelmoraApp& app = fx.start();
    app.FrmInicial->CadastrodeClubes1Click();
    TFrmClubes& editor = *app.FrmClubes;
    editor.recordDisplay(); // the last club's pictures decoded once, before timing
    fx.dialogs.clearLog();

    int year = 2024;
    for (auto _ : state) {
        fx.clock.setYear(++year); // every age really changes
        editor.RecalcularIdadedosClubes1Click();

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
}
BENCHMARK(BM_RecalcAges)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->DisplayAggregatesOnly(true);

// The store's part alone: one update statement in one transaction.
void BM_StoreAges(benchmark::State& state) {
    test::AppFixture fx;
    copyStore(bench::cachedStore(int(state.range(0))), fx.dataDir());
    Database db(fx.dataDir());
    int year = 2024;
    for (auto _ : state)
        benchmark::DoNotOptimize(storeAges(db, ++year));
}
BENCHMARK(BM_StoreAges)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->DisplayAggregatesOnly(true);

} // namespace
