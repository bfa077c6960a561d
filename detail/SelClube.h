#pragma once

#include "platform/Form.h"
#include "store/Query.h"

#include <memory>

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace velmora {

class PagedNames;
struct Services;

// Picks one club or national team by kind and short name, with a badge preview;
// OK opens its card.
class TFrmSelClube final : public Form {
    Q_OBJECT
public:
    explicit TFrmSelClube(Services& services);

    // Unchecks "Seleção" then "Clube"; unchecking runs no handler.
    void uncheckKinds();

    void FormActivate() override;
    // Run when the button becomes checked (by the user or by the program).
    void rbClubeClick();
    void rbSelecaoClick();
    void ComboClubesChange();
    void BtnOkClick();

    QLabel* Image1;
    QRadioButton* rbClube;
    QRadioButton* rbSelecao;
    QLabel* ImgEscudoClube;
    QComboBox* ComboClubes;
    QPushButton* BtnOk;

    // The card of the chosen club is up: the chooser's work is done.
    void cardOpened();

signals:
    // OK: the card of the club on the current row of row (card columns) is wanted.
    void clubChosen(const velmora::Query& row, const QString& name);

private:
    void fillNames(QRadioButton* button, int identificador);
    void openCard();

    Services& services_;
    // The list's names are read page by page through a query object of its own.
    Query namesQuery_;
    PagedNames* names_;
};

} // namespace velmora
