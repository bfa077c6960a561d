#include "detail/ClubeSelecionado.h"

#include "app/VelmoraApp.h"

namespace velmora {

TFrmClubeSelecionado::TFrmClubeSelecionado(VelmoraApp& app)
    : Form(app.forms, QStringLiteral("FrmClubeSelecionado"), QStringLiteral(""), QSize(792, 546), std::nullopt),
      app_(app) {}

} // namespace velmora
