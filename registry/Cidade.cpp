#include "registry/Cidade.h"

#include "layout/Registry.h"
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
        .window = layout::cidade,
        .caption = "Selecionar a Cidade",
        .placedAt = std::nullopt,
        .query = &TFrmDm::QueryTodasCidades,
        .listStatement = &citiesOf,
        .item = [](const Query& query) { return query.field(0); },
        .clearPreviewAfterFill = false,
        .pictureLines = {},
        .pictureParameter = nullptr,
        .pictureKey = PickPart::Text,
        .emptyMessage = "É necessário escolher uma Cidade.",
        .stayHint = "Escolha uma cidade e tecle Enter para continuar",
        .writes = {{"CidadeClube", PickPart::Text}},
    };
    return def;
}

TFrmCidade::TFrmCidade(Services& services)
    : SelectionDialog(services, definition()), ComboCidade(list()) {}

} // namespace velmora
