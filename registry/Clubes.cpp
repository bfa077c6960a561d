#include "registry/Clubes.h"

#include "app/VelmoraApp.h"

namespace velmora {

TFrmClubes::TFrmClubes(VelmoraApp& app)
    : Form(app.forms, QStringLiteral("FrmClubes"), QStringLiteral("Cadastro de Clubes"), QSize(792, 546), std::nullopt),
      app_(app) {}

void TFrmClubes::recordDisplay() {}

} // namespace velmora
