#pragma once

#include "platform/Form.h"

namespace velmora {

class VelmoraApp;

class TFrmRelatorios final : public Form {
    Q_OBJECT
public:
    explicit TFrmRelatorios(VelmoraApp& app);

private:
    VelmoraApp& app_;
};

} // namespace velmora
