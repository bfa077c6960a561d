#include "registry/Federacao.h"

#include "layout/Registry.h"
#include "store/Module.h"

namespace velmora {

const SelectionDef& TFrmFederacao::definition() {
    static const SelectionDef def = {
        .window = layout::federacao,
        .caption = "Selecionar Federação",
        .placedAt = QPoint(372, 332), // its designed place on the screen
        .query = &TFrmDm::QueryFederacao,
        .listStatement =
            [](const Table&) {
                return DialogStatement{
                    {QStringLiteral("select NomeFederacao"), QStringLiteral("from Federacao.db"),
                     QStringLiteral("order by NomeFederacaoOrdem, NomeFederacao")},
                    {}};
            },
        .item = [](const Query& query) { return query.field(0); },
        .clearPreviewAfterFill = true,
        .pictureLines = {QStringLiteral("select LogoFederacao"),
                         QStringLiteral("from Federacao.db"),
                         QStringLiteral("where NomeFederacao = :FEDER")},
        .pictureParameter = "FEDER",
        .pictureKey = PickPart::Text,
        .emptyMessage = "É necessário escolher uma Federação.",
        .stayHint = "Escolha uma federação e tecle Enter para continuar",
        .writes = {{"Federacao", PickPart::Text}, {"LogoFederacao", PickPart::Picture}},
    };
    return def;
}

TFrmFederacao::TFrmFederacao(Services& services)
    : SelectionDialog(services, definition()), ComboFederacao(list()), ImgLogoFederacao(preview()) {
}

} // namespace velmora
