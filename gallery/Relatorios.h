#pragma once

#include "platform/Form.h"

#include <array>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace velmora {

class Query;
struct Services;

// How a slot shows its row: the standard rule (country flag, country code) or the
// Brazil rule of "Clubes Brasileiros" (state flag, state code).
enum class SlotRule { Standard, Brazil };

// The eight next-page buttons, one per gallery (the country and name galleries share one).
enum class PageButton {
    ClubesBR,
    ClubesUF,
    PaisSel,
    TodosClubes,
    ProxSel,
    Extinto,
    AnoFund,
    FederSel
};
inline constexpr int pageButtonCount = 8;

// The gallery page: a title line, twelve slots and the next-page buttons. The page
// owns the listing it pages through, so statements that other windows run later on
// the shared query objects never change what ">>" continues.
class TFrmRelatorios final : public Form {
    Q_OBJECT
public:
    static constexpr int slotCount = 12;

    struct Slot {
        QLabel* ImgClube = nullptr;
        QLabel* ImgBandClube = nullptr;
        QLabel* LblSiglaPaisClube = nullptr;
        QLabel* LblNomeClube = nullptr;
        QLabel* LblNomeCompleto = nullptr;
        QLabel* LblCidade = nullptr;
    };

    explicit TFrmRelatorios(Services& services);
    ~TFrmRelatorios() override;

    // A fresh query on the store for a gallery command's listing; the page adopts it
    // in fillFirstPage(), so a command that stops early leaves the page's listing alone.
    std::unique_ptr<Query> newListing() const;

    // Page fill from the first row of a listing that the caller found not empty: the
    // page takes the listing over, hides the other galleries' buttons, fills the
    // twelve slots, shows itself and sets the gallery's button. A failing picture
    // ends the fill there (PictureError), the controls already set keep their contents.
    void fillFirstPage(std::unique_ptr<Query> listing, SlotRule rule, PageButton button);

    // The listing the page pages through (null before the first gallery).
    const Query* listing() const { return listing_.get(); }
    const Slot& slot(int n) const { return slots_[n - 1]; } // n from 1 to 12
    QPushButton* pageButton(PageButton b) const { return buttons_[int(b)]; }

    // Title line.
    QLabel* Image5 = nullptr;
    QLabel* LblTitulo = nullptr;
    QLabel* ImgBandTitulo = nullptr;
    QLabel* ImgFeder = nullptr;
    void setTitle(const QString& text);
    // What the page lists, for the name of a saved page: the title line without its count.
    QString subject() const;

    QMenu* Voltar1 = nullptr;
    QAction* Imprimir1 = nullptr;
    QAction* Voltar2 = nullptr;

    // Next-page handlers: the next twelve rows of the page's listing.
    void BtnClubesBRClick() { nextPage(PageButton::ClubesBR); }
    void BtnClubesUFClick() { nextPage(PageButton::ClubesUF); }
    void BtnPaisSelClick() { nextPage(PageButton::PaisSel); }
    void BtnTodosClubesClick() { nextPage(PageButton::TodosClubes); }
    void BtnProxSelClick() { nextPage(PageButton::ProxSel); }
    void BtnExtintoClick() { nextPage(PageButton::Extinto); }
    void BtnAnoFundClick() { nextPage(PageButton::AnoFund); }
    void BtnFederSelClick() { nextPage(PageButton::FederSel); }

    void Imprimir1Click();
    void Voltar2Click();

private:
    void buildTitleLine();
    void buildSlots();
    void buildButtons();
    void buildMenu();

    void nextPage(PageButton button);
    void pageFill(SlotRule rule, PageButton button);
    void fillSlot(int n, SlotRule rule);
    void clearSlot(int n);

    Services& services_;
    std::array<Slot, slotCount> slots_{};
    std::array<QPushButton*, pageButtonCount> buttons_{};
    std::unique_ptr<Query> listing_;
};

} // namespace velmora
