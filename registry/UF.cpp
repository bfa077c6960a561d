#include "registry/UF.h"

#include "layout/Registry.h"
#include "store/Module.h"

namespace velmora {

const SelectionDef& TFrmUF::definition() {
    static const SelectionDef def = {
        .window = layout::uf,
        .caption = "Selecionar Estado",
        .placedAt = std::nullopt,
        .query = &TFrmDm::QueryTodosEstados,
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
        .stayHint = "Escolha um estado e tecle Enter para continuar",
        .writes = {{"BandeiraUF", PickPart::Picture}, {"UFClube", PickPart::Code}},
    };
    return def;
}

TFrmUF::TFrmUF(Services& services)
    : SelectionDialog(services, definition()), ComboUf(list()), ImgBandeiraUF(preview()) {}

} // namespace velmora
