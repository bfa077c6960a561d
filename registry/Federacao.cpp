#include "registry/Federacao.h"

#include "app/VelmoraApp.h"

namespace velmora {

TFrmFederacao::TFrmFederacao(VelmoraApp& app)
    : Form(app.forms, QStringLiteral("FrmFederacao"), QStringLiteral("Selecionar Federação"), QSize(345, 107), QPoint(372, 332)),
      app_(app) {}

} // namespace velmora
