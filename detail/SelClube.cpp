#include "detail/SelClube.h"

#include "detail/ClubeSelecionado.h"
#include "detail/PagedNames.h"
#include "layout/Detail.h"
#include "platform/Captions.h"
#include "platform/Controls.h"
#include "platform/ErrorReport.h"
#include "platform/PictureBox.h"
#include "platform/Services.h"
#include "store/Error.h"
#include "store/Module.h"
#include "store/Query.h"

#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <stdexcept>

namespace velmora {

namespace {

// A kind button on the window's white card.
QRadioButton* kindButton(QWidget* parent, const layout::Place& place) {
    QRadioButton* button = makeRadio(parent, place);
    button->setAutoFillBackground(true);
    QPalette pal = button->palette();
    pal.setColor(QPalette::Window, Qt::white);
    button->setPalette(pal);
    return button;
}

} // namespace

TFrmSelClube::TFrmSelClube(Services& services)
    : Form(services.forms, QStringLiteral("FrmSelClube"), QStringLiteral("Selecionar Clube"),
           layout::selClube.client, std::nullopt),
      services_(services),
      namesQuery_(services.dm().database(), QStringLiteral("QueryNomesClubes")),
      names_(new PagedNames(namesQuery_, this)) {
    using layout::at;
    using layout::selClube;
    QWidget* area = client();
    Image1 = makeBackground(area, selClube, services_.pictures, services_.dialogs);
    rbClube = kindButton(area, at(selClube, "rbClube"));
    rbSelecao = kindButton(area, at(selClube, "rbSelecao"));
    ImgEscudoClube = makePicture(area, at(selClube, "ImgEscudoClube"));

    ComboClubes = makeChoiceList(area, at(selClube, "ComboClubes"));
    // Hundreds of thousands of names: the list measures one row for all and never
    // reads every name to size itself.
    ComboClubes->setModel(names_);
    ComboClubes->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    auto* view = new QListView(ComboClubes);
    view->setUniformItemSizes(true);
    ComboClubes->setView(view);

    BtnOk = makeButton(area, at(selClube, "BtnOk"));

    // A click handler runs only when its button becomes checked.
    connect(rbClube, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            rbClubeClick();
    });
    connect(rbSelecao, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            rbSelecaoClick();
    });
    // activated: the user's pick, not the program's own changes of the list.
    connect(ComboClubes, &QComboBox::activated, this, [this] { ComboClubesChange(); });
    connect(BtnOk, &QPushButton::clicked, this, [this] { BtnOkClick(); });
    setChoiceButton(
        BtnOk,
        QStringLiteral("Escolha clube ou seleção, depois o nome, e tecle Enter para continuar"));
}

void TFrmSelClube::uncheckKinds() {
    // An exclusive group refuses to uncheck its checked button.
    for (QRadioButton* button : {rbSelecao, rbClube}) {
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(true);
    }
}

void TFrmSelClube::FormActivate() {
    clearPicture(ImgEscudoClube);
    names_->clear();
    ComboClubes->setEnabled(false);
    BtnOk->setEnabled(false);
}

void TFrmSelClube::rbClubeClick() {
    fillNames(rbClube, 0);
}

void TFrmSelClube::rbSelecaoClick() {
    fillNames(rbSelecao, 1);
}

void TFrmSelClube::fillNames(QRadioButton* button, int identificador) {
    guard(services_.dialogs, [&] {
        Query& query = services_.dm().QueryConsulta;
        if (button->isChecked()) {
            names_->clear();
            clearPicture(ImgEscudoClube);
            const QString where = QStringLiteral("where Identificador = %1").arg(identificador);
            const QStringList lines = {
                QStringLiteral("select NomeClube, PaisClube, UFClube from Clubes.db"), where,
                QStringLiteral("order by NomeClubeOrdem, NomeClube")};
            query.run(lines);
            // The list shows every row of the statement; the names are read as shown.
            namesQuery_.run(identificador == 1 ? Statements::nationalTeamCount()
                                               : Statements::clubCount());
            names_->reset({QStringLiteral("NomeClube"),
                           QStringLiteral("from Clubes.db"),
                           where,
                           {QStringLiteral("NomeClubeOrdem"), QStringLiteral("NomeClube")},
                           QStringLiteral("Codigo")},
                          namesQuery_.field(0).toInt());
            namesQuery_.close();
            ComboClubes->setCurrentIndex(-1); // filled, nothing chosen yet
            ComboClubes->setEnabled(true);
            BtnOk->setEnabled(true);
        }
        BtnOk->setEnabled(query.isOpen() && !query.isEmpty());
    });
}

void TFrmSelClube::ComboClubesChange() {
    guard(services_.dialogs, [&] {
        Query& query = services_.dm().QueryConsulta;
        query.run({QStringLiteral("select EscudoClube from Clubes.db"),
                   QStringLiteral("where NomeClube = :CLUBE")},
                  {{QStringLiteral("CLUBE"), ComboClubes->currentText()}});
        showPicture(services_.pictures, ImgEscudoClube, query.field(0), true);
    });
}

void TFrmSelClube::BtnOkClick() {
    const QString name = ComboClubes->currentText();
    if (name.isEmpty()) {
        services_.dialogs.message(programName,
                                  QStringLiteral("É necessário escolher um Clube ou Seleção)"),
                                  MsgIcon::Warning, MsgButtons::Ok);
        return;
    }
    guard(services_.dialogs, [&] { openCard(); });
}

void TFrmSelClube::openCard() {
    const QString name = ComboClubes->currentText();
    Query& query = services_.dm().QueryConsulta;
    query.run(TFrmClubeSelecionado::statementLines(), {{QStringLiteral("NOME"), name}});
    // Without its country row the join finds nothing: say so instead of a blank card.
    if (query.isEmpty())
        throw Error(QStringLiteral("O clube ou seleção \"%1\" não foi encontrado: seu país não "
                                   "está cadastrado em Paises.DB.")
                        .arg(name));
    emit clubChosen(query, name);
}

void TFrmSelClube::cardOpened() {
    services_.forms.close(this);
}

} // namespace velmora
