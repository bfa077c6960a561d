#include "gallery/FederSel.h"

#include "gallery/ChooserControls.h"
#include "gallery/GalleryCommand.h"
#include "platform/Captions.h"
#include "platform/DataControls.h"
#include "platform/ErrorReport.h"
#include "platform/Fonts.h"
#include "platform/Services.h"
#include "store/Module.h"

#include <QLabel>

namespace velmora {

TFrmSelFeder::TFrmSelFeder(Services& services)
    : Form(services.forms, QStringLiteral("FrmSelFeder"), programName, QSize(300, 145),
           std::nullopt),
      services_(services) {
    Image1 = new QLabel(client());
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 300, 145);
    // Built-in artwork; a broken build shows the report instead of stopping start-up.
    guard(services_.dialogs, [this] {
        showPicture(services_.pictures, Image1, QStringLiteral(":/artwork/selfeder.jpg"), true);
    });

    ImgLogoFeder = new QLabel(client());
    ImgLogoFeder->setObjectName(QStringLiteral("ImgLogoFeder"));
    ImgLogoFeder->setGeometry(14, 42, 93, 93);
    ImgLogoFeder->setAccessibleName(QStringLiteral("Logotipo da federação"));

    ComboFeder = makeChoiceList(client(), QStringLiteral("ComboFeder"), {132, 64}, 140);
    ComboFeder->setFixedHeight(24);
    ComboFeder->setAccessibleName(QStringLiteral("Federação"));
    ComboFeder->setFont(pixelFont(QStringLiteral("Corbel"), 13, true));
    // A pick by the user, not the refill, runs the preview.
    connect(ComboFeder, &QComboBox::activated, this, &TFrmSelFeder::ComboFederChange);

    BtnOk = makeOkButton(client(), {197, 102, 75, 25});
    connect(BtnOk, &QPushButton::clicked, this, &TFrmSelFeder::BtnOkClick);
    setWayOut(BtnOk);
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
        .countLines = {QStringLiteral("select count(*) as qtde"), QStringLiteral("from clubes.db"),
                       QStringLiteral("where Federacao = :FEDERSEL"),
                       QStringLiteral("and Identificador = 0")},
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
