#pragma once

#include "platform/Form.h"

namespace velmora {

class VelmoraApp;

class TFrmAno final : public Form {
    Q_OBJECT
public:
    explicit TFrmAno(VelmoraApp& app);

private:
    VelmoraApp& app_;
};

} // namespace velmora
