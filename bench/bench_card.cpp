// Opening a detail card on a big catalogue: from OK to the card filled, with the
// picture cache emptied before each open (the badge is a 1000 x 1000 JPEG).
#include "app/VelmoraApp.h"
#include "bench/ClubGenerator.h"
#include "bench/Photo.h"
#include "bench/Scale.h"
#include "detail/ClubeSelecionado.h"
#include "detail/SelClube.h"
#include "store/Module.h"
#include "tests/support/AppFixture.h"

#include <QComboBox>
#include <QRadioButton>
#include <QSqlQuery>
#include <benchmark/benchmark.h>

using namespace velmora;

namespace {

// A private copy of the generated store whose chosen Brazilian club carries the
// big badge, so the shared store other benchmarks read stays as generated.
struct CardCatalogue : test::AppFixture {
    QString club;

    explicit CardCatalogue(int clubs)
        : AppFixture(bench::cachedStore(clubs), test::TestStore::Copy::Store) {
        const QString badge =
            bench::writePhoto(store.path(QStringLiteral("escudo-grande.jpg")), {1000, 1000}, 7);
        // Among the names the chooser offers before any scrolling.
        club = store.value(QStringLiteral("select NomeClube from Clubes where Identificador = 0 "
                                          "order by NomeClubeOrdem, NomeClube limit 1 offset 100"));
        QSqlQuery update(store.database().handle());
        update.prepare(QStringLiteral("update Clubes set EscudoClube = ? where NomeClube = ?"));
        update.addBindValue(badge);
        update.addBindValue(club);
        update.exec();
        store.close();
    }
};

void BM_OpenCard(benchmark::State& state) {
    CardCatalogue catalogue(int(state.range(0)));
    VelmoraApp& app = catalogue.start();
    TFrmSelClube& chooser = *app.FrmSelClube;
    TFrmClubeSelecionado& card = *app.FrmClubeSelecionado;
    chooser.rbClube->setChecked(true); // lists every club once
    chooser.ComboClubes->setCurrentIndex(chooser.ComboClubes->findText(catalogue.club));
    if (chooser.ComboClubes->currentText() != catalogue.club) {
        state.SkipWithError("the chosen club is not listed");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        app.pictures.clearCache();
        app.forms.close(&card);
        state.ResumeTiming();
        chooser.BtnOkClick();
    }
    if (!catalogue.dialogs.shown().isEmpty() || card.windowTitle() != catalogue.club)
        state.SkipWithError("the card did not open");
    state.SetLabel(catalogue.club.toStdString());
}
VELMORA_CATALOGUE_BENCHMARK(BM_OpenCard);

} // namespace
