#include "detail/SelClube.h"

#include "app/VelmoraApp.h"

namespace velmora {

TFrmSelClube::TFrmSelClube(VelmoraApp& app)
    : Form(app.forms, QStringLiteral("FrmSelClube"), QStringLiteral("Selecionar Clube"), QSize(433, 185), std::nullopt),
      app_(app) {}

void TFrmSelClube::uncheckKinds() {}

} // namespace velmora
