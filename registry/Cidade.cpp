#include "registry/Cidade.h"

#include "store/Module.h"
#include "store/Names.h"

namespace velmora {

namespace {

// Brazilian cities are listed by state as well.
DialogStatement citiesOf(const Table& clubs) {
    const QString pais = clubs.fieldText(QStringLiteral("PaisClube"));
    DialogStatement statement{{QStringLiteral("select cidade"), QStringLiteral("from cidades.db"),
                               QStringLiteral("where país = :NOMEPAIS")},
                              {{QStringLiteral("NOMEPAIS"), pais}}};
    if (pais == brasil) {
        statement.lines << QStringLiteral("and estado = :SIGLAUF");
        statement.parameters.append(
            {QStringLiteral("SIGLAUF"), clubs.fieldText(QStringLiteral("UFClube"))});
    }
    statement.lines << QStringLiteral("order by CidadeOrdem, cidade");
    return statement;
}

} // namespace

const SelectionDef& TFrmCidade::definition() {
    static const SelectionDef def = {
        .objectName = "FrmCidade",
        .caption = "Selecionar a Cidade",
        .clientSize = {443, 65},
        .placedAt = std::nullopt,
        .background = nullptr,
        .query = &TFrmDm::QueryTodasCidades,
        .listName = "ComboCidade",
        .listRect = {16, 21, 327, 24},
        .listSpoken = "Cidade",
        .previewName = nullptr,
        .previewRect = {},
        .previewSpoken = nullptr,
        .okRect = {352, 20, 75, 25},
        .listStatement = &citiesOf,
        .item = [](const Query& query) { return query.field(0); },
        .clearPreviewAfterFill = false,
        .pictureLines = {},
        .pictureParameter = nullptr,
        .pictureKey = PickPart::Text,
        .emptyMessage = "É necessário escolher uma Cidade.",
        .writes = {{"CidadeClube", PickPart::Text}},
    };
    return def;
}

TFrmCidade::TFrmCidade(Services& services)
    : SelectionDialog(services, definition()), ComboCidade(list()) {}

} // namespace velmora
