#pragma once

#include <QWidget>

namespace velmora {

// Frameless picture shown while the windows are created.
class TFrmSplash final : public QWidget {
    Q_OBJECT
public:
    TFrmSplash();

    // Shows the splash and returns once its picture is on the screen. Under a window
    // manager the window is mapped only after the manager has handled it; painting
    // before that is lost, and the caller then blocks for seconds.
    void showPainted();
};

} // namespace velmora
