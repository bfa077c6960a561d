#include "registry/Cidade.h"

#include "app/VelmoraApp.h"

namespace velmora {

TFrmCidade::TFrmCidade(VelmoraApp& app)
    : Form(app.forms, QStringLiteral("FrmCidade"), QStringLiteral("Selecionar a Cidade"), QSize(443, 65), std::nullopt),
      app_(app) {}

} // namespace velmora
