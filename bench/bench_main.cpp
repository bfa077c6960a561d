// The main window's activation on a big catalogue: five counters, the menu rules,
// the featured club's statement and its three pictures (from the picture cache
// after the first round).
#include "app/Inicial.h"
#include "app/VelmoraApp.h"
#include "bench/BenchApp.h"
#include "bench/ClubGenerator.h"
#include "bench/Scale.h"
#include "store/Module.h"

#include <QLabel>
#include <benchmark/benchmark.h>
#include <memory>
#include <utility>

using namespace velmora;

namespace {

using bench::BenchApp;

// Every first draw lands on a club whose country is not in Paises.DB, so each
// activation takes the fallback draw among the findable clubs.
class UnfindableFirst final : public Random {
public:
    explicit UnfindableFirst(int code) : code_(code) {}
    void seedFromClock() override { first_ = true; }
    int below(int n) override {
        if (std::exchange(first_, false))
            return code_ - 1;
        return Random::below(n);
    }

private:
    int code_;
    bool first_ = true;
};

// freshCounts: every activation counts again, as the first one after a change to
// the store does; otherwise the unchanged store's counts are reused.
void activateRepeatedly(benchmark::State& state, BenchApp& main, bool freshCounts = false) {
    TFrmInicial& window = *main.app().FrmInicial;
    window.FormActivate(); // fills the picture cache
    for (auto _ : state) {
        if (freshCounts)
            main.app().dm().counts.clear();
        window.FormActivate();
    }
    if (!main.dialogs.shown().isEmpty())
        state.SkipWithError(main.dialogs.shown().first().text.toStdString().c_str());
    else if (window.LblNomeClube->text().isEmpty())
        state.SkipWithError("no club featured");
}

void BM_MainActivation(benchmark::State& state) {
    Random random; // the program's clock-seeded draw
    BenchApp main(bench::cachedStore(int(state.range(0))), &random);
    activateRepeatedly(state, main);
}

void BM_MainActivationAfterChange(benchmark::State& state) {
    Random random;
    BenchApp main(bench::cachedStore(int(state.range(0))), &random);
    activateRepeatedly(state, main, true);
}

void BM_MainActivationFallback(benchmark::State& state) {
    test::TestStore store(bench::cachedStore(int(state.range(0))), test::TestStore::Copy::None);
    const int unfindable = store
                               .value(QStringLiteral("select min(Codigo) from Clubes where "
                                                     "PaisClube not in (select NomePais from "
                                                     "Paises)"))
                               .toInt();
    store.close();
    if (unfindable <= 0) {
        state.SkipWithError("the store has no club outside Paises.DB");
        return;
    }
    UnfindableFirst random(unfindable);
    BenchApp main(store.dir(), &random);
    activateRepeatedly(state, main);
}

VELMORA_CATALOGUE_BENCHMARK(BM_MainActivation);
VELMORA_CATALOGUE_BENCHMARK(BM_MainActivationAfterChange);
VELMORA_CATALOGUE_BENCHMARK(BM_MainActivationFallback);

} // namespace
