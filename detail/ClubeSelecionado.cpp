#include "detail/ClubeSelecionado.h"

#include "layout/Detail.h"
#include "platform/Controls.h"
#include "platform/ErrorReport.h"
#include "platform/PictureBox.h"
#include "platform/Services.h"
#include "store/Listing.h"
#include "store/Module.h"
#include "store/Names.h"

#include <QAction>
#include <QFontMetrics>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QPixmap>

#include <algorithm>

namespace velmora {

namespace {

// The card's own columns, after the listing's.
enum CardColumn { Extinto = listing::Extra, Estadio, Capacidade };

// Capital letters by the system's rules, accented letters included.
QString capitals(const QString& text) {
    return QLocale::system().toUpper(text);
}

} // namespace

using Card = TFrmClubeSelecionado;

namespace {

// The card's controls, in the order of its place table.
constexpr QLabel* Card::*cardMembers[] = {
    &Card::ImgEscudoClube, &Card::ImgLogoFeder,    &Card::ImgBandeiraPais, &Card::ImgBandeiraUF,
    &Card::LblNomeClube,   &Card::LblNomeCompleto, &Card::LblFundacao,     &Card::LblFederacao,
    &Card::LblEstadio,     &Card::LblCapacidade,   &Card::LblPais,         &Card::LblCidade,
    &Card::LblEstado,
};
static_assert(std::size(cardMembers) == std::size(layout::cardPlaces));

} // namespace

const QStringList& Card::statementLines() {
    static const QStringList lines = listing::statement(
        {QStringLiteral("c.extinto"), QStringLiteral("c.estadio"), QStringLiteral("c.capacidade")},
        {QStringLiteral("from clubes.db as c, paises.db as p"),
         QStringLiteral("where c.PaisClube = p.NomePais"),
         QStringLiteral("and c.NomeClube = :NOME"), QStringLiteral("order by c.nomeclube")});
    return lines;
}

TFrmClubeSelecionado::TFrmClubeSelecionado(Services& services)
    : Form(services.forms, QStringLiteral("FrmClubeSelecionado"), QString(), layout::card.client,
           std::nullopt),
      services_(services) {
    buildControls();
    buildMenu();
}

void TFrmClubeSelecionado::buildControls() {
    QWidget* area = client();
    Image1 = makeBackground(area, layout::card, services_.pictures, services_.dialogs);
    for (std::size_t i = 0; i < std::size(cardMembers); ++i) {
        const layout::Place& place = layout::cardPlaces[i];
        QLabel* control =
            place.kind == layout::Kind::Picture ? makePicture(area, place) : makeLabel(area, place);
        if (place.kind == layout::Kind::Label)
            control->adjustSize();
        this->*cardMembers[i] = control;
    }
}

void TFrmClubeSelecionado::buildMenu() {
    addMenus<Card>(
        *this, menuBar(),
        {{"Arquivo1",
          "&Arquivo",
          &Card::Arquivo1,
          {{"Imprimir1", "&Imprimir", &Card::Imprimir1, &Card::Imprimir1Click,
            Qt::CTRL | Qt::Key_P},
           {"Voltar1", "&Voltar", &Card::Voltar1, &Card::Voltar1Click, Qt::Key_Escape}}}});
    setWayOut(Voltar1);
}

void TFrmClubeSelecionado::setLabel(QLabel* label, const QString& text) {
    setFittedText(label, text);
}

void TFrmClubeSelecionado::showFullName(const QString& text) {
    const layout::Place& name = layout::at(layout::card, "LblNomeCompleto");
    const layout::Place& founded = layout::at(layout::card, "LblFundacao");
    const int oneLine = QFontMetrics(LblNomeCompleto->font()).height();
    const bool wraps = QFontMetrics(LblNomeCompleto->font()).horizontalAdvance(text) > name.room;
    LblNomeCompleto->setWordWrap(wraps);
    if (!wraps) {
        setLabel(LblNomeCompleto, text);
        LblFundacao->move(founded.rect.topLeft());
        return;
    }
    // As many lines as the band holds with the foundation line below them.
    constexpr int margin = 8;
    const int most =
        layout::cardBandBottom - margin - LblFundacao->height() - founded.rect.top() + oneLine;
    LblNomeCompleto->setText(text);
    const int needed = LblNomeCompleto->heightForWidth(name.room);
    const QString whole = needed > most ? text : QString();
    LblNomeCompleto->setToolTip(whole.toHtmlEscaped());
    LblNomeCompleto->setAccessibleDescription(whole);
    const int height = std::min(needed, most);
    LblNomeCompleto->resize(name.room, height);
    LblFundacao->move(founded.rect.left(), founded.rect.top() + height - oneLine);
}

void TFrmClubeSelecionado::fill(const Query& row, const QString& caption) {
    setLabel(LblNomeClube, row.field(listing::NomeClube));
    showFullName(row.field(listing::NomeCompletoClube));
    setLabel(LblFederacao, row.field(listing::Federacao));
    setLabel(LblPais, capitals(row.field(listing::PaisClube)));

    const QString estadio = row.field(Estadio);
    setLabel(LblEstadio, estadio);
    // No stadium, no capacity line, whatever capacity is stored.
    setLabel(LblCapacidade, estadio.isEmpty()
                                ? QString()
                                : QStringLiteral("Capacidade: ") + row.field(Capacidade));

    showPicture(services_.pictures, ImgEscudoClube, row.field(listing::EscudoClube), true);
    showPicture(services_.pictures, ImgBandeiraPais, row.field(listing::BandeiraPais), true);
    showPicture(services_.pictures, ImgLogoFeder, row.field(listing::LogoFederacao), true);

    if (row.field(listing::PaisClube) == brasil) {
        showState(row.field(listing::UFClube), row.field(listing::BandeiraUF));
    } else {
        clearPicture(ImgBandeiraUF);
        setLabel(LblEstado, QString());
    }

    const bool extinct = row.field(Extinto).toInt() != 0;
    setLabel(LblFundacao, QStringLiteral("Fundado em ") + row.field(listing::AnoFundacao) +
                              (extinct ? QStringLiteral(" (Clube Extinto)")
                                       : QStringLiteral(" (") + row.field(listing::IdadeClube) +
                                             QStringLiteral(")")));
    setLabel(LblCidade, row.field(listing::CidadeClube));
    setWindowTitle(caption);
}

void TFrmClubeSelecionado::showState(const QString& uf, const QString& flagPath) {
    Query& query = services_.dm().QueryTodosEstados;
    query.run({QStringLiteral("select NomeCompleto as estados"), QStringLiteral("from UF.db"),
               QStringLiteral("where UF = :ESTADO")},
              {{QStringLiteral("ESTADO"), uf}});
    showPicture(services_.pictures, ImgBandeiraUF, flagPath, true);
    setLabel(LblEstado, capitals(query.field(0)));
}

void TFrmClubeSelecionado::Imprimir1Click() {
    guard(services_.dialogs, [this] { services_.printing.printWindow(this, services_.dialogs); });
}

void TFrmClubeSelecionado::open(const Query& row, const QString& caption) {
    guard(services_.dialogs, [&] {
        fill(row, caption);
        services_.forms.show(this);
        emit opened();
    });
}

void TFrmClubeSelecionado::Voltar1Click() {
    services_.forms.showMainWindow();
    services_.forms.close(this);
}

} // namespace velmora
