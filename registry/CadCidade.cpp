#include "registry/CadCidade.h"

#include "app/VelmoraApp.h"

namespace velmora {

TFrmCadastroCidade::TFrmCadastroCidade(VelmoraApp& app)
    : Form(app.forms, QStringLiteral("FrmCadastroCidade"), QStringLiteral("CADASTRO DE CIDADES"), QSize(519, 282), std::nullopt),
      app_(app) {}

} // namespace velmora
