#pragma once

#include "platform/Form.h"

namespace velmora {

class VelmoraApp;

class TFrmSelClube final : public Form {
    Q_OBJECT
public:
    explicit TFrmSelClube(VelmoraApp& app);

    // Unchecks "Seleção" then "Clube"; unchecking runs no handler.
    void uncheckKinds();

private:
    VelmoraApp& app_;
};

} // namespace velmora
