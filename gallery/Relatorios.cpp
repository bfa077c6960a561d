#include "gallery/Relatorios.h"

#include "gallery/GalleryCommand.h"
#include "layout/Gallery.h"
#include "platform/Controls.h"
#include "platform/ErrorReport.h"
#include "platform/Fonts.h"
#include "platform/PictureBox.h"
#include "platform/Services.h"
#include "store/Listing.h"
#include "store/Module.h"
#include "store/Names.h"
#include "store/Query.h"

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>

namespace velmora {

namespace {

// Each slot's controls, in the order of the slot parts.
constexpr std::array<QLabel * TFrmRelatorios::Slot::*, layout::slotParts.size()> slotMembers = {
    &TFrmRelatorios::Slot::ImgClube,          &TFrmRelatorios::Slot::ImgBandClube,
    &TFrmRelatorios::Slot::LblSiglaPaisClube, &TFrmRelatorios::Slot::LblNomeClube,
    &TFrmRelatorios::Slot::LblNomeCompleto,   &TFrmRelatorios::Slot::LblCidade,
};

struct PageButtonSpec {
    const char* name;
    void (TFrmRelatorios::*handler)();
    SlotRule rule;
};

// Indexed by PageButton.
const std::array<PageButtonSpec, pageButtonCount> pageButtons = {{
    {"BtnClubesBR", &TFrmRelatorios::BtnClubesBRClick, SlotRule::Brazil},
    {"BtnClubesUF", &TFrmRelatorios::BtnClubesUFClick, SlotRule::Standard},
    {"BtnPaisSel", &TFrmRelatorios::BtnPaisSelClick, SlotRule::Standard},
    {"BtnTodosClubes", &TFrmRelatorios::BtnTodosClubesClick, SlotRule::Standard},
    {"BtnProxSel", &TFrmRelatorios::BtnProxSelClick, SlotRule::Standard},
    {"BtnExtinto", &TFrmRelatorios::BtnExtintoClick, SlotRule::Standard},
    {"BtnAnoFund", &TFrmRelatorios::BtnAnoFundClick, SlotRule::Standard},
    {"BtnFederSel", &TFrmRelatorios::BtnFederSelClick, SlotRule::Standard},
}};

void setLabelText(QLabel* label, const QString& text) {
    setFittedText(label, text);
}

// A slot's pictures are named after what they show; an empty slot's by its number.
void namePicture(QLabel* picture, int n, std::size_t part, const QString& what) {
    QByteArray name, spoken;
    layout::slotPlace(n, layout::slotParts[part], name, spoken);
    picture->setAccessibleName(what.isEmpty() ? QString::fromUtf8(spoken)
                                              : QString::fromUtf8(layout::slotParts[part].spoken) +
                                                    QLatin1String(": ") + what);
}

} // namespace

TFrmRelatorios::TFrmRelatorios(Services& services)
    : Form(services.forms, QStringLiteral("FrmRelatorios"), QStringLiteral("Relatórios"),
           layout::relatorios.client, std::nullopt),
      services_(services) {
    const layout::Font& font = layout::relatoriosFont;
    client()->setFont(pixelFont(QString::fromLatin1(font.family), font.pixelSize));
    Image5 = makeBackground(client(), layout::relatorios, services_.pictures, services_.dialogs);
    buildTitleLine();
    buildSlots();
    buildButtons();
    buildMenu();
}

TFrmRelatorios::~TFrmRelatorios() = default;

void TFrmRelatorios::buildTitleLine() {
    using layout::at;
    using layout::relatorios;
    LblTitulo = makeLabel(client(), at(relatorios, "LblTitulo"));
    ImgBandTitulo = makePicture(client(), at(relatorios, "ImgBandTitulo"));
    ImgFeder = makePicture(client(), at(relatorios, "ImgFeder"));
}

void TFrmRelatorios::buildSlots() {
    for (int n = 1; n <= slotCount; ++n) {
        for (std::size_t c = 0; c < layout::slotParts.size(); ++c) {
            const layout::SlotPart& part = layout::slotParts[c];
            QByteArray name, spoken;
            const layout::Place place = layout::slotPlace(n, part, name, spoken);
            slots_[n - 1].*slotMembers[c] = part.kind == layout::Kind::Picture
                                                ? makePicture(client(), place)
                                                : makeLabel(client(), place);
        }
    }
}

void TFrmRelatorios::buildButtons() {
    const layout::Place& next = layout::at(layout::relatorios, "BtnProxima");
    for (int i = 0; i < pageButtonCount; ++i) {
        layout::Place place = next;
        place.name = pageButtons[i].name;
        QPushButton* button = makeButton(client(), place);
        button->setVisible(false);
        button->setEnabled(false);
        connect(button, &QPushButton::clicked, this, pageButtons[i].handler);
        buttons_[i] = button;
    }
}

void TFrmRelatorios::buildMenu() {
    addMenus<TFrmRelatorios>(*this, menuBar(),
                             {{"Voltar1",
                               "&Arquivo",
                               &TFrmRelatorios::Voltar1,
                               {{"Imprimir1", "&Imprimir", &TFrmRelatorios::Imprimir1,
                                 &TFrmRelatorios::Imprimir1Click, Qt::CTRL | Qt::Key_P},
                                {"Voltar2", "&Voltar", &TFrmRelatorios::Voltar2,
                                 &TFrmRelatorios::Voltar2Click, Qt::Key_Escape}}}});
    // Page Down turns the page, like the ">>" button of the gallery on show.
    auto* nextPage = new QShortcut(QKeySequence(Qt::Key_PageDown), this);
    connect(nextPage, &QShortcut::activated, this, [this] {
        for (QPushButton* button : buttons_)
            if (button->isVisible() && button->isEnabled())
                button->click();
    });
    setWayOut(Voltar2);
}

std::unique_ptr<Query> TFrmRelatorios::newListing() const {
    return std::make_unique<Query>(services_.dm().database(), QStringLiteral("QueryRelatorio"));
}

void TFrmRelatorios::setTitle(const QString& text) {
    setLabelText(LblTitulo, text);
}

void TFrmRelatorios::fillFirstPage(std::unique_ptr<Query> listing, SlotRule rule,
                                   PageButton button) {
    listing_ = std::move(listing);
    // The other galleries' buttons would continue this listing with their own rule.
    for (int i = 0; i < pageButtonCount; ++i) {
        if (i != int(button)) {
            buttons_[i]->setVisible(false);
            buttons_[i]->setEnabled(false);
        }
    }
    pageFill(rule, button);
}

void TFrmRelatorios::nextPage(PageButton button) {
    guard(services_.dialogs, [&] {
        if (listing_ != nullptr && listing_->isOpen())
            pageFill(pageButtons[int(button)].rule, button);
    });
}

void TFrmRelatorios::pageFill(SlotRule rule, PageButton button) {
    Query& listing = *listing_;
    int rowsOnPage = 1;
    fillSlot(1, rule);
    listing.next();
    for (int n = 2; n <= slotCount; ++n) {
        if (listing.eof()) {
            clearSlot(n);
            continue;
        }
        fillSlot(n, rule);
        listing.next();
        ++rowsOnPage;
    }
    forms().show(this);
    const bool more = rowsOnPage == slotCount && !listing.eof();
    QPushButton* next = buttons_[int(button)];
    next->setVisible(more);
    next->setEnabled(more);
}

void TFrmRelatorios::fillSlot(int n, SlotRule rule) {
    const Query& row = *listing_;
    const Slot& s = slots_[n - 1];
    const bool isBrasil = row.field(listing::PaisClube) == brasil;
    const bool brazilRule = rule == SlotRule::Brazil;
    showPicture(services_.pictures, s.ImgClube, row.field(listing::EscudoClube));
    showPicture(services_.pictures, s.ImgBandClube,
                row.field(brazilRule && isBrasil ? listing::BandeiraUF : listing::BandeiraPais));
    namePicture(s.ImgClube, n, 0, row.field(listing::NomeClube));
    namePicture(s.ImgBandClube, n, 1,
                brazilRule && isBrasil ? row.field(listing::UFClube)
                                       : row.field(listing::PaisClube));
    setLabelText(s.LblNomeClube, row.field(listing::NomeClube));
    setLabelText(s.LblSiglaPaisClube, row.field(brazilRule ? listing::UFClube : listing::CodPais));
    setLabelText(s.LblNomeCompleto, row.field(listing::NomeCompletoClube));
    // The Brazil rule writes the state only in the first slot of a page.
    const bool withState = isBrasil && (!brazilRule || n == 1);
    setLabelText(s.LblCidade, withState ? row.field(listing::CidadeClube) + QLatin1Char('/') +
                                              row.field(listing::UFClube)
                                        : row.field(listing::CidadeClube));
}

void TFrmRelatorios::clearSlot(int n) {
    const Slot& s = slots_[n - 1];
    clearPicture(s.ImgClube);
    clearPicture(s.ImgBandClube);
    namePicture(s.ImgClube, n, 0, {});
    namePicture(s.ImgBandClube, n, 1, {});
    for (QLabel* label : {s.LblSiglaPaisClube, s.LblNomeClube, s.LblNomeCompleto, s.LblCidade})
        setLabelText(label, QString());
}

QString TFrmRelatorios::subject() const {
    // The title line without the count at its end.
    QString text = LblTitulo->text();
    text.remove(QRegularExpression(QStringLiteral("\\s*\\([\\d.]+\\)$")));
    return text;
}

void TFrmRelatorios::Imprimir1Click() {
    guard(services_.dialogs,
          [this] { services_.printing.printWindow(this, services_.dialogs, subject()); });
}

void TFrmRelatorios::Voltar2Click() {
    forms().close(this);
}

} // namespace velmora
