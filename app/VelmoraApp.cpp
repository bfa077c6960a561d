#include "app/VelmoraApp.h"

#include "app/Informacoes.h"
#include "app/Inicial.h"
#include "app/StatsGalleries.h"
#include "detail/ClubeSelecionado.h"
#include "detail/Detail.h"
#include "detail/SelClube.h"
#include "gallery/Anos.h"
#include "gallery/FederSel.h"
#include "gallery/Galleries.h"
#include "gallery/MenuGalleries.h"
#include "gallery/Relatorios.h"
#include "registry/CadCidade.h"
#include "registry/Cidade.h"
#include "registry/Clubes.h"
#include "registry/Federacao.h"
#include "registry/Paises.h"
#include "registry/Registry.h"
#include "registry/UF.h"
#include "stats/Estatisticas.h"
#include "store/DataDirLock.h"
#include "store/Module.h"

namespace velmora {

VelmoraApp::VelmoraApp(const Environment& env)
    : dialogs(*env.dialogs), printing(*env.printing), clock(*env.clock), random(*env.random),
      sleep(*env.sleep), forms(*env.dialogs), dataDir_(env.dataDir) {
    FrmInicial = std::make_unique<TFrmInicial>(*this);
    forms.setMainWindow(FrmInicial.get());
    FrmDm = std::make_unique<TFrmDm>(dataDir_, UpgradeOptions{env.upgradeProgress, {}});
    services.emplace(
        Services{dialogs, printing, clock, random, sleep, pictures, forms, *FrmDm, badgeDir()});
    FrmClubes = std::make_unique<TFrmClubes>(*services);
    FrmCadastroCidade = std::make_unique<TFrmCadastroCidade>(*services);
    FrmPaises = std::make_unique<TFrmPaises>(*services);
    FrmUF = std::make_unique<TFrmUF>(*services);
    FrmCidade = std::make_unique<TFrmCidade>(*services);
    FrmInformacoes = std::make_unique<TFrmInformacoes>(*this);
    FrmAno = std::make_unique<TFrmAno>(*services);
    FrmFederacao = std::make_unique<TFrmFederacao>(*services);
    FrmSelFeder = std::make_unique<TFrmSelFeder>(*services);
    FrmRelatorios = std::make_unique<TFrmRelatorios>(*services);
    FrmSelClube = std::make_unique<TFrmSelClube>(*services);
    FrmClubeSelecionado = std::make_unique<TFrmClubeSelecionado>(*services);
    FrmEstatisticas = std::make_unique<TFrmEstatisticas>(*services);
    connectWindows();
}

void VelmoraApp::connectWindows() {
    connectRegistry(
        {*FrmClubes, *FrmCadastroCidade, *FrmPaises, *FrmUF, *FrmCidade, *FrmFederacao});
    connectGalleries(*services, {*FrmAno, *FrmSelFeder, *FrmRelatorios});
    connectDetail(*FrmSelClube, *FrmClubeSelecionado);
    connectStatistics(*services, *FrmEstatisticas, *FrmRelatorios);
}

VelmoraApp::~VelmoraApp() = default;

void VelmoraApp::runMenuGallery(MenuGallery gallery) {
    velmora::runMenuGallery(*services, *FrmRelatorios, gallery);
}

QString VelmoraApp::badgeDir() const {
    return dataDir_ + QStringLiteral("/Distintivos/");
}

} // namespace velmora
