#include "app/VelmoraApp.h"

#include "app/Informacoes.h"
#include "app/Inicial.h"
#include "detail/ClubeSelecionado.h"
#include "detail/SelClube.h"
#include "gallery/Anos.h"
#include "gallery/FederSel.h"
#include "gallery/Relatorios.h"
#include "registry/CadCidade.h"
#include "registry/Cidade.h"
#include "registry/Clubes.h"
#include "registry/Federacao.h"
#include "registry/Paises.h"
#include "registry/UF.h"
#include "store/Module.h"

namespace velmora {

VelmoraApp::VelmoraApp(const Environment& env)
    : dialogs(*env.dialogs), printing(*env.printing), clock(*env.clock), random(*env.random),
      sleep(*env.sleep), forms(*env.dialogs), dataDir_(env.dataDir) {
    FrmInicial = std::make_unique<TFrmInicial>(*this);
    FrmDm = std::make_unique<TFrmDm>(dataDir_);
    FrmClubes = std::make_unique<TFrmClubes>(*this);
    FrmCadastroCidade = std::make_unique<TFrmCadastroCidade>(*this);
    FrmPaises = std::make_unique<TFrmPaises>(*this);
    FrmUF = std::make_unique<TFrmUF>(*this);
    FrmCidade = std::make_unique<TFrmCidade>(*this);
    FrmInformacoes = std::make_unique<TFrmInformacoes>(*this);
    FrmAno = std::make_unique<TFrmAno>(*this);
    FrmFederacao = std::make_unique<TFrmFederacao>(*this);
    FrmSelFeder = std::make_unique<TFrmSelFeder>(*this);
    FrmRelatorios = std::make_unique<TFrmRelatorios>(*this);
    FrmSelClube = std::make_unique<TFrmSelClube>(*this);
    FrmClubeSelecionado = std::make_unique<TFrmClubeSelecionado>(*this);
}

VelmoraApp::~VelmoraApp() = default;

QString VelmoraApp::badgeDir() const {
    return dataDir_ + QStringLiteral("/Distintivos/");
}

} // namespace velmora
