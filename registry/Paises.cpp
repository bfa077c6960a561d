#include "registry/Paises.h"

#include "app/VelmoraApp.h"
#include "platform/Pictures.h"
#include "registry/Cidade.h"
#include "registry/Clubes.h"
#include "registry/UF.h"
#include "store/Module.h"

#include <QPushButton>

namespace velmora {

namespace {

const QString brasil = QStringLiteral("Brasil");

// Only Brazilian clubs have a state; the city list belongs to the country picked.
void countryChosen(VelmoraApp& app, const QString& picked) {
    TFrmClubes& editor = *app.FrmClubes;
    const bool inBrasil = picked == brasil;
    editor.setStateGroupVisible(inBrasil);
    // A Brazilian city is picked once its state is known.
    editor.BtnSelecionarCidade->setEnabled(!inBrasil);
    if (!inBrasil) {
        Table& clubs = app.dm().TblClubes;
        clubs.setFieldText(QStringLiteral("UFClube"), QString());
        clubs.setFieldText(QStringLiteral("BandeiraUF"), QString());
        clearPicture(editor.ImgUF);
        app.forms.close(app.FrmUF.get());
    }
    app.forms.close(app.FrmCidade.get()); // its list was read for the country before
}

} // namespace

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
        .previewName = "ImgBandeiraPais",
        .previewRect = {14, 19, 94, 62},
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
        .editorPicture = &TFrmClubes::ImgBandeira,
        .writes = {{"BandeiraPais", PickPart::Picture}, {"PaisClube", PickPart::Text}},
        .afterOk = &countryChosen,
    };
    return def;
}

TFrmPaises::TFrmPaises(VelmoraApp& app)
    : SelectionDialog(app, definition()), ComboPais(list()), ImgBandeiraPais(preview()) {}

} // namespace velmora
