#include "gallery/FederSel.h"

#include "gallery/GalleryCommand.h"
#include "layout/Gallery.h"
#include "platform/Captions.h"
#include "platform/Controls.h"
#include "platform/DataControls.h"
#include "platform/ErrorReport.h"
#include "platform/PictureBox.h"
#include "platform/Services.h"
#include "store/Module.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace velmora {

TFrmSelFeder::TFrmSelFeder(Services& services)
    : Form(services.forms, QStringLiteral("FrmSelFeder"), programName, layout::selFeder.client,
           std::nullopt),
      services_(services) {
    using layout::at;
    using layout::selFeder;
    Image1 = makeBackground(client(), selFeder, services_.pictures, services_.dialogs);
    ImgLogoFeder = makePicture(client(), at(selFeder, "ImgLogoFeder"));
    ComboFeder = makeChoiceList(client(), at(selFeder, "ComboFeder"));
    // A pick by the user, not the refill, runs the preview.
    connect(ComboFeder, &QComboBox::activated, this, &TFrmSelFeder::ComboFederChange);

    BtnOk = makeButton(client(), at(selFeder, "BtnOk"));
    connect(BtnOk, &QPushButton::clicked, this, &TFrmSelFeder::BtnOkClick);
    setChoiceButton(BtnOk, QStringLiteral("Escolha uma federação e tecle Enter para continuar"));
}

void TFrmSelFeder::FormActivate() {
    ComboFeder->clear();
    clearPicture(ImgLogoFeder);
    fillList(ComboFeder, services_.dm().QueryConsulta,
             {QStringLiteral("select NomeFederacao from federacao.db")});
}

void TFrmSelFeder::ComboFederChange() {
    guard(services_.dialogs, [this] {
        Query& query = services_.dm().QueryFederacao;
        query.run({QStringLiteral("select LogoFederacao"), QStringLiteral("from Federacao.db"),
                   QStringLiteral("where NomeFederacao = :FEDER")},
                  {{QStringLiteral(":FEDER"), ComboFeder->currentText()}});
        showPicture(services_.pictures, ImgLogoFeder, query.field(0), true);
    });
}

void TFrmSelFeder::BtnOkClick() {
    emit galleryChosen(ComboFeder->currentText());
}

const GalleryDef& TFrmSelFeder::gallery() {
    using S = GalleryStep;
    using Box = TitlePicture::Box;
    static const GalleryDef federation = {
        .listingFrom = {QStringLiteral("from clubes.db as c, paises.db as p"),
                        QStringLiteral("where c.PaisClube = p.NomePais"),
                        QStringLiteral("and Federacao = :FEDERSEL"),
                        QStringLiteral("and c.Identificador = 0"),
                        QStringLiteral("order by c.NomeClubeOrdem, c.NomeClube")},
        .count = Statements::federationClubCount(),
        .parameter = QStringLiteral(":FEDERSEL"),
        .paramKind = ParamKind::Text,
        .title = countedTitleWithColumn(QStringLiteral("Relação de Todos Clubes da "),
                                        listing::Federacao),
        // The logo first: a logo that fails to load leaves the flag as it was.
        .titlePictures = {{Box::Feder, listing::LogoFederacao, true}, {Box::Band, -1, false}},
        .noChoiceWarning = QStringLiteral("É necessário selecionar uma Federação"),
        .emptyWarning = QStringLiteral("Não há nenhum clube cadastrado desta Federação"),
        .button = PageButton::FederSel,
        .steps = {S::RequireChoice, S::Listing, S::Count, S::CloseIfNone, S::Title, S::Fill,
                  S::CloseChooser},
    };
    return federation;
}

} // namespace velmora
