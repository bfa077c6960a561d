#include "gallery/Relatorios.h"

#include "app/VelmoraApp.h"

namespace velmora {

TFrmRelatorios::TFrmRelatorios(VelmoraApp& app)
    : Form(app.forms, QStringLiteral("FrmRelatorios"), QStringLiteral("Relatórios"), QSize(792, 546), std::nullopt),
      app_(app) {}

} // namespace velmora
