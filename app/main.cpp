#include "app/Startup.h"
#include "platform/Fonts.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication qapp(argc, argv);
    velmora::installFontSubstitutes();

    velmora::QtDialogs dialogs;
    velmora::QtPrinting printing;
    velmora::Clock clock;
    velmora::Random random;
    velmora::Sleep sleep;

    velmora::Environment env;
    env.dataDir = velmora::VelmoraApp::defaultDataDir();
    env.dialogs = &dialogs;
    env.printing = &printing;
    env.clock = &clock;
    env.random = &random;
    env.sleep = &sleep;

    auto app = velmora::Startup::start(env);
    if (!app)
        return 1;
    return qapp.exec();
}
