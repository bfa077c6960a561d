#pragma once

#include <QElapsedTimer>
#include <QWidget>

class QLabel;

namespace velmora {

// Frameless picture shown while the windows are created.
class TFrmSplash final : public QWidget {
    Q_OBJECT
public:
    TFrmSplash();

    // Shows the splash and returns once its picture is on the screen. Under a window
    // manager the window is mapped only after the manager has handled it; painting
    // before that is lost, and the caller then blocks for seconds. `shown` starts when
    // the display has the window up, which is when the user sees it.
    void showPainted(QElapsedTimer& shown);
    // Shows what an upgrade of the catalogue is doing below the picture, and how far
    // it is, at most a few times a second.
    void showProgress(const QString& doing, int percent);

private:
    QLabel* progress_ = nullptr;
    QString shown_;
    QElapsedTimer lastPaint_;
};

} // namespace velmora
