#include "gallery/MenuGalleries.h"

#include "gallery/GalleryCommand.h"

#include <QLocale>
#include <algorithm>
#include <array>

namespace velmora {

namespace {

using S = GalleryStep;
using Box = TitlePicture::Box;

// The state gallery's own column: the state's full name.
constexpr int colNomeEstado = listing::Extra;

std::vector<TitlePicture> featuredFlag(int column) {
    return {{Box::Band, column, true}, {Box::Feder, -1, false}};
}
std::vector<TitlePicture> noFlag(std::optional<bool> bandVisible) {
    return {{Box::Band, -1, bandVisible}, {Box::Feder, -1, false}};
}

// The clubs of the join with Paises.DB, shared by most listings.
QStringList joinedWith(std::initializer_list<const char*> conditions, const char* order) {
    QStringList lines = {QStringLiteral("from clubes.db as c, paises.db as p"),
                         QStringLiteral("where c.PaisClube = p.NomePais")};
    for (const char* condition : conditions)
        lines << QString::fromUtf8(condition);
    lines << QString::fromUtf8(order);
    return lines;
}

std::array<GalleryDef, 7> makeGalleries() {
    std::array<GalleryDef, 7> g;

    g[int(MenuGallery::ClubesBrasileiros)] = {
        .listingFrom = joinedWith({"and c.PaisClube = \"Brasil\"", "and c.Identificador = 0"},
                                  "order by c.NomeClubeOrdem, c.NomeClube, c.UFClube"),
        .count = Statements::brazilianClubCount(),
        .title = countedTitle(QStringLiteral("Relação de Todos Clubes Brasileiros")),
        .titlePictures = featuredFlag(listing::BandeiraPais),
        .emptyWarning = QStringLiteral("Não há nenhum clube brasileiro cadastrado"),
        .rule = SlotRule::Brazil,
        .button = PageButton::ClubesBR,
        .steps = {S::Listing, S::Count, S::WarnIfEmpty, S::Title, S::Fill},
    };

    // State codes are plain capitals, so folding the entry alone finds "sp" and "SP".
    g[int(MenuGallery::ClubesPorEstado)] = {
        .prompt = QStringLiteral("Digite a sigla do estado"),
        .listingColumns = {QStringLiteral("u.NomeCompleto")},
        .listingFrom = {QStringLiteral("from clubes.db as c, paises.db as p, uf.db as u"),
                        QStringLiteral("where c.PaisClube = \"Brasil\""),
                        QStringLiteral("and c.UFClube = fold(:ESTADO)"),
                        QStringLiteral("and c.PaisClube = p.NomePais"),
                        QStringLiteral("and c.UFClube = u.uf"),
                        QStringLiteral("and c.identificador = 0"),
                        QStringLiteral("order by c.NomeClubeOrdem, c.NomeClube")},
        .count = Statements::stateClubCount(),
        .parameter = QStringLiteral(":ESTADO"),
        .paramKind = ParamKind::Text,
        .title =
            countedTitleWithColumn(QStringLiteral("Relação de Clubes - Estado: "), colNomeEstado),
        .titlePictures = featuredFlag(listing::BandeiraUF),
        .emptyWarning = QStringLiteral("Não há nenhum clube deste estado cadastrado"),
        .button = PageButton::ClubesUF,
        .steps = {S::Entry, S::Listing, S::StopIfNoEntry, S::WarnIfEmpty, S::Count, S::Title,
                  S::Fill},
    };

    g[int(MenuGallery::ClubesPorPais)] = {
        .prompt = QStringLiteral("Digite o nome do país"),
        .storeListing = Statements::clubsByCountry(),
        .count = Statements::countryClubCount(),
        .parameter = QStringLiteral(":PAIS"),
        .paramKind = ParamKind::Pattern,
        .title =
            countedTitleWithColumn(QStringLiteral("Relação dos Clubes do(a) "), listing::PaisClube),
        .titlePictures = featuredFlag(listing::BandeiraPais),
        .emptyWarning = QStringLiteral("Não há nenhum clube deste país cadastrado!"),
        .button = PageButton::PaisSel,
        .steps = {S::Entry, S::Listing, S::StopIfNoEntry, S::WarnIfEmpty, S::Count, S::Title,
                  S::Fill},
    };

    // Writes its title before it tests the listing.
    g[int(MenuGallery::TodosOsClubes)] = {
        .listingFrom =
            joinedWith({"and c.Identificador = 0"}, "order by c.NomeClubeOrdem, c.NomeClube"),
        .count = Statements::clubCount(),
        .title = countedTitle(QStringLiteral("Relação de Todos Clubes Cadastrados")),
        .titlePictures = noFlag(std::nullopt),
        .emptyWarning = QStringLiteral("Não há nenhum clube cadastrado!"),
        .button = PageButton::TodosClubes,
        .steps = {S::Listing, S::Count, S::Title, S::WarnIfEmpty, S::Fill},
    };

    // Writes its title before it tests the listing.
    g[int(MenuGallery::TodasAsSelecoes)] = {
        .listingFrom =
            joinedWith({"and c.Identificador = 1"}, "order by c.NomeClubeOrdem, c.NomeClube"),
        .count = Statements::nationalTeamCount(),
        .title = countedTitle(QStringLiteral("Relação de Todas as Seleções Cadastradas")),
        .titlePictures = noFlag(std::nullopt),
        .emptyWarning = QStringLiteral("Nenhuma seleção encontrada!"),
        .button = PageButton::ProxSel,
        .steps = {S::Listing, S::Count, S::Title, S::WarnIfEmpty, S::Fill},
    };

    // No count statement; the title quotes the entry.
    g[int(MenuGallery::PesquisarPorNome)] = {
        .prompt = QStringLiteral("Digite o nome do clube (ou parte dele)"),
        .storeListing = Statements::clubsByName(),
        .parameter = QStringLiteral(":CLUBE"),
        .paramKind = ParamKind::Pattern,
        .title =
            [](const TitleInput& in) {
                return QStringLiteral("Relação dos Clubes que tenham \"") + in.value +
                       QStringLiteral("\" no nome");
            },
        .titlePictures = noFlag(true),
        .emptyWarning = QStringLiteral("Nenhum clube encontrado!"),
        .button = PageButton::PaisSel,
        .steps = {S::Entry, S::Listing, S::StopIfNoEntry, S::WarnIfEmpty, S::Title, S::Fill},
    };

    g[int(MenuGallery::Extintos)] = {
        .listingFrom = joinedWith({"and c.extinto = 1"}, "order by c.NomeClubeOrdem, c.NomeClube"),
        .count = Statements::extinctCount(),
        .title = countedTitle(QStringLiteral("Relação de Clubes e/ou Seleções Extintos")),
        .titlePictures = noFlag(true),
        .emptyWarning = QStringLiteral("Nenhum clube encontrado!"),
        .button = PageButton::Extinto,
        .steps = {S::Listing, S::WarnIfEmpty, S::Count, S::Title, S::Fill},
    };
    return g;
}

} // namespace

const GalleryDef& menuGalleryDef(MenuGallery gallery) {
    static const std::array<GalleryDef, 7> galleries = makeGalleries();
    return galleries[int(gallery)];
}

void runMenuGallery(Services& services, TFrmRelatorios& page, MenuGallery gallery) {
    runGallery(services, page, menuGalleryDef(gallery));
}

void runMenuGalleryFor(Services& services, TFrmRelatorios& page, MenuGallery gallery,
                       const QString& value) {
    GalleryDef def = menuGalleryDef(gallery);
    std::erase_if(def.steps, [](GalleryStep s) {
        return s == GalleryStep::Entry || s == GalleryStep::StopIfNoEntry;
    });
    if (def.paramKind == ParamKind::Pattern)
        def.paramKind = ParamKind::Text;
    runGallery(services, page, def, QLocale().toUpper(value));
}

} // namespace velmora
