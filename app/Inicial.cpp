#include "app/Inicial.h"

#include "app/Informacoes.h"
#include "app/VelmoraApp.h"
#include "detail/SelClube.h"
#include "gallery/Anos.h"
#include "gallery/FederSel.h"
#include "gallery/MenuGalleries.h"
#include "platform/Captions.h"
#include "platform/ErrorReport.h"
#include "platform/Fonts.h"
#include "platform/Pictures.h"
#include "registry/Clubes.h"
#include "store/Listing.h"
#include "store/Module.h"

#include <QCoreApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <vector>

namespace velmora {

namespace {

using LabelMember = QLabel* TFrmInicial::*;
using ActionMember = QAction* TFrmInicial::*;
using MenuMember = QMenu* TFrmInicial::*;
using Handler = void (TFrmInicial::*)();

enum class Face { Counter, Name, FullName, Caption };

QFont fontFor(Face face) {
    switch (face) {
    case Face::Counter:
        return pixelFont(QStringLiteral("Impact"), 24);
    case Face::Name:
        return pixelFont(QStringLiteral("Corbel"), 15, true);
    case Face::FullName:
        return pixelFont(QStringLiteral("Corbel"), 13, true);
    case Face::Caption:
        break;
    }
    return pixelFont(QStringLiteral("Corbel"), 13);
}

// A label whose size is empty is sized to its text.
struct LabelPlace {
    LabelMember member;
    const char* name;
    QRect rect;
    Face face;
};

const LabelPlace labelPlaces[] = {
    {&TFrmInicial::LblQtdeClubes, "LblQtdeClubes", {580, 26, 63, 35}, Face::Counter},
    {&TFrmInicial::LblQtdeBrasil, "LblQtdeBrasil", {634, 84, 57, 36}, Face::Counter},
    {&TFrmInicial::LblQtdeOutros, "LblQtdeOutros", {583, 142, 57, 33}, Face::Counter},
    {&TFrmInicial::LblSelecoes, "LblSelecoes", {635, 201, 57, 33}, Face::Counter},
    {&TFrmInicial::LblExtintos, "LblExtintos", {583, 259, 57, 33}, Face::Counter},
    {&TFrmInicial::LblNomeClube, "LblNomeClube", {485, 392, 0, 0}, Face::Name},
    {&TFrmInicial::LblNomeCompleto, "LblNomeCompleto", {485, 414, 0, 0}, Face::FullName},
    {&TFrmInicial::LblFederacao, "LblFederacao", {470, 492, 82, 15}, Face::Caption},
    {&TFrmInicial::LblPais, "LblPais", {564, 493, 57, 15}, Face::Caption},
};

struct PicturePlace {
    LabelMember member;
    const char* name;
    QRect rect;
    const char* spoken; // what a screen reader calls it
};

const PicturePlace picturePlaces[] = {
    {&TFrmInicial::ImgEscudo, "ImgEscudo", {352, 390, 113, 113}, "Escudo do clube em destaque"},
    {&TFrmInicial::ImgLogoFeder, "ImgLogoFeder", {485, 436, 53, 53}, "Federação"},
    {&TFrmInicial::ImgBandPais, "ImgBandPais", {556, 442, 69, 40}, "Bandeira do país"},
};

// A null action is the separator.
struct MenuItem {
    ActionMember action;
    const char* name;
    const char* caption;
    Handler handler;
};

struct MenuEntry {
    MenuMember menu;
    const char* name;
    const char* caption;
    std::vector<MenuItem> items;
};

const std::vector<MenuEntry>& menuEntries() {
    using F = TFrmInicial;
    static const std::vector<MenuEntry> entries = {
        {&F::Arquivo1, "Arquivo1", "&Arquivo", {{&F::Sair1, "Sair1", "&Sair", &F::Sair1Click}}},
        {&F::Utilitrios1,
         "Utilitrios1",
         "&Utilitários",
         {{&F::CadastrodeClubes1, "CadastrodeClubes1", "&Cadastro de Clubes",
           &F::CadastrodeClubes1Click}}},
        {&F::Relatrios1,
         "Relatrios1",
         "&Relatórios",
         {
             {&F::ClubesBrasileiros1, "ClubesBrasileiros1", "Clubes &Brasileiros",
              &F::ClubesBrasileiros1Click},
             {&F::Clubesporestado1, "Clubesporestado1", "Clubes por &Estado",
              &F::Clubesporestado1Click},
             {&F::ClubesporPas1, "ClubesporPas1", "Clubes por &País", &F::ClubesporPas1Click},
             {&F::PorAnodeFundao1, "PorAnodeFundao1", "Por &Ano de Fundação",
              &F::PorAnodeFundao1Click},
             {&F::ClubesporFederao1, "ClubesporFederao1", "Clubes por &Federação",
              &F::ClubesporFederao1Click},
             {&F::PesquisarClubeSeleoporNome1, "PesquisarClubeSeleoporNome1",
              "Pesquisar Clube/Seleção por &Nome", &F::PesquisarClubeSeleoporNome1Click},
             {&F::ClubesExtintos1, "ClubesExtintos1", "Clubes/Seleções E&xtintos",
              &F::ClubesExtintos1Click},
             {nullptr, "", "", nullptr},
             {&F::odososClubesCadastrados1, "odososClubesCadastrados1",
              "&Todos os Clubes Cadastrados", &F::odososClubesCadastrados1Click},
             {&F::odasasSeleesCadastradas1, "odasasSeleesCadastradas1",
              "Todas as &Seleções Cadastradas", &F::odasasSeleesCadastradas1Click},
             {&F::DadosdoClube1, "DadosdoClube1", "&Detalhe do Clube/Seleção",
              &F::DadosdoClube1Click},
         }},
        {&F::Ajuda1,
         "Ajuda1",
         "A&juda",
         {{&F::Informaes1, "Informaes1", "&Informações", &F::Informaes1Click}}},
    };
    return entries;
}

// Each counter is one statement; the items it gates are enabled exactly when the
// counter is not "0", right after it is set.
struct Counter {
    LabelMember label;
    QStringList lines;
    std::vector<ActionMember> gated;
};

const std::vector<Counter>& counters() {
    using F = TFrmInicial;
    static const std::vector<Counter> list = {
        {&F::LblSelecoes,
         {"select count(*) as qtde", "from clubes.db", "where identificador = 1"},
         {}},
        {&F::LblQtdeClubes,
         {"select count(*) as qtde", "from clubes.db", "where identificador = 0",
          "and extinto = 0"},
         {&F::ClubesporPas1, &F::PorAnodeFundao1, &F::ClubesporFederao1,
          &F::odososClubesCadastrados1}},
        {&F::LblQtdeBrasil,
         {"select count(*) as qtde", "from clubes.db", "where paisclube = \"Brasil\"",
          "and identificador = 0"},
         {&F::ClubesBrasileiros1, &F::Clubesporestado1}},
        {&F::LblQtdeOutros,
         {"select count(*) as qtde", "from clubes.db", "where paisclube not in (\"Brasil\")",
          "and identificador = 0"},
         {}},
        {&F::LblExtintos, {"select count(*) as qtde", "from clubes.db", "where extinto = 1"}, {}},
    };
    return list;
}

// Items that need at least one row of any kind.
const ActionMember anyRowGated[] = {
    &TFrmInicial::PesquisarClubeSeleoporNome1,
    &TFrmInicial::ClubesExtintos1,
    &TFrmInicial::odasasSeleesCadastradas1,
    &TFrmInicial::DadosdoClube1,
};

const QString featuredFrom = QStringLiteral("from clubes.db as c, paises.db as p");

} // namespace

TFrmInicial::TFrmInicial(VelmoraApp& app)
    : Form(app.forms, QStringLiteral("FrmInicial"), programName, QSize(792, 535), std::nullopt),
      app_(app) {
    createControls();
    createMenu();
}

void TFrmInicial::createControls() {
    // First, so every other control lies on it.
    ImgFundo = new QLabel(client());
    ImgFundo->setObjectName(QStringLiteral("ImgFundo"));
    ImgFundo->setGeometry(-1, -1, 794, 548);
    ImgFundo->setScaledContents(true);
    // Built-in artwork; a broken build shows the report instead of stopping start-up.
    guard(app_.dialogs, [this] {
        showPicture(app_.pictures, ImgFundo, QStringLiteral(":/artwork/main.jpg"), true);
    });

    QPalette grey;
    grey.setColor(QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    for (const auto& place : labelPlaces) {
        auto* label = new QLabel(client());
        label->setObjectName(QString::fromLatin1(place.name));
        label->setTextFormat(Qt::PlainText); // a club's texts are shown as typed, never as HTML
        label->setFont(fontFor(place.face));
        if (place.rect.isEmpty()) {
            label->move(place.rect.topLeft());
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        } else {
            label->setGeometry(place.rect);
            label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        }
        if (place.face == Face::Counter)
            label->setPalette(grey);
        this->*place.member = label;
    }
    for (const auto& place : picturePlaces) {
        auto* picture = new QLabel(client());
        picture->setObjectName(QString::fromLatin1(place.name));
        picture->setGeometry(place.rect);
        picture->setScaledContents(true);
        picture->setAccessibleName(QString::fromUtf8(place.spoken));
        this->*place.member = picture;
    }
    setAutoSizedText(LblNomeClube, {});
    setAutoSizedText(LblNomeCompleto, {});
}

void TFrmInicial::createMenu() {
    MnInicial = new QMenuBar(this);
    MnInicial->setObjectName(QStringLiteral("MnInicial"));
    for (const auto& entry : menuEntries()) {
        QMenu* menu = MnInicial->addMenu(QString::fromUtf8(entry.caption));
        menu->setObjectName(QString::fromLatin1(entry.name));
        this->*entry.menu = menu;
        for (const auto& item : entry.items) {
            if (!item.action) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(QString::fromUtf8(item.caption));
            action->setObjectName(QString::fromLatin1(item.name));
            const Handler handler = item.handler;
            connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
            this->*item.action = action;
        }
    }
    setMenuBar(MnInicial);
    Sair1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    Informaes1->setShortcut(QKeySequence(Qt::Key_F1));
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
        const QString text = app_.dm().counts.count(query, counter.lines);
        (this->*counter.label)->setText(text);
        for (ActionMember item : counter.gated)
            (this->*item)->setEnabled(text != QLatin1String("0"));
    }
}

void TFrmInicial::drawFeatured() {
    app_.random.seedFromClock();
    const int drawn = app_.random.below(app_.dm().TblClubes.rowCount()) + 1;
    // Codes keep gaps after deletions, and a club whose country is not in Paises.DB
    // drops out of the join: then another findable club is featured instead.
    if (openFeaturedByCode(drawn) || openFeaturedAmongFindable())
        showFeatured(app_.dm().QueryTodosClubes);
    else
        clearFeatured();
}

bool TFrmInicial::openFeaturedByCode(int code) {
    Query& query = app_.dm().QueryTodosClubes;
    query.run(listing::statement({QStringLiteral("c.Estadio"), QStringLiteral("c.Capacidade")},
                                 {featuredFrom, QStringLiteral("where c.codigo = :CODALEATORIO"),
                                  QStringLiteral("and c.PaisClube = p.NomePais")}),
              {{QStringLiteral("CODALEATORIO"), code}});
    return !query.isEmpty();
}

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
    return !query.isEmpty() && openFeaturedByCode(query.field(0).toInt());
}

void TFrmInicial::showFeatured(const Query& row) {
    // A picture that fails stops here; what is filled later keeps its old value.
    setAutoSizedText(LblNomeClube, row.field(listing::NomeClube));
    setAutoSizedText(LblNomeCompleto, row.field(listing::NomeCompletoClube));
    LblFederacao->setText(row.field(listing::Federacao));
    showPicture(app_.pictures, ImgBandPais, row.field(listing::BandeiraPais));
    showPicture(app_.pictures, ImgEscudo, row.field(listing::EscudoClube));
    showPicture(app_.pictures, ImgLogoFeder, row.field(listing::LogoFederacao));
    LblPais->setText(row.field(listing::CodPais));
}

void TFrmInicial::clearFeatured() {
    setAutoSizedText(LblNomeClube, {});
    LblPais->clear();
    setAutoSizedText(LblNomeCompleto, {});
    LblFederacao->clear();
    clearPicture(ImgEscudo);
    clearPicture(ImgBandPais);
    clearPicture(ImgLogoFeder);
}

void TFrmInicial::setAutoSizedText(QLabel* label, const QString& text) {
    label->setText(text);
    label->adjustSize();
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

} // namespace velmora
