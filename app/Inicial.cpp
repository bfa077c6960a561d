#include "app/Inicial.h"

#include "app/Informacoes.h"
#include "app/VelmoraApp.h"
#include "detail/SelClube.h"
#include "gallery/Anos.h"
#include "gallery/FederSel.h"
#include "gallery/MenuGalleries.h"
#include "layout/App.h"
#include "platform/Captions.h"
#include "platform/Controls.h"
#include "platform/ErrorReport.h"
#include "platform/PictureBox.h"
#include "registry/Clubes.h"
#include "stats/Estatisticas.h"
#include "store/Listing.h"
#include "store/Module.h"

#include <QCoreApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <limits>
#include <vector>

namespace velmora {

namespace {

using LabelMember = QLabel* TFrmInicial::*;
using ActionMember = QAction* TFrmInicial::*;

// The window's labels and pictures, in the order of its place table.
constexpr LabelMember controlMembers[] = {
    &TFrmInicial::LblQtdeClubes,   &TFrmInicial::LblQtdeBrasil, &TFrmInicial::LblQtdeOutros,
    &TFrmInicial::LblSelecoes,     &TFrmInicial::LblExtintos,   &TFrmInicial::LblNomeClube,
    &TFrmInicial::LblNomeCompleto, &TFrmInicial::LblFederacao,  &TFrmInicial::LblPais,
    &TFrmInicial::ImgEscudo,       &TFrmInicial::ImgLogoFeder,  &TFrmInicial::ImgBandPais,
};
static_assert(std::size(controlMembers) == std::size(layout::inicialPlaces));

// Each counter is one statement; the items it gates are enabled exactly when the
// counter is not "0", right after it is set.
struct Counter {
    LabelMember label;
    const Statement& statement;
    std::vector<ActionMember> gated;
};

const std::vector<Counter>& counters() {
    using F = TFrmInicial;
    static const std::vector<Counter> list = {
        {&F::LblSelecoes, Statements::nationalTeamCount(), {}},
        {&F::LblQtdeClubes,
         Statements::activeClubCount(),
         {&F::ClubesporPas1, &F::PorAnodeFundao1, &F::ClubesporFederao1,
          &F::odososClubesCadastrados1}},
        {&F::LblQtdeBrasil,
         Statements::brazilianClubCount(),
         {&F::ClubesBrasileiros1, &F::Clubesporestado1}},
        {&F::LblQtdeOutros, Statements::foreignClubCount(), {}},
        {&F::LblExtintos, Statements::extinctCount(), {}},
    };
    return list;
}

// Items that need at least one row of any kind.
const ActionMember anyRowGated[] = {
    &TFrmInicial::PesquisarClubeSeleoporNome1,
    &TFrmInicial::ClubesExtintos1,
    &TFrmInicial::odasasSeleesCadastradas1,
    &TFrmInicial::DadosdoClube1,
    &TFrmInicial::Estatisticas1,
};

const QString featuredFrom = QStringLiteral("from clubes.db as c, paises.db as p");

} // namespace

TFrmInicial::TFrmInicial(VelmoraApp& app)
    : Form(app.forms, QStringLiteral("FrmInicial"), programName, layout::inicial.client,
           std::nullopt),
      app_(app) {
    createControls();
    createMenu();
}

void TFrmInicial::createControls() {
    ImgFundo = makeBackground(client(), layout::inicial, app_.pictures, app_.dialogs);
    for (std::size_t i = 0; i < std::size(controlMembers); ++i) {
        const layout::Place& place = layout::inicialPlaces[i];
        this->*controlMembers[i] = place.kind == layout::Kind::Picture
                                       ? makePicture(client(), place)
                                       : makeLabel(client(), place);
    }
    setAutoSizedText(LblNomeClube, {});
    setAutoSizedText(LblNomeCompleto, {});
}

void TFrmInicial::createMenu() {
    using F = TFrmInicial;
    MnInicial = new QMenuBar(this);
    MnInicial->setObjectName(QStringLiteral("MnInicial"));
    addMenus<F>(
        *this, MnInicial,
        {
            {"Arquivo1",
             "&Arquivo",
             &F::Arquivo1,
             {{"Sair1", "&Sair", &F::Sair1, &F::Sair1Click, Qt::CTRL | Qt::Key_Q}}},
            {"Utilitrios1",
             "&Utilitários",
             &F::Utilitrios1,
             {{"CadastrodeClubes1", "&Cadastro de Clubes", &F::CadastrodeClubes1,
               &F::CadastrodeClubes1Click}}},
            {"Relatrios1",
             "&Relatórios",
             &F::Relatrios1,
             {
                 {"ClubesBrasileiros1", "Clubes &Brasileiros", &F::ClubesBrasileiros1,
                  &F::ClubesBrasileiros1Click},
                 {"Clubesporestado1", "Clubes por &Estado", &F::Clubesporestado1,
                  &F::Clubesporestado1Click},
                 {"ClubesporPas1", "Clubes por &País", &F::ClubesporPas1, &F::ClubesporPas1Click},
                 {"PorAnodeFundao1", "Por &Ano de Fundação", &F::PorAnodeFundao1,
                  &F::PorAnodeFundao1Click},
                 {"ClubesporFederao1", "Clubes por &Federação", &F::ClubesporFederao1,
                  &F::ClubesporFederao1Click},
                 {"PesquisarClubeSeleoporNome1", "Pesquisar Clube/Seleção por &Nome",
                  &F::PesquisarClubeSeleoporNome1, &F::PesquisarClubeSeleoporNome1Click},
                 {"ClubesExtintos1", "Clubes/Seleções E&xtintos", &F::ClubesExtintos1,
                  &F::ClubesExtintos1Click},
                 {"", nullptr},
                 {"odososClubesCadastrados1", "&Todos os Clubes Cadastrados",
                  &F::odososClubesCadastrados1, &F::odososClubesCadastrados1Click},
                 {"odasasSeleesCadastradas1", "Todas as &Seleções Cadastradas",
                  &F::odasasSeleesCadastradas1, &F::odasasSeleesCadastradas1Click},
                 {"DadosdoClube1", "&Detalhe do Clube/Seleção", &F::DadosdoClube1,
                  &F::DadosdoClube1Click},
                 {"", nullptr},
                 {"Estatisticas1", "Estatísti&cas", &F::Estatisticas1, &F::Estatisticas1Click,
                  Qt::CTRL | Qt::Key_E},
             }},
            {"Ajuda1",
             "Aju&da",
             &F::Ajuda1,
             {{"Informaes1", "&Informações", &F::Informaes1, &F::Informaes1Click, Qt::Key_F1}}},
        });
    setMenuBar(MnInicial);
    setWayOut(Sair1);
}

void TFrmInicial::FormActivate() {
    guard(app_.dialogs, [this] { activate(); });
}

void TFrmInicial::activate() {
    countAndGate();

    const bool anyRow = app_.dm().TblClubes.rowCount() > 0;
    for (ActionMember item : anyRowGated)
        (this->*item)->setEnabled(anyRow);
    if (!anyRow) {
        clearFeatured();
        return;
    }
    drawFeatured();
}

void TFrmInicial::countAndGate() {
    Query& query = app_.dm().QueryTodosClubes;
    for (const Counter& counter : counters()) {
        const QString text = app_.dm().counts.count(query, counter.statement);
        QLabel* label = this->*counter.label;
        setTitledValue(label, text, layout::at(layout::inicial, label->objectName().toStdString()));
        for (ActionMember item : counter.gated)
            (this->*item)->setEnabled(text != QLatin1String("0"));
    }
}

void TFrmInicial::drawFeatured() {
    app_.random.seedFromClock();
    const int drawn = app_.random.below(app_.dm().TblClubes.rowCount()) + 1;
    // Codes keep gaps after deletions, and a club whose country is not in Paises.DB
    // drops out of the join: then another findable club is featured instead.
    if (openFeaturedByCode(drawn) || redrawByCode() || openFeaturedAmongFindable())
        showFeatured(app_.dm().QueryTodosClubes);
    else
        clearFeatured();
}

bool TFrmInicial::openFeaturedByCode(qint64 code) {
    Query& query = app_.dm().QueryTodosClubes;
    query.run(listing::statement({QStringLiteral("c.Estadio"), QStringLiteral("c.Capacidade")},
                                 {featuredFrom, QStringLiteral("where c.codigo = :CODALEATORIO"),
                                  QStringLiteral("and c.PaisClube = p.NomePais")}),
              {{QStringLiteral("CODALEATORIO"), code}});
    return !query.isEmpty();
}

// Draws codes in [1, highest code] until one is findable: each findable club is
// equally likely and, on a catalogue with few gaps, the first or second try hits.
// A catalogue where most codes miss falls through to the exact draw.
bool TFrmInicial::redrawByCode() {
    constexpr int tries = 32;
    Query& query = app_.dm().QueryTodosClubes;
    query.run({QStringLiteral("select max(codigo) from clubes.db")});
    const qint64 highest = query.field(0).toLongLong();
    if (highest <= 0 || highest > std::numeric_limits<int>::max())
        return false;
    for (int i = 0; i < tries; ++i) {
        if (openFeaturedByCode(app_.random.below(int(highest)) + 1))
            return true;
    }
    return false;
}

// Walks the join to an offset: exact, but its time grows with the catalogue.
bool TFrmInicial::openFeaturedAmongFindable() {
    Query& query = app_.dm().QueryTodosClubes;
    query.run({QStringLiteral("select count(*) as qtde"), featuredFrom,
               QStringLiteral("where c.PaisClube = p.NomePais")});
    const int findable = query.field(0).toInt();
    if (findable <= 0)
        return false;

    // Any fixed order of the findable rows makes a uniform offset a uniform draw;
    // without "order by" the engine walks its indexes and never reads whole rows.
    query.run({QStringLiteral("select c.codigo"), featuredFrom,
               QStringLiteral("where c.PaisClube = p.NomePais"),
               QStringLiteral("limit 1 offset :DESLOCAMENTO")},
              {{QStringLiteral("DESLOCAMENTO"), app_.random.below(findable)}});
    return !query.isEmpty() && openFeaturedByCode(query.field(0).toLongLong());
}

void TFrmInicial::showFeatured(const Query& row) {
    // A picture that fails stops here; what is filled later keeps its old value.
    setAutoSizedText(LblNomeClube, row.field(listing::NomeClube));
    setAutoSizedText(LblNomeCompleto, row.field(listing::NomeCompletoClube));
    LblFederacao->setText(row.field(listing::Federacao));
    showPicture(app_.pictures, ImgBandPais, row.field(listing::BandeiraPais));
    showPicture(app_.pictures, ImgEscudo, row.field(listing::EscudoClube));
    ImgEscudo->setAccessibleName(QStringLiteral("Escudo do clube em destaque: ") +
                                 row.field(listing::NomeClube));
    showPicture(app_.pictures, ImgLogoFeder, row.field(listing::LogoFederacao));
    LblPais->setText(row.field(listing::CodPais));
}

void TFrmInicial::clearFeatured() {
    setAutoSizedText(LblNomeClube, {});
    LblPais->clear();
    setAutoSizedText(LblNomeCompleto, {});
    LblFederacao->clear();
    clearPicture(ImgEscudo);
    ImgEscudo->setAccessibleName(
        QString::fromUtf8(layout::at(layout::inicial, "ImgEscudo").spoken));
    clearPicture(ImgBandPais);
    clearPicture(ImgLogoFeder);
}

void TFrmInicial::setAutoSizedText(QLabel* label, const QString& text) {
    setFittedText(label, text);
}

void TFrmInicial::Sair1Click() {
    guard(app_.dialogs, [this] {
        const auto answer =
            app_.dialogs.message(programName, QStringLiteral("Deseja sair do cadastro?"),
                                 MsgIcon::Question, MsgButtons::YesNo);
        if (answer != MsgResult::Yes || !mayDiscardPendingClub())
            return;
        // The main window going away ends the program. Not quit(): that first closes
        // every window, and a close runs each window's own way out.
        hide();
        QCoreApplication::exit(0);
    });
}

bool TFrmInicial::mayDiscardPendingClub() {
    TFrmClubes& editor = *app_.FrmClubes;
    if (!editor.editing())
        return true;
    const auto answer = app_.dialogs.message(
        programName,
        QStringLiteral("O clube em inclusão ou alteração no Cadastro de Clubes ainda não foi "
                       "gravado. Deseja descartá-lo e sair?"),
        MsgIcon::Question, MsgButtons::YesNo);
    if (answer != MsgResult::Yes)
        return false;
    editor.discardPending();
    return true;
}

void TFrmInicial::CadastrodeClubes1Click() {
    guard(app_.dialogs, [this] {
        app_.forms.show(app_.FrmClubes.get());
        if (app_.dm().TblClubes.rowCount() > 0)
            app_.FrmClubes->recordDisplay();
    });
}

void TFrmInicial::runMenu(MenuGallery gallery) {
    guard(app_.dialogs, [this, gallery] { app_.runMenuGallery(gallery); });
}

void TFrmInicial::ClubesBrasileiros1Click() {
    runMenu(MenuGallery::ClubesBrasileiros);
}

void TFrmInicial::Clubesporestado1Click() {
    runMenu(MenuGallery::ClubesPorEstado);
}

void TFrmInicial::ClubesporPas1Click() {
    runMenu(MenuGallery::ClubesPorPais);
}

void TFrmInicial::PorAnodeFundao1Click() {
    guard(app_.dialogs, [this] { app_.forms.show(app_.FrmAno.get()); });
}

void TFrmInicial::ClubesporFederao1Click() {
    guard(app_.dialogs, [this] { app_.forms.show(app_.FrmSelFeder.get()); });
}

void TFrmInicial::PesquisarClubeSeleoporNome1Click() {
    runMenu(MenuGallery::PesquisarPorNome);
}

void TFrmInicial::ClubesExtintos1Click() {
    runMenu(MenuGallery::Extintos);
}

void TFrmInicial::odososClubesCadastrados1Click() {
    runMenu(MenuGallery::TodosOsClubes);
}

void TFrmInicial::odasasSeleesCadastradas1Click() {
    runMenu(MenuGallery::TodasAsSelecoes);
}

void TFrmInicial::DadosdoClube1Click() {
    guard(app_.dialogs, [this] {
        app_.FrmSelClube->uncheckKinds();
        app_.forms.show(app_.FrmSelClube.get());
    });
}

void TFrmInicial::Informaes1Click() {
    guard(app_.dialogs, [this] { app_.forms.show(app_.FrmInformacoes.get()); });
}

void TFrmInicial::Estatisticas1Click() {
    guard(app_.dialogs, [this] { app_.forms.show(app_.FrmEstatisticas.get()); });
}

} // namespace velmora
