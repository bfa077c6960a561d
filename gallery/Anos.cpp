#include "gallery/Anos.h"

#include "app/VelmoraApp.h"

namespace velmora {

TFrmAno::TFrmAno(VelmoraApp& app)
    : Form(app.forms, QStringLiteral("FrmAno"), QStringLiteral("Velmora"), QSize(272, 56), std::nullopt),
      app_(app) {}

} // namespace velmora
