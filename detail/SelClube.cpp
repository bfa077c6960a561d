#include "detail/SelClube.h"

#include "detail/ClubeSelecionado.h"
#include "detail/PagedNames.h"
#include "platform/Captions.h"
#include "platform/ErrorReport.h"
#include "platform/Fonts.h"
#include "platform/Pictures.h"
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

QRadioButton* kindButton(QWidget* parent, const char* name, const QString& text, QRect rect) {
    auto* button = new QRadioButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setFont(pixelFont(QStringLiteral("Corbel"), 15, true));
    button->setAutoFillBackground(true);
    QPalette pal = button->palette();
    pal.setColor(QPalette::Window, Qt::white);
    button->setPalette(pal);
    button->setGeometry(rect);
    return button;
}

} // namespace

TFrmSelClube::TFrmSelClube(Services& services)
    : Form(services.forms, QStringLiteral("FrmSelClube"), QStringLiteral("Selecionar Clube"),
           QSize(433, 185), std::nullopt),
      services_(services),
      namesQuery_(services.dm().database(), QStringLiteral("QueryNomesClubes")),
      names_(new PagedNames(namesQuery_, this)) {
    QWidget* area = client();

    Image1 = new QLabel(area);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(QRect(QPoint(0, 0), clientSize()));
    Image1->setScaledContents(true);
    // Built-in artwork; a broken build shows the report instead of stopping start-up.
    guard(services_.dialogs, [this] {
        showPicture(services_.pictures, Image1, QStringLiteral(":/artwork/selclube.jpg"), true);
    });

    rbClube = kindButton(area, "rbClube", QStringLiteral("Clube"), QRect(24, 66, 90, 20));
    rbSelecao = kindButton(area, "rbSelecao", QStringLiteral("Seleção"), QRect(124, 66, 100, 20));

    ImgEscudoClube = new QLabel(area);
    ImgEscudoClube->setObjectName(QStringLiteral("ImgEscudoClube"));
    ImgEscudoClube->setGeometry(329, 44, 92, 92);
    ImgEscudoClube->setScaledContents(true);
    ImgEscudoClube->setAccessibleName(QStringLiteral("Escudo"));

    ComboClubes = new QComboBox(area);
    ComboClubes->setObjectName(QStringLiteral("ComboClubes"));
    ComboClubes->setEditable(false);
    ComboClubes->setFont(pixelFont(QStringLiteral("Corbel"), 13, true));
    ComboClubes->setGeometry(24, 112, 281, 24);
    ComboClubes->setAccessibleName(QStringLiteral("Clube ou seleção"));
    // Hundreds of thousands of names: the list measures one row for all and never
    // reads every name to size itself.
    ComboClubes->setModel(names_);
    ComboClubes->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    auto* view = new QListView(ComboClubes);
    view->setUniformItemSizes(true);
    ComboClubes->setView(view);

    BtnOk = new QPushButton(QStringLiteral("OK"), area);
    BtnOk->setObjectName(QStringLiteral("BtnOk"));
    BtnOk->setIcon(QIcon(QStringLiteral(":/artwork/glyph-ok.png")));
    BtnOk->setGeometry(230, 143, 75, 25);

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
    setWayOut(BtnOk);
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
            namesQuery_.run({QStringLiteral("select count(*) as qtde from Clubes.db"), where});
            names_->reset(lines, namesQuery_.field(0).toInt());
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
