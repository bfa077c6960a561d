#include "registry/UF.h"

#include "app/VelmoraApp.h"

namespace velmora {

TFrmUF::TFrmUF(VelmoraApp& app)
    : Form(app.forms, QStringLiteral("FrmUF"), QStringLiteral("Selecionar Estado"), QSize(441, 107), std::nullopt),
      app_(app) {}

} // namespace velmora
