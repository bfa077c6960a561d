#include "registry/CadCidade.h"

#include "layout/Registry.h"
#include "platform/Controls.h"
#include "platform/DataControls.h"
#include "platform/ErrorReport.h"
#include "platform/PictureBox.h"
#include "platform/Services.h"
#include "store/Module.h"
#include "store/Names.h"
#include "store/Query.h"

#include <QComboBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace velmora {

namespace {

const QString caption = QStringLiteral("CADASTRO DE CIDADES");

// The picture path in the first column of a one-parameter statement.
QString pathFrom(Query& query, const QStringList& lines, const QString& parameter,
                 const QString& value) {
    query.run(lines, {{parameter, value}});
    const QString path = query.field(0);
    query.close();
    return path;
}

// A flag that cannot be shown leaves its box empty, never another country's flag.
void showFlag(Pictures& pictures, QLabel* box, const QString& path) {
    clearPicture(box);
    showPicture(pictures, box, path, true);
}

} // namespace

TFrmCadastroCidade::TFrmCadastroCidade(Services& services)
    : Form(services.forms, QStringLiteral("FrmCadastroCidade"), caption, layout::cadCidade.client,
           std::nullopt),
      services_(services) {
    buildControls();
    FormCreate();
}

void TFrmCadastroCidade::buildControls() {
    using layout::at;
    using layout::cadCidade;
    QWidget* area = client();
    Image1 = makeBackground(area, cadCidade, services_.pictures, services_.dialogs);

    EdtCidade = placed(new QLineEdit(area), at(cadCidade, "EdtCidade"));
    for (const FieldDef& field : services_.dm().TblCidades.def().fields)
        if (field.name == QLatin1String("Cidade"))
            EdtCidade->setMaxLength(field.width);

    ComboPais = makeChoiceList(area, at(cadCidade, "ComboPais"));
    ImgBandPais = makePicture(area, at(cadCidade, "ImgBandPais"));
    ComboUF = makeChoiceList(area, at(cadCidade, "ComboUF"));
    ImgBandUF = makePicture(area, at(cadCidade, "ImgBandUF"));
    // A pick by the user, not a refill, runs the handlers.
    connect(ComboPais, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            ComboPaisChange();
    });
    connect(ComboUF, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            ComboUFChange();
    });

    BtnGravar = makeButton(area, at(cadCidade, "BtnGravar"), {18, 18});
    BtnCancelar = makeButton(area, at(cadCidade, "BtnCancelar"), {18, 18});
    // A store that cannot be written takes no new city.
    BtnGravar->setEnabled(!services_.dm().readOnly());
    connect(BtnGravar, &QPushButton::clicked, this, &TFrmCadastroCidade::BtnGravarClick);
    connect(BtnCancelar, &QPushButton::clicked, this, &TFrmCadastroCidade::BtnCancelarClick);
    // The keys the club editor uses for the same two commands.
    BtnGravar->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    BtnCancelar->setShortcut(QKeySequence(Qt::Key_Escape));
    setWayOut(BtnCancelar);
}

void TFrmCadastroCidade::FormCreate() {
    showStatePart(false);
    guard(services_.dialogs, [this] { fillCountries(); });
}

void TFrmCadastroCidade::showStatePart(bool visible) {
    ComboUF->setVisible(visible);
    ImgBandUF->setVisible(visible);
}

void TFrmCadastroCidade::fillCountries() {
    fillList(ComboPais, services_.dm().QueryTodosPaises,
             {QStringLiteral("select NomePais as paises"), QStringLiteral("from paises.db"),
              QStringLiteral("order by NomePaisOrdem, paises")});
}

void TFrmCadastroCidade::fillStates() {
    // Ordered by name; the code first, so the first two characters are the state code.
    fillList(ComboUF, services_.dm().QueryTodosEstados,
             {QStringLiteral("select UF, NomeCompleto as estado"), QStringLiteral("from uf.db"),
              QStringLiteral("order by NomeCompletoOrdem, estado")},
             {}, [](const Query& query) {
                 return query.field(0) + QStringLiteral(" - ") + query.field(1);
             });
}

void TFrmCadastroCidade::open() {
    guard(services_.dialogs, [this] {
        if (isVisible()) {
            services_.forms.show(this);
            return;
        }
        services_.forms.show(this);
        Table& cities = services_.dm().TblCidades;
        cities.cancel(); // nothing is left over from an earlier opening
        cities.append();
        EdtCidade->clear();
        EdtCidade->setFocus();
        showStatePart(false);
        ImgBandPais->hide();
        clearPicture(ImgBandPais);
        clearPicture(ImgBandUF);
        fillCountries();
    });
}

void TFrmCadastroCidade::ComboPaisChange() {
    guard(services_.dialogs, [this] {
        const QString pais = ComboPais->currentText();
        const bool inBrasil = pais == brasil;
        showStatePart(inBrasil);
        ImgBandPais->show();
        if (inBrasil)
            fillStates();
        else
            clearPicture(ImgBandUF);
        showFlag(
            services_.pictures, ImgBandPais,
            pathFrom(services_.dm().QueryBandPaises,
                     {QStringLiteral("select BandeiraPais as bandeira"),
                      QStringLiteral("from paises.db"), QStringLiteral("where NomePais = :PAIS")},
                     QStringLiteral("PAIS"), pais));
    });
}

void TFrmCadastroCidade::ComboUFChange() {
    guard(services_.dialogs, [this] {
        showFlag(services_.pictures, ImgBandUF,
                 pathFrom(services_.dm().QueryBandUF,
                          {QStringLiteral("select BandeiraUF as bandeira"),
                           QStringLiteral("from uf.db"), QStringLiteral("where UF = :SIGLA")},
                          QStringLiteral("SIGLA"), ComboUF->currentText().left(2)));
    });
}

QString TFrmCadastroCidade::refusal() const {
    if (EdtCidade->text().trimmed().isEmpty())
        return QStringLiteral("É necessário informar o nome da Cidade.");
    if (ComboPais->currentIndex() < 0)
        return QStringLiteral("É necessário escolher um País.");
    if (ComboPais->currentText() == brasil && ComboUF->currentIndex() < 0)
        return QStringLiteral("É necessário escolher um Estado.");
    return {};
}

void TFrmCadastroCidade::BtnGravarClick() {
    guard(services_.dialogs, [this] {
        // A city without a name, country or (in Brazil) state could never be picked.
        if (const QString why = refusal(); !why.isEmpty()) {
            services_.dialogs.message(caption, why, MsgIcon::Warning);
            return;
        }
        if (services_.dialogs.message(caption, QStringLiteral("Confirma cadastro?"),
                                      MsgIcon::Question, MsgButtons::YesNo) != MsgResult::Yes)
            return;
        Table& cities = services_.dm().TblCidades;
        if (cities.state() == Table::State::Browse)
            cities.append();
        const QString pais = ComboPais->currentText();
        cities.setFieldText(QStringLiteral("País"), pais);
        cities.setFieldText(QStringLiteral("Cidade"), EdtCidade->text().trimmed());
        // Only Brazilian cities have a state, whatever was picked before the country.
        cities.setFieldText(QStringLiteral("Estado"),
                            pais == brasil ? ComboUF->currentText().left(2) : QString());
        cities.post();
        leave();
    });
}

void TFrmCadastroCidade::BtnCancelarClick() {
    guard(services_.dialogs, [this] {
        services_.dm().TblCidades.cancel();
        leave();
    });
}

void TFrmCadastroCidade::leave() {
    services_.forms.close(this);
    emit left();
}

} // namespace velmora
