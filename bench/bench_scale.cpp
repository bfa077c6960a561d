// Every interaction a user meets on a big catalogue, at each catalogue size: the nine
// galleries' first page after a change, the next page, the name search with common,
// rare and absent fragments, the editor's locate, the detail chooser's list and
// drop-down, and start-up. Names: BM_<window>_<interaction>.
#include "app/Inicial.h"
#include "app/VelmoraApp.h"
#include "bench/BenchApp.h"
#include "bench/ClubGenerator.h"
#include "bench/Scale.h"
#include "detail/SelClube.h"
#include "gallery/Anos.h"
#include "gallery/FederSel.h"
#include "gallery/MenuGalleries.h"
#include "gallery/Relatorios.h"
#include "registry/Clubes.h"
#include "store/Database.h"
#include "store/Module.h"

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

using namespace velmora;

namespace {

using bench::BenchApp;

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

// Fragments with the counts they were chosen for, read from the generated rows.
struct Fragments {
    QString rareName;   // the word of one name: at most 16 clubs
    QString lateFull;   // the word of the last clubs' full names: found only at the end
    QString fewCountry; // the country with the fewest clubs
};

Fragments fragments(const QString& dir) {
    Database db(dir);
    const int last = db.value(QStringLiteral("select max(Codigo) from Clubes")).toInt();
    const auto lastWord = [&](int code) {
        return db.value(QStringLiteral("select NomeClube from Clubes where Codigo = %1").arg(code))
            .toString()
            .section(QLatin1Char(' '), -1);
    };
    Fragments f;
    f.rareName = lastWord(last / 2);
    f.lateFull = lastWord(last);
    f.fewCountry = db.value(QStringLiteral("select PaisClube from ContagemClubes where "
                                           "Identificador = 0 and PaisClube in (select NomePais "
                                           "from Paises) group by PaisClube order by sum(Qtde), "
                                           "PaisClube limit 1"))
                       .toString();
    return f;
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
    menuGallery(s, MenuGallery::ClubesPorEstado, QStringLiteral("sp"));
}
void BM_Gallery_PaisBra(benchmark::State& s) {
    menuGallery(s, MenuGallery::ClubesPorPais, QStringLiteral("bra"));
}
void BM_Gallery_PaisFewClubs(benchmark::State& s) {
    menuGallery(s, MenuGallery::ClubesPorPais,
                fragments(bench::cachedStore(int(s.range(0)))).fewCountry);
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
    menuGallery(s, MenuGallery::PesquisarPorNome, QStringLiteral("esporte"));
}
void BM_Pesquisar_FewClubs(benchmark::State& s) {
    menuGallery(s, MenuGallery::PesquisarPorNome,
                fragments(bench::cachedStore(int(s.range(0)))).rareName);
}
void BM_Pesquisar_NoClub3Letters(benchmark::State& s) {
    menuGallery(s, MenuGallery::PesquisarPorNome, QStringLiteral("xique"), false);
}
void BM_Pesquisar_NoClub2Letters(benchmark::State& s) {
    menuGallery(s, MenuGallery::PesquisarPorNome, QStringLiteral("wy"), false);
}
void BM_Pesquisar_NoClub1Letter(benchmark::State& s) {
    menuGallery(s, MenuGallery::PesquisarPorNome, QStringLiteral("k"), false);
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

// The year and federation galleries: OK in their chooser, counts read again.
template <typename Chooser>
void chooserGallery(benchmark::State& state, Chooser& (*window)(VelmoraApp&),
                    QComboBox* Chooser::*combo, const QString& choice) {
    BenchApp bench(bench::cachedStore(int(state.range(0))));
    Chooser& chooser = window(bench.app());
    const auto once = [&] {
        bench.app().dm().counts.clear();
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
    chooserGallery(s, yearChooser, &TFrmAno::ComboAnos, QStringLiteral("1950"));
}
void BM_Gallery_Federacao(benchmark::State& s) {
    chooserGallery(s, federationChooser, &TFrmSelFeder::ComboFeder, QStringLiteral("UEFA"));
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

// "Localizar" in the editor with three or more letters.
void locate(benchmark::State& state, const QString& text, bool found) {
    BenchApp bench(bench::cachedStore(int(state.range(0))));
    bench.app().FrmInicial->CadastrodeClubes1Click();
    TFrmClubes& editor = *bench.app().FrmClubes;
    for (auto _ : state) {
        bench.dialogs.queueEntry(text);
        editor.BtnLocalizarClick();
    }
    const QStringList told = bench.dialogs.messages();
    const bool notFound = told.contains(QStringLiteral("Clube não encontrado"));
    if (notFound == found)
        state.SkipWithError(qPrintable(told.join(u'\n')));
}
void BM_Localizar_LateMatch(benchmark::State& s) {
    locate(s, fragments(bench::cachedStore(int(s.range(0)))).lateFull, true);
}
void BM_Localizar_NoMatch(benchmark::State& s) {
    locate(s, QStringLiteral("xique"), false);
}
VELMORA_CATALOGUE_BENCHMARK(BM_Localizar_LateMatch);
VELMORA_CATALOGUE_BENCHMARK(BM_Localizar_NoMatch);

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
    BenchApp bench(dir);
    VelmoraApp& app = bench.app();
    const Fragments f = fragments(dir);
    app.FrmInicial->FormActivate();
    const QList<std::pair<MenuGallery, QString>> galleries = {
        {MenuGallery::ClubesBrasileiros, {}},
        {MenuGallery::ClubesPorEstado, QStringLiteral("sp")},
        {MenuGallery::ClubesPorPais, QStringLiteral("bra")},
        {MenuGallery::ClubesPorPais, f.fewCountry},
        {MenuGallery::TodosOsClubes, {}},
        {MenuGallery::TodasAsSelecoes, {}},
        {MenuGallery::Extintos, {}},
        {MenuGallery::PesquisarPorNome, QStringLiteral("esporte")},
        {MenuGallery::PesquisarPorNome, f.rareName},
        {MenuGallery::PesquisarPorNome, QStringLiteral("k")},
    };
    for (const auto& [gallery, entry] : galleries) {
        if (!entry.isNull())
            bench.dialogs.queueEntry(entry);
        app.runMenuGallery(gallery);
        app.FrmRelatorios->BtnPaisSelClick();
        app.FrmInicial->FormActivate();
    }
    app.FrmInicial->CadastrodeClubes1Click();
    for (const QString& text : {f.lateFull, QStringLiteral("xique")}) {
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
