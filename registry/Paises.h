#pragma once

#include "platform/Form.h"

namespace velmora {

class VelmoraApp;

class TFrmPaises final : public Form {
    Q_OBJECT
public:
    explicit TFrmPaises(VelmoraApp& app);

private:
    VelmoraApp& app_;
};

} // namespace velmora
