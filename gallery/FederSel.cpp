#include "gallery/FederSel.h"

#include "app/VelmoraApp.h"

namespace velmora {

TFrmSelFeder::TFrmSelFeder(VelmoraApp& app)
    : Form(app.forms, QStringLiteral("FrmSelFeder"), QStringLiteral("Velmora"), QSize(300, 145), std::nullopt),
      app_(app) {}

} // namespace velmora
