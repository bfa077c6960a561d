#include "app/Splash.h"

#include <QLabel>
#include <QPixmap>

namespace velmora {

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

} // namespace velmora
