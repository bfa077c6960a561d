#include "registry/Paises.h"

#include "store/Module.h"

namespace velmora {

const SelectionDef& TFrmPaises::definition() {
    static const SelectionDef def = {
        .objectName = "FrmPaises",
        .caption = "Selecionar País",
        .clientSize = {422, 101},
        .placedAt = std::nullopt,
        .background = ":/artwork/paises.jpg",
        .query = &TFrmDm::QueryTodosPaises,
        .listName = "ComboPais",
        .listRect = {130, 33, 275, 24},
        .listSpoken = "País",
        .previewName = "ImgBandeiraPais",
        .previewRect = {14, 19, 94, 62},
        .previewSpoken = "Bandeira do país",
        .okRect = {330, 63, 75, 25},
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
        .writes = {{"BandeiraPais", PickPart::Picture}, {"PaisClube", PickPart::Text}},
    };
    return def;
}

TFrmPaises::TFrmPaises(Services& services)
    : SelectionDialog(services, definition()), ComboPais(list()), ImgBandeiraPais(preview()) {}

} // namespace velmora
