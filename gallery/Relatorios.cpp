#include "gallery/Relatorios.h"

#include "gallery/GalleryCommand.h"
#include "platform/ErrorReport.h"
#include "platform/Fonts.h"
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
#include <QShortcut>

namespace velmora {

namespace {

// The six controls of a slot, in the order of the position table's columns.
struct SlotControlSpec {
    const char* stem;
    QLabel* TFrmRelatorios::Slot::*member;
    QSize fixedSize; // empty: sized to its text
    int fontPx;      // 0: a picture
    bool bold;
};

const std::array<SlotControlSpec, 6> slotControls = {{
    {"ImgClube", &TFrmRelatorios::Slot::ImgClube, {57, 57}, 0, false},
    {"ImgBandClube", &TFrmRelatorios::Slot::ImgBandClube, {49, 33}, 0, false},
    {"LblSiglaPaisClube", &TFrmRelatorios::Slot::LblSiglaPaisClube, {49, 14}, 11, true},
    {"LblNomeClube", &TFrmRelatorios::Slot::LblNomeClube, {}, 12, true},
    {"LblNomeCompleto", &TFrmRelatorios::Slot::LblNomeCompleto, {}, 11, false},
    {"LblCidade", &TFrmRelatorios::Slot::LblCidade, {}, 11, false},
}};

// Left, top of badge, flag, code, short name, full name and city for slots 1 to 12.
using SlotPositions = std::array<QPoint, 6>;
const std::array<SlotPositions, TFrmRelatorios::slotCount> slotPositions = {{
    {{{21, 67}, {118, 71}, {118, 106}, {181, 71}, {181, 88}, {181, 104}}},
    {{{21, 145}, {118, 150}, {118, 185}, {181, 150}, {181, 167}, {181, 183}}},
    {{{22, 225}, {118, 230}, {118, 265}, {181, 230}, {181, 247}, {181, 263}}},
    {{{21, 304}, {118, 309}, {118, 344}, {181, 309}, {181, 326}, {181, 342}}},
    {{{21, 383}, {118, 388}, {118, 423}, {181, 388}, {181, 405}, {181, 421}}},
    {{{21, 463}, {118, 468}, {118, 503}, {181, 468}, {181, 485}, {181, 501}}},
    {{{419, 66}, {516, 70}, {516, 105}, {579, 70}, {579, 87}, {579, 103}}},
    {{{419, 144}, {516, 149}, {516, 184}, {579, 149}, {579, 166}, {579, 182}}},
    {{{420, 224}, {516, 229}, {516, 264}, {579, 229}, {579, 246}, {579, 262}}},
    {{{419, 303}, {516, 308}, {516, 343}, {579, 308}, {579, 325}, {579, 341}}},
    {{{419, 382}, {516, 387}, {516, 422}, {579, 387}, {579, 404}, {579, 420}}},
    {{{419, 462}, {516, 467}, {516, 502}, {579, 467}, {579, 484}, {579, 500}}},
}};

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

QLabel* makeLabel(QWidget* parent, const QString& name, QPoint at) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText); // a club's texts are shown as typed, never as HTML
    label->move(at);
    return label;
}

QLabel* makePicture(QWidget* parent, const QString& name, QPoint at, QSize size) {
    QLabel* box = makeLabel(parent, name, at);
    box->setFixedSize(size);
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return box;
}

void setLabelText(QLabel* label, const QString& text) {
    label->setText(text);
    if (label->minimumWidth() == 0) // sized to its text
        label->adjustSize();
}

} // namespace

TFrmRelatorios::TFrmRelatorios(Services& services)
    : Form(services.forms, QStringLiteral("FrmRelatorios"), QStringLiteral("Relatórios"),
           QSize(792, 546), std::nullopt),
      services_(services) {
    client()->setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11));
    Image5 = makePicture(client(), QStringLiteral("Image5"), {-1, -1}, {794, 549});
    // Built-in artwork; a broken build shows the report instead of stopping start-up.
    guard(services_.dialogs, [this] {
        showPicture(services_.pictures, Image5, QStringLiteral(":/artwork/relatorios.jpg"), true);
    });
    buildTitleLine();
    buildSlots();
    buildButtons();
    buildMenu();
}

TFrmRelatorios::~TFrmRelatorios() = default;

void TFrmRelatorios::buildTitleLine() {
    LblTitulo = makeLabel(client(), QStringLiteral("LblTitulo"), {94, 16});
    LblTitulo->setFont(pixelFont(QStringLiteral("Arial"), 19, true));
    ImgBandTitulo = makePicture(client(), QStringLiteral("ImgBandTitulo"), {22, 10}, {57, 33});
    ImgFeder = makePicture(client(), QStringLiteral("ImgFeder"), {25, 2}, {49, 49});
    ImgBandTitulo->setAccessibleName(QStringLiteral("Bandeira"));
    ImgFeder->setAccessibleName(QStringLiteral("Federação"));
}

void TFrmRelatorios::buildSlots() {
    for (int n = 1; n <= slotCount; ++n) {
        const SlotPositions& at = slotPositions[n - 1];
        for (std::size_t c = 0; c < slotControls.size(); ++c) {
            const SlotControlSpec& spec = slotControls[c];
            const QString name = QLatin1String(spec.stem) + QString::number(n);
            QLabel* control = spec.fontPx == 0 ? makePicture(client(), name, at[c], spec.fixedSize)
                                               : makeLabel(client(), name, at[c]);
            if (spec.fontPx != 0) {
                control->setFont(pixelFont(QStringLiteral("Arial"), spec.fontPx, spec.bold));
                if (!spec.fixedSize.isEmpty()) {
                    control->setFixedSize(spec.fixedSize);
                    control->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
                }
            }
            slots_[n - 1].*spec.member = control;
        }
        slots_[n - 1].ImgClube->setAccessibleName(QStringLiteral("Escudo %1").arg(n));
        slots_[n - 1].ImgBandClube->setAccessibleName(QStringLiteral("Bandeira %1").arg(n));
    }
}

void TFrmRelatorios::buildButtons() {
    for (int i = 0; i < pageButtonCount; ++i) {
        auto* button = new QPushButton(QStringLiteral(">>"), client());
        button->setObjectName(QLatin1String(pageButtons[i].name));
        button->setGeometry(736, 16, 22, 20);
        button->setToolTip(QStringLiteral("Próxima Página"));
        button->setAccessibleName(button->toolTip());
        button->setVisible(false);
        button->setEnabled(false);
        connect(button, &QPushButton::clicked, this, pageButtons[i].handler);
        buttons_[i] = button;
    }
}

void TFrmRelatorios::buildMenu() {
    Voltar1 = menuBar()->addMenu(QStringLiteral("&Arquivo"));
    Voltar1->setObjectName(QStringLiteral("Voltar1"));
    Imprimir1 = Voltar1->addAction(QStringLiteral("&Imprimir"));
    Imprimir1->setObjectName(QStringLiteral("Imprimir1"));
    Imprimir1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(Imprimir1, &QAction::triggered, this, &TFrmRelatorios::Imprimir1Click);
    Voltar2 = Voltar1->addAction(QStringLiteral("&Voltar"));
    Voltar2->setObjectName(QStringLiteral("Voltar2"));
    Voltar2->setShortcut(QKeySequence(Qt::Key_Escape));
    // Page Down turns the page, like the ">>" button of the gallery on show.
    auto* nextPage = new QShortcut(QKeySequence(Qt::Key_PageDown), this);
    connect(nextPage, &QShortcut::activated, this, [this] {
        for (QPushButton* button : buttons_)
            if (button->isVisible() && button->isEnabled())
                button->click();
    });
    connect(Voltar2, &QAction::triggered, this, &TFrmRelatorios::Voltar2Click);
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
    for (QLabel* label : {s.LblSiglaPaisClube, s.LblNomeClube, s.LblNomeCompleto, s.LblCidade})
        setLabelText(label, QString());
}

void TFrmRelatorios::Imprimir1Click() {
    guard(services_.dialogs, [this] { services_.printing.printWindow(this, services_.dialogs); });
}

void TFrmRelatorios::Voltar2Click() {
    forms().close(this);
}

} // namespace velmora
