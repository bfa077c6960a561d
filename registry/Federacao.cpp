#include "registry/Federacao.h"

#include "store/Module.h"

namespace velmora {

const SelectionDef& TFrmFederacao::definition() {
    static const SelectionDef def = {
        .objectName = "FrmFederacao",
        .caption = "Selecionar Federação",
        .clientSize = {345, 107},
        .placedAt = QPoint(372, 332), // its designed place on the screen
        .background = ":/artwork/federacao.jpg",
        .query = &TFrmDm::QueryFederacao,
        .listName = "ComboFederacao",
        .listRect = {118, 35, 210, 24},
        .listSpoken = "Federação",
        .previewName = "ImgLogoFederacao",
        .previewRect = {12, 12, 83, 83},
        .previewSpoken = "Logotipo da federação",
        .okRect = {253, 65, 75, 25},
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
        .writes = {{"Federacao", PickPart::Text}, {"LogoFederacao", PickPart::Picture}},
    };
    return def;
}

TFrmFederacao::TFrmFederacao(Services& services)
    : SelectionDialog(services, definition()), ComboFederacao(list()), ImgLogoFederacao(preview()) {
}

} // namespace velmora
