#include "app/Splash.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QPixmap>
#include <QThread>
#include <QWindow>

namespace velmora {

namespace {

// Long enough for any window manager to map a window; a display that never shows
// it (none at all) must not hold start-up much longer.
constexpr int exposeWaitMs = 3000;

} // namespace

TFrmSplash::TFrmSplash() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("FrmSplash"));
    setFixedSize(494, 296);
    move(285, 193);
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("ImgSplash"));
    picture->setGeometry(0, 0, 494, 296);
    picture->setScaledContents(true);
    picture->setPixmap(QPixmap(QStringLiteral(":/artwork/splash.jpg")));
}

void TFrmSplash::showPainted() {
    show();
    const QDeadlineTimer deadline(exposeWaitMs);
    while (!(windowHandle() != nullptr && windowHandle()->isExposed()) && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    raise();
    repaint();
    // Hands the painted picture to the display before the caller blocks.
    QCoreApplication::processEvents();
}

} // namespace velmora
