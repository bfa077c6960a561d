#pragma once

#include "platform/Form.h"

namespace velmora {

class VelmoraApp;

class TFrmSelClube final : public Form {
    Q_OBJECT
public:
    explicit TFrmSelClube(VelmoraApp& app);

private:
    VelmoraApp& app_;
};

} // namespace velmora
