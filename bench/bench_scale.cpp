// Every interaction a user meets on a big catalogue, at each catalogue size: the nine
// galleries' first page after a change, the next page, the name search with common,
// rare and absent fragments, the editor's locate, the detail chooser's list and
// drop-down, and start-up. Names: BM_<window>_<interaction>.
#include "app/Inicial.h"
#include "app/VelmoraApp.h"
#include "bench/BenchApp.h"
#include "bench/ClubGenerator.h"
#include "bench/Scale.h"
#include "bench/Words.h"
#include "detail/SelClube.h"
#include "gallery/Anos.h"
#include "gallery/FederSel.h"
#include "gallery/GalleryCommand.h"
#include "gallery/MenuGalleries.h"
#include "gallery/Relatorios.h"
#include "registry/Clubes.h"
#include "store/Database.h"
#include "store/FastPaths.h"
#include "store/Module.h"
#include "store/Query.h"

#include "platform/DataControls.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTextStream>
#include <cstdio>
#include <memory>
#include <optional>

using namespace velmora;

namespace {

using bench::BenchApp;
using bench::Words;
using bench::wordsOf;

// Resident memory of this process in MB (VmRSS).
double residentMB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return 0;
    QTextStream in(&status);
    for (QString line = in.readLine(); !line.isNull(); line = in.readLine()) {
        if (line.startsWith(QLatin1String("VmRSS:")))
            return line.section(QLatin1Char(' '), 1, -1, QString::SectionSkipEmpty)
                       .section(QLatin1Char(' '), 0, 0)
                       .toDouble() /
                   1024.0;
    }
    return 0;
}

const Words& words(benchmark::State& state) {
    return wordsOf(bench::cachedStore(int(state.range(0))));
}

void check(benchmark::State& state, BenchApp& bench, bool wantPage) {
    const QStringList told = bench.dialogs.messages();
    if (wantPage && !told.isEmpty())
        state.SkipWithError(qPrintable(told.join(u'\n')));
    else if (wantPage && bench.page().slot(1).LblNomeClube->text().isEmpty())
        state.SkipWithError("the first page was not filled");
    state.SetLabel(bench.page().LblTitulo->text().toStdString());
}

// A menu gallery's first page, the counts read again as after any change to the store.
void menuGallery(benchmark::State& state, MenuGallery gallery, const QString& entry,
                 bool wantPage = true) {
    BenchApp bench(bench::cachedStore(int(state.range(0))));
    const auto once = [&] {
        bench.app().dm().counts.clear();
        // Each time as if asked for the first time: no plan kept from the last one.
        bench.app().dm().database().shortcuts().forget();
        if (!entry.isNull())
            bench.dialogs.queueEntry(entry);
        bench.app().runMenuGallery(gallery);
    };
    once(); // pictures decoded once
    bench.dialogs.clearLog();
    for (auto _ : state)
        once();
    check(state, bench, wantPage);
}

void BM_Gallery_Brasileiros(benchmark::State& s) {
    menuGallery(s, MenuGallery::ClubesBrasileiros, {});
}
void BM_Gallery_EstadoSP(benchmark::State& s) {
    menuGallery(s, MenuGallery::ClubesPorEstado, words(s).bigState);
}
void BM_Gallery_PaisBra(benchmark::State& s) {
    menuGallery(s, MenuGallery::ClubesPorPais, words(s).bigCountry);
}
void BM_Gallery_PaisFewClubs(benchmark::State& s) {
    menuGallery(s, MenuGallery::ClubesPorPais, words(s).fewCountry);
}
void BM_Gallery_TodosOsClubes(benchmark::State& s) {
    menuGallery(s, MenuGallery::TodosOsClubes, {});
}
void BM_Gallery_Selecoes(benchmark::State& s) {
    menuGallery(s, MenuGallery::TodasAsSelecoes, {});
}
void BM_Gallery_Extintos(benchmark::State& s) {
    menuGallery(s, MenuGallery::Extintos, {});
}
void BM_Pesquisar_ManyClubs(benchmark::State& s) {
    menuGallery(s, MenuGallery::PesquisarPorNome, words(s).commonName);
}
void BM_Pesquisar_FewClubs(benchmark::State& s) {
    menuGallery(s, MenuGallery::PesquisarPorNome, words(s).rareName);
}
void BM_Pesquisar_NoClub3Letters(benchmark::State& s) {
    menuGallery(s, MenuGallery::PesquisarPorNome, words(s).absent3, false);
}
void BM_Pesquisar_NoClub2Letters(benchmark::State& s) {
    menuGallery(s, MenuGallery::PesquisarPorNome, words(s).absent2, false);
}
void BM_Pesquisar_NoClub1Letter(benchmark::State& s) {
    menuGallery(s, MenuGallery::PesquisarPorNome, words(s).absent1, false);
}

// Fragments few names hold but whose pieces many do: a letter, a digit, two common
// words that never stand together.
void BM_Pesquisar_RareLetter(benchmark::State& s) {
    menuGallery(s, MenuGallery::PesquisarPorNome, words(s).rareLetter);
}
void BM_Pesquisar_RareDigit(benchmark::State& s) {
    if (words(s).rareDigit.isEmpty())
        s.SkipWithError("no name holds a digit");
    else
        menuGallery(s, MenuGallery::PesquisarPorNome, words(s).rareDigit);
}
void BM_Pesquisar_WordsApart(benchmark::State& s) {
    menuGallery(s, MenuGallery::PesquisarPorNome, words(s).apartName, false);
}
void BM_Pesquisar_WordsSwapped(benchmark::State& s) {
    menuGallery(s, MenuGallery::PesquisarPorNome, words(s).swappedName, false);
}
void BM_Pesquisar_LongerWord(benchmark::State& s) {
    menuGallery(s, MenuGallery::PesquisarPorNome, words(s).longerWord, false);
}

VELMORA_CATALOGUE_BENCHMARK(BM_Gallery_Brasileiros);
VELMORA_CATALOGUE_BENCHMARK(BM_Gallery_EstadoSP);
VELMORA_CATALOGUE_BENCHMARK(BM_Gallery_PaisBra);
VELMORA_CATALOGUE_BENCHMARK(BM_Gallery_PaisFewClubs);
VELMORA_CATALOGUE_BENCHMARK(BM_Gallery_TodosOsClubes);
VELMORA_CATALOGUE_BENCHMARK(BM_Gallery_Selecoes);
VELMORA_CATALOGUE_BENCHMARK(BM_Gallery_Extintos);
VELMORA_CATALOGUE_BENCHMARK(BM_Pesquisar_ManyClubs);
VELMORA_CATALOGUE_BENCHMARK(BM_Pesquisar_FewClubs);
VELMORA_CATALOGUE_BENCHMARK(BM_Pesquisar_NoClub3Letters);
VELMORA_CATALOGUE_BENCHMARK(BM_Pesquisar_NoClub2Letters);
VELMORA_CATALOGUE_BENCHMARK(BM_Pesquisar_NoClub1Letter);
VELMORA_CATALOGUE_BENCHMARK(BM_Pesquisar_RareLetter);
VELMORA_CATALOGUE_BENCHMARK(BM_Pesquisar_RareDigit);
VELMORA_CATALOGUE_BENCHMARK(BM_Pesquisar_WordsApart);
VELMORA_CATALOGUE_BENCHMARK(BM_Pesquisar_WordsSwapped);
VELMORA_CATALOGUE_BENCHMARK(BM_Pesquisar_LongerWord);

// "Pesquisar" through the shortcuts against the statement as written, on the generated
// catalogue: every row in the same order, for fragments that many, few or no clubs
// have, of one to seven letters. A difference ends the benchmark with an error.
void BM_Pesquisar_SameRowsAsWritten(benchmark::State& state) {
    const QString dir = bench::cachedStore(int(state.range(0)));
    const Words& w = wordsOf(dir);
    Database fast(dir);
    Database plain(dir);
    plain.setFastPaths(false);
    const GalleryDef& def = menuGalleryDef(MenuGallery::PesquisarPorNome);
    const auto open = [&](Database& db, const QString& fragment) {
        auto query = std::make_unique<Query>(db, QStringLiteral("QueryRelatorio"));
        query->run(def.listing(),
                   {{def.parameter, QLatin1Char('%') + fragment + QLatin1Char('%')}});
        return query;
    };
    const QStringList searched = {w.commonName,           w.rareName,  w.absent3,
                                  QStringLiteral("Tuçã"), w.absent2,   w.absent1,
                                  w.rareLetter,           w.rareDigit, w.apartName};
    qint64 rows = 0;
    for (auto _ : state) {
        for (const QString& fragment : searched) {
            const auto a = open(fast, fragment);
            const auto b = open(plain, fragment);
            for (; !a->eof() || !b->eof(); a->next(), b->next(), ++rows) {
                bool same = a->eof() == b->eof();
                for (int c = 0; same && c < a->columnCount(); ++c)
                    same = a->field(c) == b->field(c);
                if (!same) {
                    state.SkipWithError(qPrintable(
                        QStringLiteral("\"%1\": row %2 differs").arg(fragment).arg(rows)));
                    return;
                }
            }
        }
    }
    state.counters["rows"] = double(rows) / double(state.iterations());
}
VELMORA_CATALOGUE_BENCHMARK(BM_Pesquisar_SameRowsAsWritten, benchmark::kMillisecond, 1);

// The year and federation galleries: OK in their chooser, counts read again.
template <typename Chooser>
void chooserGallery(benchmark::State& state, Chooser& (*window)(VelmoraApp&),
                    QComboBox* Chooser::*combo, const QString& choice) {
    BenchApp bench(bench::cachedStore(int(state.range(0))));
    Chooser& chooser = window(bench.app());
    const auto once = [&] {
        bench.app().dm().counts.clear();
        // Each time as if asked for the first time: no plan kept from the last one.
        bench.app().dm().database().shortcuts().forget();
        chooser.FormActivate();
        QComboBox* box = chooser.*combo;
        box->setCurrentIndex(box->findText(choice));
        chooser.BtnOkClick();
    };
    once();
    bench.dialogs.clearLog();
    for (auto _ : state)
        once();
    check(state, bench, true);
}

TFrmAno& yearChooser(VelmoraApp& app) {
    return *app.FrmAno;
}
TFrmSelFeder& federationChooser(VelmoraApp& app) {
    return *app.FrmSelFeder;
}

void BM_Gallery_AnoFundacao(benchmark::State& s) {
    chooserGallery(s, yearChooser, &TFrmAno::ComboAnos, words(s).year);
}
void BM_Gallery_Federacao(benchmark::State& s) {
    chooserGallery(s, federationChooser, &TFrmSelFeder::ComboFeder, words(s).federation);
}
VELMORA_CATALOGUE_BENCHMARK(BM_Gallery_AnoFundacao);
VELMORA_CATALOGUE_BENCHMARK(BM_Gallery_Federacao);

// ">>" on "Todos os Clubes Cadastrados", twelve rows further each time.
void BM_Gallery_NextPage(benchmark::State& state) {
    BenchApp bench(bench::cachedStore(int(state.range(0))));
    bench.app().runMenuGallery(MenuGallery::TodosOsClubes);
    QPushButton* next = bench.page().pageButton(PageButton::TodosClubes);
    for (auto _ : state) {
        if (!next->isVisible()) {
            state.PauseTiming();
            bench.app().runMenuGallery(MenuGallery::TodosOsClubes);
            state.ResumeTiming();
        }
        bench.page().BtnTodosClubesClick();
    }
    check(state, bench, true);
}
VELMORA_CATALOGUE_BENCHMARK(BM_Gallery_NextPage);

// "Localizar" in the editor with three or more letters; `found` says whether a club
// must be found (nothing: either will do).
void locate(benchmark::State& state, const QString& text, std::optional<bool> found) {
    BenchApp bench(bench::cachedStore(int(state.range(0))));
    bench.app().FrmInicial->CadastrodeClubes1Click();
    TFrmClubes& editor = *bench.app().FrmClubes;
    for (auto _ : state) {
        bench.dialogs.queueEntry(text);
        editor.BtnLocalizarClick();
    }
    const QStringList told = bench.dialogs.messages();
    const bool notFound = told.contains(QStringLiteral("Clube não encontrado"));
    if (found && notFound == *found)
        state.SkipWithError(qPrintable(told.join(u'\n')));
    state.SetLabel(notFound ? "not found" : "found");
}
void BM_Localizar_LateMatch(benchmark::State& s) {
    locate(s, words(s).lateFull, true);
}
void BM_Localizar_NoMatch(benchmark::State& s) {
    locate(s, words(s).absent3, false);
}
VELMORA_CATALOGUE_BENCHMARK(BM_Localizar_LateMatch);
void BM_Localizar_WordsApart(benchmark::State& s) {
    locate(s, words(s).apartFull, std::nullopt);
}
VELMORA_CATALOGUE_BENCHMARK(BM_Localizar_NoMatch);
VELMORA_CATALOGUE_BENCHMARK(BM_Localizar_WordsApart);
void BM_Localizar_WordsSwapped(benchmark::State& s) {
    locate(s, words(s).swappedFull, std::nullopt);
}
void BM_Localizar_LaterWordsSwapped(benchmark::State& s) {
    locate(s, words(s).swappedLater, std::nullopt);
}
VELMORA_CATALOGUE_BENCHMARK(BM_Localizar_WordsSwapped);
VELMORA_CATALOGUE_BENCHMARK(BM_Localizar_LaterWordsSwapped);
void BM_Localizar_LongerWord(benchmark::State& s) {
    locate(s, words(s).longerWord, std::nullopt);
}
VELMORA_CATALOGUE_BENCHMARK(BM_Localizar_LongerWord);

// "Detalhe do Clube/Seleção": checking a kind fills the list; then the drop-down
// opens. Memory growth of both is reported.
void chooserList(benchmark::State& state, bool clubs, bool openDropDown) {
    BenchApp bench(bench::cachedStore(int(state.range(0))));
    TFrmSelClube& chooser = *bench.app().FrmSelClube;
    const double before = residentMB();
    for (auto _ : state) {
        state.PauseTiming();
        chooser.ComboClubes->hidePopup();
        bench.app().FrmInicial->DadosdoClube1Click();
        chooser.FormActivate();
        state.ResumeTiming();
        (clubs ? chooser.rbClube : chooser.rbSelecao)->setChecked(true);
        if (openDropDown)
            chooser.ComboClubes->showPopup();
    }
    state.counters["rss_growth_MB"] = residentMB() - before;
    state.counters["names"] = chooser.ComboClubes->count();
    chooser.ComboClubes->hidePopup();
    if (chooser.ComboClubes->count() == 0)
        state.SkipWithError("the list is empty");
}
void BM_DetalheClube_FillList(benchmark::State& s) {
    chooserList(s, true, false);
}
void BM_DetalheClube_OpenDropDown(benchmark::State& s) {
    chooserList(s, true, true);
}
void BM_DetalheSelecao_OpenDropDown(benchmark::State& s) {
    chooserList(s, false, true);
}
VELMORA_CATALOGUE_BENCHMARK(BM_DetalheClube_FillList);
VELMORA_CATALOGUE_BENCHMARK(BM_DetalheClube_OpenDropDown);
VELMORA_CATALOGUE_BENCHMARK(BM_DetalheSelecao_OpenDropDown);

// The chooser's list far down: each step offers one more page and reads its last row,
// as the drop-down does when the user drags it on past three quarters of the clubs.
void BM_DetalheClube_FarPage(benchmark::State& state) {
    BenchApp bench(bench::cachedStore(int(state.range(0))));
    TFrmSelClube& chooser = *bench.app().FrmSelClube;
    QAbstractItemModel* names = chooser.ComboClubes->model();
    const auto fill = [&] {
        bench.app().FrmInicial->DadosdoClube1Click();
        chooser.FormActivate();
        chooser.rbClube->setChecked(true);
    };
    const auto lastRow = [&] {
        return names->data(names->index(names->rowCount() - 1, 0)).toString();
    };
    fill();
    int pages = 1;
    for (; names->canFetchMore({}); ++pages)
        names->fetchMore({});
    fill();
    for (int page = 1; page < pages * 3 / 4; ++page)
        names->fetchMore({});
    lastRow(); // reaching that far at once, untimed
    for (auto _ : state) {
        if (!names->canFetchMore({})) {
            state.SkipWithError("the list ended");
            break;
        }
        names->fetchMore({});
        benchmark::DoNotOptimize(lastRow());
    }
    state.counters["row"] = names->rowCount();
}
VELMORA_CATALOGUE_BENCHMARK(BM_DetalheClube_FarPage, benchmark::kMillisecond, 3, 100);

// Start-up after the splash's wait: every window and the data module created, then
// the main window's first activation.
void BM_StartUp(benchmark::State& state) {
    BenchApp bench(bench::cachedStore(int(state.range(0))));
    bench.stop();
    for (auto _ : state) {
        bench.start().FrmInicial->FormActivate();
        state.PauseTiming();
        bench.stop();
        state.ResumeTiming();
    }
}
VELMORA_CATALOGUE_BENCHMARK(BM_StartUp);

// The peak resident memory of the program through all of the above, measured in a
// process of its own (this one holds the generated stores and every benchmark's app).
void BM_PeakMemory(benchmark::State& state) {
    const QString dir = bench::cachedStore(int(state.range(0)));
    for (auto _ : state) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--velmora_memory_journey=") + dir});
        if (!child.waitForFinished(600000) || child.exitCode() != 0) {
            state.SkipWithError(child.readAllStandardError().constData());
            return;
        }
        state.counters["peak_rss_MB"] = child.readAllStandardOutput().trimmed().toDouble();
    }
}
VELMORA_CATALOGUE_BENCHMARK(BM_PeakMemory, benchmark::kMillisecond, 1);

} // namespace

namespace velmora::bench {

int memoryJourney(const QString& dir) {
    const Words& w = wordsOf(dir);
    // On a copy: "Recalcular Idade" below writes every age.
    BenchApp bench(dir, nullptr, test::TestStore::Copy::Store);
    VelmoraApp& app = bench.app();
    app.FrmInicial->FormActivate();
    const QList<std::pair<MenuGallery, QString>> galleries = {
        {MenuGallery::ClubesBrasileiros, {}},
        {MenuGallery::ClubesPorEstado, w.bigState},
        {MenuGallery::ClubesPorPais, w.bigCountry},
        {MenuGallery::ClubesPorPais, w.fewCountry},
        {MenuGallery::TodosOsClubes, {}},
        {MenuGallery::TodasAsSelecoes, {}},
        {MenuGallery::Extintos, {}},
        {MenuGallery::PesquisarPorNome, w.commonName},
        {MenuGallery::PesquisarPorNome, w.rareName},
        {MenuGallery::PesquisarPorNome, w.absent1},
    };
    for (const auto& [gallery, entry] : galleries) {
        if (!entry.isNull())
            bench.dialogs.queueEntry(entry);
        app.runMenuGallery(gallery);
        app.FrmRelatorios->BtnPaisSelClick();
        app.FrmInicial->FormActivate();
    }
    app.FrmInicial->CadastrodeClubes1Click();
    for (const QString& text : {w.lateFull, w.absent3}) {
        bench.dialogs.queueEntry(text);
        app.FrmClubes->BtnLocalizarClick();
    }
    for (int i = 0; i < 50; ++i)
        app.FrmClubes->Navegador->press(DbNavigator::Button::Next);
    app.FrmClubes->RecalcularIdadedosClubes1Click();
    TFrmSelClube& chooser = *app.FrmSelClube;
    for (QRadioButton* kind : {chooser.rbClube, chooser.rbSelecao}) {
        app.FrmInicial->DadosdoClube1Click();
        chooser.FormActivate();
        kind->setChecked(true);
        chooser.ComboClubes->showPopup();
        chooser.ComboClubes->view()->scrollToBottom();
        QCoreApplication::processEvents();
        chooser.ComboClubes->hidePopup();
        chooser.ComboClubes->setCurrentIndex(chooser.ComboClubes->count() / 2);
        chooser.BtnOkClick();
    }
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return 1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            std::printf("%.1f\n", line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0);
            return 0;
        }
    }
    return 1;
}

} // namespace velmora::bench
