#pragma once

#include "platform/Form.h"

class QAction;
class QLabel;
class QMenu;
class QMenuBar;

namespace velmora {

class Query;
class VelmoraApp;
enum class MenuGallery;

// The home window: five counters of the catalogue, a featured club drawn at every
// activation, and the menu every other function starts from.
class TFrmInicial final : public Form {
    Q_OBJECT
public:
    explicit TFrmInicial(VelmoraApp& app);

    // Recounts, applies the menu rules and draws a new featured club.
    void FormActivate() override;

    void Sair1Click();
    void CadastrodeClubes1Click();
    void ClubesBrasileiros1Click();
    void Clubesporestado1Click();
    void ClubesporPas1Click();
    void PorAnodeFundao1Click();
    void ClubesporFederao1Click();
    void PesquisarClubeSeleoporNome1Click();
    void ClubesExtintos1Click();
    void odososClubesCadastrados1Click();
    void odasasSeleesCadastradas1Click();
    void DadosdoClube1Click();
    void Estatisticas1Click();
    void Informaes1Click();

    QLabel* ImgFundo = nullptr;
    QLabel* LblQtdeClubes = nullptr;
    QLabel* LblQtdeBrasil = nullptr;
    QLabel* LblQtdeOutros = nullptr;
    QLabel* LblSelecoes = nullptr;
    QLabel* LblExtintos = nullptr;
    QLabel* ImgEscudo = nullptr;
    QLabel* LblNomeClube = nullptr;
    QLabel* LblNomeCompleto = nullptr;
    QLabel* ImgLogoFeder = nullptr;
    QLabel* LblFederacao = nullptr;
    QLabel* ImgBandPais = nullptr;
    QLabel* LblPais = nullptr;

    QMenuBar* MnInicial = nullptr;
    QMenu* Arquivo1 = nullptr;
    QAction* Sair1 = nullptr;
    QMenu* Utilitrios1 = nullptr;
    QAction* CadastrodeClubes1 = nullptr;
    QMenu* Relatrios1 = nullptr;
    QAction* ClubesBrasileiros1 = nullptr;
    QAction* Clubesporestado1 = nullptr;
    QAction* ClubesporPas1 = nullptr;
    QAction* PorAnodeFundao1 = nullptr;
    QAction* ClubesporFederao1 = nullptr;
    QAction* PesquisarClubeSeleoporNome1 = nullptr;
    QAction* ClubesExtintos1 = nullptr;
    QAction* odososClubesCadastrados1 = nullptr;
    QAction* odasasSeleesCadastradas1 = nullptr;
    QAction* DadosdoClube1 = nullptr;
    QAction* Estatisticas1 = nullptr;
    QMenu* Ajuda1 = nullptr;
    QAction* Informaes1 = nullptr;

private:
    void runMenu(MenuGallery gallery);
    // Asks before an unsaved row of the club editor is lost; false keeps it.
    bool mayDiscardPendingClub();
    void createControls();
    void createMenu();
    void activate();
    void countAndGate();
    void drawFeatured();
    bool openFeaturedByCode(qint64 code);
    bool redrawByCode();
    bool openFeaturedAmongFindable();
    void showFeatured(const Query& row);
    void clearFeatured();
    void setAutoSizedText(QLabel* label, const QString& text);

    VelmoraApp& app_;
};

} // namespace velmora
