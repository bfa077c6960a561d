#pragma once

#include "platform/Form.h"

namespace velmora {

class VelmoraApp;

class TFrmClubes final : public Form {
    Q_OBJECT
public:
    explicit TFrmClubes(VelmoraApp& app);

private:
    VelmoraApp& app_;
};

} // namespace velmora
