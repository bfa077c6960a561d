#pragma once

#include "platform/Form.h"

namespace velmora {

class VelmoraApp;

class TFrmCadastroCidade final : public Form {
    Q_OBJECT
public:
    explicit TFrmCadastroCidade(VelmoraApp& app);

private:
    VelmoraApp& app_;
};

} // namespace velmora
