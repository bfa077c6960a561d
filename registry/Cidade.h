#pragma once

#include "platform/Form.h"

namespace velmora {

class VelmoraApp;

class TFrmCidade final : public Form {
    Q_OBJECT
public:
    explicit TFrmCidade(VelmoraApp& app);

private:
    VelmoraApp& app_;
};

} // namespace velmora
