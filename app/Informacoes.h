#pragma once

#include "platform/Form.h"

namespace velmora {

class VelmoraApp;

class TFrmInformacoes final : public Form {
    Q_OBJECT
public:
    explicit TFrmInformacoes(VelmoraApp& app);

private:
    VelmoraApp& app_;
};

} // namespace velmora
