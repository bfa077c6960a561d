#include "app/Splash.h"

#include "layout/App.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Pictures.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
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
    setFixedSize(layout::splash.client);
    move(keepOnScreen(QRect(QPoint(285, 193), size())));
    QLabel* picture = makeBackgroundBox(this, layout::splash);
    try {
        Pictures pictures;
        showPicture(pictures, picture, QString::fromLatin1(layout::splash.background), true);
    } catch (const PictureError&) {
        // Only a broken build lacks it; the splash is then plain and start-up goes on.
    }
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
