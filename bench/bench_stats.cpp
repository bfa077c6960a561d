// The statistics window on a big catalogue: opening it (the counts read from the count
// tables, every view built, the first one drawn), showing it again and switching views
// while the store is unchanged, and the maps parsed when the program first needs them.
#include "app/VelmoraApp.h"
#include "bench/BenchApp.h"
#include "bench/Scale.h"
#include "platform/Services.h"
#include "stats/Canvas.h"
#include "stats/Estatisticas.h"
#include "stats/Maps.h"
#include "store/Module.h"
#include "store/Statistics.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTabWidget>
#include <benchmark/benchmark.h>

using namespace velmora;

namespace {

// Draws the window's current view from scratch, as its first paint does.
void drawCurrent(TFrmEstatisticas& window) {
    Canvas* canvas = window.canvas(window.currentView());
    QImage image(canvas->size(), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    canvas->render(painter, canvas->rect());
}

bool counted(TFrmEstatisticas& window, qint64 clubs) {
    return window.view(0).title.contains(
        QLocale(QLocale::Portuguese, QLocale::Brazil).toString(clubs));
}

// A new window each time: constructed, counts read, the world map drawn.
void BM_Estatisticas_FirstOpen(benchmark::State& state) {
    bench::BenchApp app(bench::cachedStore(int(state.range(0))));
    Services& services = *app.app().services;
    for (auto _ : state) {
        TFrmEstatisticas window(services);
        window.resize(window.sizeHint());
        window.FormActivate();
        drawCurrent(window);
        if (!counted(window, state.range(0)))
            state.SkipWithError("the window did not count the catalogue");
    }
}
VELMORA_CATALOGUE_BENCHMARK(BM_Estatisticas_FirstOpen);

// Shown again with the store unchanged, then the next view drawn.
void BM_Estatisticas_SwitchView(benchmark::State& state) {
    bench::BenchApp app(bench::cachedStore(int(state.range(0))));
    TFrmEstatisticas& window = *app.app().FrmEstatisticas;
    window.show();
    window.FormActivate();
    int view = 0;
    for (auto _ : state) {
        window.FormActivate();
        view = (view + 1) % window.viewCount();
        window.TabVisoes->setCurrentIndex(view);
        drawCurrent(window);
    }
    if (!counted(window, state.range(0)))
        state.SkipWithError("the window did not count the catalogue");
}
VELMORA_CATALOGUE_BENCHMARK(BM_Estatisticas_SwitchView, benchmark::kMicrosecond);

// The counts alone, read again after a write.
void BM_Estatisticas_ReadCounts(benchmark::State& state) {
    bench::BenchApp app(bench::cachedStore(int(state.range(0))));
    Database& db = app.app().dm().database();
    for (auto _ : state)
        benchmark::DoNotOptimize(readStatistics(db).total());
}
VELMORA_CATALOGUE_BENCHMARK(BM_Estatisticas_ReadCounts, benchmark::kMicrosecond);

// Once per run of the program: both maps read from the program's resources.
void BM_Estatisticas_ParseMaps(benchmark::State& state) {
    QFile world(QStringLiteral(":/velmora-maps/mundo.txt"));
    QFile brazil(QStringLiteral(":/velmora-maps/brasil.txt"));
    if (!world.open(QIODevice::ReadOnly) || !brazil.open(QIODevice::ReadOnly)) {
        state.SkipWithError("the maps are not in the program");
        return;
    }
    const QByteArray w = world.readAll(), b = brazil.readAll();
    for (auto _ : state) {
        benchmark::DoNotOptimize(MapShapes::parse(w, {}).shapes().size());
        benchmark::DoNotOptimize(MapShapes::parse(b, {}).shapes().size());
    }
}
BENCHMARK(BM_Estatisticas_ParseMaps)->Unit(benchmark::kMillisecond);

} // namespace
