#include "registry/Paises.h"

#include "layout/Registry.h"
#include "store/Module.h"

namespace velmora {

const SelectionDef& TFrmPaises::definition() {
    static const SelectionDef def = {
        .window = layout::paises,
        .caption = "Selecionar País",
        .placedAt = std::nullopt,
        .query = &TFrmDm::QueryTodosPaises,
        .listStatement =
            [](const Table&) {
                return DialogStatement{{QStringLiteral("select NomePais as pais"),
                                        QStringLiteral("from paises.db"),
                                        QStringLiteral("order by NomePaisOrdem, NomePais")},
                                       {}};
            },
        .item = [](const Query& query) { return query.field(0); },
        .clearPreviewAfterFill = false,
        .pictureLines = {QStringLiteral("select BandeiraPais as bandeira"),
                         QStringLiteral("from paises.db"),
                         QStringLiteral("where NomePais = :PAIS")},
        .pictureParameter = "PAIS",
        .pictureKey = PickPart::Text,
        .emptyMessage = "É necessário escolher um País.",
        .stayHint = "Escolha um país e tecle Enter para continuar",
        .writes = {{"BandeiraPais", PickPart::Picture}, {"PaisClube", PickPart::Text}},
    };
    return def;
}

TFrmPaises::TFrmPaises(Services& services)
    : SelectionDialog(services, definition()), ComboPais(list()), ImgBandeiraPais(preview()) {}

} // namespace velmora
