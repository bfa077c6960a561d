#include "registry/Paises.h"

#include "app/VelmoraApp.h"

namespace velmora {

TFrmPaises::TFrmPaises(VelmoraApp& app)
    : Form(app.forms, QStringLiteral("FrmPaises"), QStringLiteral("Selecionar País"), QSize(422, 101), std::nullopt),
      app_(app) {}

} // namespace velmora
