#pragma once

#include "platform/Form.h"

#include <QStringList>

class QAction;
class QLabel;
class QMenu;

namespace velmora {

struct Services;
class Query;

// The detail card of one club or national team.
class TFrmClubeSelecionado final : public Form {
    Q_OBJECT
public:
    explicit TFrmClubeSelecionado(Services& services);

    // The card's row by short name: the listing columns, then extinto, estadio
    // and capacidade. Bind :NOME.
    static const QStringList& statementLines();

    // Fills the card from the current row of row (columns as statementLines()),
    // in display order; a picture that cannot be loaded throws PictureError and
    // leaves what was set before it. The caption becomes caption.
    void fill(const Query& row, const QString& caption);
    // Fills the card and shows it; a failure goes to the general error report and
    // leaves the card closed.
    void open(const Query& row, const QString& caption);

    void Imprimir1Click();
    void Voltar1Click();

    QLabel* Image1 = nullptr;
    QLabel* ImgEscudoClube = nullptr;
    QLabel* LblNomeClube = nullptr;
    QLabel* LblNomeCompleto = nullptr;
    QLabel* LblFundacao = nullptr;
    QLabel* ImgLogoFeder = nullptr;
    QLabel* LblFederacao = nullptr;
    QLabel* LblEstadio = nullptr;
    QLabel* LblCapacidade = nullptr;
    QLabel* ImgBandeiraPais = nullptr;
    QLabel* LblPais = nullptr;
    QLabel* LblCidade = nullptr;
    QLabel* ImgBandeiraUF = nullptr;
    QLabel* LblEstado = nullptr;

    QMenu* Arquivo1 = nullptr;
    QAction* Imprimir1 = nullptr;
    QAction* Voltar1 = nullptr;

signals:
    // The card has been filled and shown.
    void opened();

private:
    void buildControls();
    void buildMenu();
    void setLabel(QLabel* label, const QString& text);
    // The full name takes the lines it needs in the band; the foundation line follows it.
    void showFullName(const QString& text);
    void showState(const QString& uf, const QString& flagPath);

    Services& services_;
};

} // namespace velmora
