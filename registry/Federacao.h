#pragma once

#include "platform/Form.h"

namespace velmora {

class VelmoraApp;

class TFrmFederacao final : public Form {
    Q_OBJECT
public:
    explicit TFrmFederacao(VelmoraApp& app);

private:
    VelmoraApp& app_;
};

} // namespace velmora
