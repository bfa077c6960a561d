#pragma once

#include "platform/Form.h"

namespace velmora {

class VelmoraApp;

class TFrmClubes final : public Form {
    Q_OBJECT
public:
    explicit TFrmClubes(VelmoraApp& app);

    // Shows the current row of TblClubes in the parts not bound to it (state group,
    // pictures, kind buttons, extinct box, code).
    void recordDisplay();

private:
    VelmoraApp& app_;
};

} // namespace velmora
