#pragma once

#include <QWidget>

namespace velmora {

// Frameless picture shown while the windows are created.
class TFrmSplash final : public QWidget {
    Q_OBJECT
public:
    TFrmSplash();
};

} // namespace velmora
