#include "detail/ClubeSelecionado.h"

#include "platform/ErrorReport.h"
#include "platform/Fonts.h"
#include "platform/Pictures.h"
#include "platform/Services.h"
#include "store/Listing.h"
#include "store/Module.h"
#include "store/Names.h"

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QPixmap>

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

const QList<Card::LabelPlace>& Card::labelPlaces() {
    static const QList<LabelPlace> places = {
        {"LblNomeClube", &Card::LblNomeClube, {276, 80}, 29, true},
        {"LblNomeCompleto", &Card::LblNomeCompleto, {276, 120}, 19, true},
        {"LblFundacao", &Card::LblFundacao, {276, 147}, 19, true},
        {"LblFederacao", &Card::LblFederacao, {212, 319}, 24, false},
        {"LblEstadio", &Card::LblEstadio, {544, 311}, 15, false},
        {"LblCapacidade", &Card::LblCapacidade, {544, 335}, 15, false},
        {"LblPais", &Card::LblPais, {208, 451}, 19, false},
        {"LblCidade", &Card::LblCidade, {208, 479}, 15, false},
        {"LblEstado", &Card::LblEstado, {536, 463}, 16, false},
    };
    return places;
}

const QList<Card::PicturePlace>& Card::picturePlaces() {
    static const QList<PicturePlace> places = {
        {"ImgEscudoClube", &Card::ImgEscudoClube, {40, 27, 201, 201}, "Escudo"},
        {"ImgLogoFeder", &Card::ImgLogoFeder, {86, 280, 107, 107}, "Federação"},
        {"ImgBandeiraPais", &Card::ImgBandeiraPais, {87, 443, 105, 68}, "País"},
        {"ImgBandeiraUF", &Card::ImgBandeiraUF, {424, 441, 105, 68}, "Estado"},
    };
    return places;
}

const QStringList& Card::statementLines() {
    static const QStringList lines = listing::statement(
        {QStringLiteral("c.extinto"), QStringLiteral("c.estadio"), QStringLiteral("c.capacidade")},
        {QStringLiteral("from clubes.db as c, paises.db as p"),
         QStringLiteral("where c.PaisClube = p.NomePais"),
         QStringLiteral("and c.NomeClube = :NOME"), QStringLiteral("order by c.nomeclube")});
    return lines;
}

TFrmClubeSelecionado::TFrmClubeSelecionado(Services& services)
    : Form(services.forms, QStringLiteral("FrmClubeSelecionado"), QString(), QSize(792, 546),
           std::nullopt),
      services_(services) {
    buildControls();
    buildMenu();
}

void TFrmClubeSelecionado::buildControls() {
    QWidget* area = client();

    Image1 = new QLabel(area);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(QRect(QPoint(0, 0), clientSize()));
    Image1->setScaledContents(true);
    // Built-in artwork; a broken build shows the report instead of stopping start-up.
    guard(services_.dialogs, [this] {
        showPicture(services_.pictures, Image1, QStringLiteral(":/artwork/card.jpg"), true);
    });

    for (const PicturePlace& place : picturePlaces()) {
        auto* picture = new QLabel(area);
        picture->setObjectName(QString::fromLatin1(place.name));
        picture->setGeometry(place.rect);
        picture->setScaledContents(true);
        picture->setAccessibleName(QString::fromUtf8(place.spoken));
        this->*place.control = picture;
    }
    for (const LabelPlace& place : labelPlaces()) {
        auto* label = new QLabel(area);
        label->setObjectName(QString::fromLatin1(place.name));
        label->setTextFormat(Qt::PlainText); // a club's texts are shown as typed, never as HTML
        label->setFont(pixelFont(QStringLiteral("Arial"), place.pixelSize, true));
        if (place.header) {
            QPalette pal = label->palette();
            pal.setColor(QPalette::WindowText, Qt::white);
            label->setPalette(pal);
        }
        label->move(place.pos);
        label->adjustSize();
        this->*place.control = label;
    }
}

void TFrmClubeSelecionado::buildMenu() {
    Arquivo1 = menuBar()->addMenu(QStringLiteral("&Arquivo"));
    Arquivo1->setObjectName(QStringLiteral("Arquivo1"));
    Imprimir1 = Arquivo1->addAction(QStringLiteral("&Imprimir"));
    Imprimir1->setObjectName(QStringLiteral("Imprimir1"));
    Imprimir1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    Voltar1 = Arquivo1->addAction(QStringLiteral("&Voltar"));
    Voltar1->setObjectName(QStringLiteral("Voltar1"));
    Voltar1->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(Imprimir1, &QAction::triggered, this, [this] { Imprimir1Click(); });
    connect(Voltar1, &QAction::triggered, this, [this] { Voltar1Click(); });
    setWayOut(Voltar1);
}

void TFrmClubeSelecionado::setLabel(QLabel* label, const QString& text) {
    label->setText(text);
    label->adjustSize();
}

void TFrmClubeSelecionado::fill(const Query& row, const QString& caption) {
    setLabel(LblNomeClube, row.field(listing::NomeClube));
    setLabel(LblNomeCompleto, row.field(listing::NomeCompletoClube));
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
