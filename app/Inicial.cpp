#include "app/Inicial.h"

#include "app/VelmoraApp.h"

namespace velmora {

TFrmInicial::TFrmInicial(VelmoraApp& app)
    : Form(app.forms, QStringLiteral("FrmInicial"), QStringLiteral("Velmora"), QSize(792, 535), std::nullopt),
      app_(app) {}

} // namespace velmora
