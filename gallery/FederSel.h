#pragma once

#include "platform/Form.h"

namespace velmora {

class VelmoraApp;

class TFrmSelFeder final : public Form {
    Q_OBJECT
public:
    explicit TFrmSelFeder(VelmoraApp& app);

private:
    VelmoraApp& app_;
};

} // namespace velmora
