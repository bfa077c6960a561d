#include "registry/UF.h"

#include "store/Module.h"

namespace velmora {

const SelectionDef& TFrmUF::definition() {
    static const SelectionDef def = {
        .objectName = "FrmUF",
        .caption = "Selecionar Estado",
        .clientSize = {441, 107},
        .placedAt = std::nullopt,
        .background = ":/artwork/uf.jpg",
        .query = &TFrmDm::QueryTodosEstados,
        .listName = "ComboUf",
        .listRect = {132, 35, 292, 24},
        .listSpoken = "Estado",
        .previewName = "ImgBandeiraUF",
        .previewRect = {14, 23, 95, 61},
        .previewSpoken = "Bandeira do estado",
        .okRect = {349, 65, 75, 25},
        .listStatement =
            [](const Table&) {
                return DialogStatement{{QStringLiteral("select UF, NomeCompleto as estados"),
                                        QStringLiteral("from UF.db"),
                                        QStringLiteral("order by UF")},
                                       {}};
            },
        // The code first, so the first two characters of an item are its state code.
        .item = [](const Query& query) { return query.field(0) + u'-' + query.field(1); },
        .clearPreviewAfterFill = false,
        .pictureLines = {QStringLiteral("select BandeiraUF as estados"),
                         QStringLiteral("from UF.db"), QStringLiteral("where UF = :ESTADO")},
        .pictureParameter = "ESTADO",
        .pictureKey = PickPart::Code,
        .emptyMessage = "É necessário escolher um Estado.",
        .writes = {{"BandeiraUF", PickPart::Picture}, {"UFClube", PickPart::Code}},
    };
    return def;
}

TFrmUF::TFrmUF(Services& services)
    : SelectionDialog(services, definition()), ComboUf(list()), ImgBandeiraUF(preview()) {}

} // namespace velmora
