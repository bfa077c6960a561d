#pragma once

#include "platform/Form.h"

namespace velmora {

class VelmoraApp;

class TFrmUF final : public Form {
    Q_OBJECT
public:
    explicit TFrmUF(VelmoraApp& app);

private:
    VelmoraApp& app_;
};

} // namespace velmora
