#include "gallery/Anos.h"

#include "gallery/GalleryCommand.h"
#include "layout/Gallery.h"
#include "platform/Captions.h"
#include "platform/Controls.h"
#include "platform/DataControls.h"
#include "platform/ErrorReport.h"
#include "platform/Services.h"
#include "store/Module.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStyledItemDelegate>

namespace velmora {

namespace {

// The year list's rows are 16 pixels high, so many years show at once.
class RowHeight final : public QStyledItemDelegate {
public:
    RowHeight(int height, QObject* parent) : QStyledItemDelegate(parent), height_(height) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), height_};
    }

private:
    int height_;
};

} // namespace

TFrmAno::TFrmAno(Services& services)
    : Form(services.forms, QStringLiteral("FrmAno"), programName, layout::ano.client, std::nullopt),
      services_(services) {
    using layout::ano;
    using layout::at;
    Label1 = makeLabel(client(), at(ano, "Label1"));
    Label1->adjustSize();

    ChoiceList* years = makeChoiceList(client(), at(ano, "ComboAnos"));
    years->setItemDelegate(new RowHeight(16, years));
    years->setTitle(Label1);
    ComboAnos = years;

    BtnOk = makeButton(client(), at(ano, "BtnOk"));
    connect(BtnOk, &QPushButton::clicked, this, &TFrmAno::BtnOkClick);
    setChoiceButton(BtnOk, QStringLiteral("Escolha um ano e tecle Enter para continuar"));
}

void TFrmAno::FormActivate() {
    fillList(ComboAnos, services_.dm().QueryConsulta, {QStringLiteral("select ano from anos.db")});
}

void TFrmAno::BtnOkClick() {
    emit galleryChosen(ComboAnos->currentText());
}

const GalleryDef& TFrmAno::gallery() {
    using S = GalleryStep;
    using Box = TitlePicture::Box;
    static const GalleryDef year = {
        .listingFrom = {QStringLiteral("from clubes.db as c, paises.db as p"),
                        QStringLiteral("where c.PaisClube = p.NomePais"),
                        QStringLiteral("and c.AnoFundacao = :ANOFUND"),
                        QStringLiteral("and c.Identificador = 0"),
                        QStringLiteral("order by c.NomeClubeOrdem, c.NomeClube")},
        .count = Statements::yearClubCount(),
        .parameter = QStringLiteral(":ANOFUND"),
        .paramKind = ParamKind::Integer,
        .title = countedTitleWithValue(QStringLiteral("Relação de Todos Clubes fundados em ")),
        .titlePictures = {{Box::Band, -1, false}, {Box::Feder, -1, false}},
        .noChoiceWarning = QStringLiteral("É necessário selecionar um ano"),
        .emptyWarning = QStringLiteral("Não há nenhum clube fundado neste ano"),
        .button = PageButton::AnoFund,
        .steps = {S::RequireChoice, S::Listing, S::Count, S::CloseIfNone, S::Title, S::Fill,
                  S::CloseChooser},
    };
    return year;
}

} // namespace velmora
