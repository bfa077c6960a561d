#pragma once

#include "platform/Form.h"

namespace velmora {

class VelmoraApp;

class TFrmInicial final : public Form {
    Q_OBJECT
public:
    explicit TFrmInicial(VelmoraApp& app);

private:
    VelmoraApp& app_;
};

} // namespace velmora
