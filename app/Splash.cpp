#include "app/Splash.h"

#include "platform/Form.h"
#include "platform/Pictures.h"

#include <QLabel>

namespace velmora {

TFrmSplash::TFrmSplash() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("FrmSplash"));
    setFixedSize(494, 296);
    move(keepOnScreen(QRect(QPoint(285, 193), size())));
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("ImgSplash"));
    picture->setGeometry(0, 0, 494, 296);
    picture->setScaledContents(true);
    try {
        Pictures pictures;
        showPicture(pictures, picture, QStringLiteral(":/artwork/splash.jpg"), true);
    } catch (const PictureError&) {
        // Only a broken build lacks it; the splash is then plain and start-up goes on.
    }
}

} // namespace velmora
