#include "app/Informacoes.h"

#include "app/VelmoraApp.h"

namespace velmora {

TFrmInformacoes::TFrmInformacoes(VelmoraApp& app)
    : Form(app.forms, QStringLiteral("FrmInformacoes"), QStringLiteral("Informações"), QSize(792, 546), std::nullopt),
      app_(app) {}

} // namespace velmora
