// The gallery page: filling twelve slots with big photo-like badges and flags from a
// cold picture cache, against decoding the same files alone; and the first page of
// "Todos os Clubes Cadastrados" on big catalogues.
#include "app/VelmoraApp.h"
#include "bench/BenchApp.h"
#include "bench/ClubGenerator.h"
#include "bench/Photo.h"
#include "bench/Scale.h"
#include "gallery/GalleryCommand.h"
#include "gallery/MenuGalleries.h"
#include "gallery/Relatorios.h"
#include "store/Module.h"
#include "store/Query.h"
#include "tests/support/store/TestStore.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

using namespace velmora;

namespace {

using bench::BenchApp;

// Twelve clubs, each with its own 1000 x 1000 badge and its own flag.
struct PhotoPage {
    test::AppFixture fx;
    test::TestStore& store = fx.store;
    std::vector<std::pair<QString, QSize>> pictures; // the 24 files and their boxes

    PhotoPage() {
        for (int i = 1; i <= TFrmRelatorios::slotCount; ++i) {
            test::Club club =
                store.club(i, QStringLiteral("Clube%1").arg(i, 2, 10, QLatin1Char('0')));
            club.escudoClube =
                bench::writePhoto(store.path(QStringLiteral("Distintivos/foto%1.jpg").arg(i)),
                                  {1000, 1000}, quint32(i));
            club.bandeiraPais =
                bench::writePhoto(store.path(QStringLiteral("Bandeiras/foto%1.jpg").arg(i)),
                                  {1000, 667}, quint32(100 + i));
            store.insert(club);
        }
        store.close();
        TFrmRelatorios& page = *fx.start().FrmRelatorios;
        for (int i = 1; i <= TFrmRelatorios::slotCount; ++i) {
            const TFrmRelatorios::Slot& s = page.slot(i);
            pictures.push_back(
                {store.path(QStringLiteral("Distintivos/foto%1.jpg").arg(i)), s.ImgClube->size()});
            pictures.push_back({store.path(QStringLiteral("Bandeiras/foto%1.jpg").arg(i)),
                                s.ImgBandClube->size()});
        }
    }

    // The listing of the clubs' gallery, open on its first row.
    std::unique_ptr<Query> listing() {
        std::unique_ptr<Query> q = fx.app().FrmRelatorios->newListing();
        const GalleryDef& all = menuGalleryDef(MenuGallery::TodosOsClubes);
        q->run(all.listing());
        return q;
    }
};

void BM_PageFill(benchmark::State& state) {
    PhotoPage photos;
    VelmoraApp& app = photos.fx.app();
    TFrmRelatorios& page = *app.FrmRelatorios;
    for (auto _ : state) {
        state.PauseTiming();
        app.pictures.clearCache();
        std::unique_ptr<Query> listing = photos.listing();
        state.ResumeTiming();
        page.fillFirstPage(std::move(listing), SlotRule::Standard, PageButton::TodosClubes);
    }
    if (page.slot(12).LblNomeClube->text() != QLatin1String("Clube12") ||
        page.slot(12).ImgBandClube->pixmap().isNull() || app.pictures.decodeCount() == 0)
        state.SkipWithError("the page was not filled");
}
BENCHMARK(BM_PageFill)->Unit(benchmark::kMillisecond)->Repetitions(5)->DisplayAggregatesOnly(true);

void BM_PageFillDecodeOnly(benchmark::State& state) {
    PhotoPage photos;
    for (auto _ : state)
        for (const auto& [path, box] : photos.pictures)
            benchmark::DoNotOptimize(Pictures::decodeJpeg(path, box));
}
BENCHMARK(BM_PageFillDecodeOnly)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->DisplayAggregatesOnly(true);

// Listing, count, title and first page; the pictures come from the cache.
void BM_GalleryFirstPage(benchmark::State& state) {
    BenchApp bench(bench::cachedStore(int(state.range(0))));
    VelmoraApp& app = bench.app();
    app.runMenuGallery(MenuGallery::TodosOsClubes); // warms the picture cache
    for (auto _ : state)
        app.runMenuGallery(MenuGallery::TodosOsClubes);
    const TFrmRelatorios& page = *app.FrmRelatorios;
    if (!bench.dialogs.shown().isEmpty() || page.slot(12).LblNomeClube->text().isEmpty() ||
        page.pageButton(PageButton::TodosClubes)->isHidden())
        state.SkipWithError("the first page was not filled");
    state.SetLabel(page.LblTitulo->text().toStdString());
}
VELMORA_CATALOGUE_BENCHMARK(BM_GalleryFirstPage);

// The same with the count statement run every time, as after any change to the store.
void BM_GalleryFirstPageFreshCount(benchmark::State& state) {
    BenchApp bench(bench::cachedStore(int(state.range(0))));
    VelmoraApp& app = bench.app();
    app.runMenuGallery(MenuGallery::TodosOsClubes);
    for (auto _ : state) {
        app.dm().counts.clear();
        app.runMenuGallery(MenuGallery::TodosOsClubes);
    }
    if (!bench.dialogs.shown().isEmpty())
        state.SkipWithError("the gallery failed");
}
VELMORA_CATALOGUE_BENCHMARK(BM_GalleryFirstPageFreshCount);

} // namespace
