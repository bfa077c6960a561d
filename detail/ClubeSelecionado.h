#pragma once

#include "platform/Form.h"

namespace velmora {

class VelmoraApp;

class TFrmClubeSelecionado final : public Form {
    Q_OBJECT
public:
    explicit TFrmClubeSelecionado(VelmoraApp& app);

private:
    VelmoraApp& app_;
};

} // namespace velmora
