#include "app/Startup.h"
#include "platform/Fonts.h"
#include "store/Database.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char* argv[]) {
    QApplication qapp(argc, argv);
    velmora::installFontSubstitutes();
    // Qt's own button texts (Yes/No, Cancel) in Portuguese like the rest of the program.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        qapp.installTranslator(&qtTexts);

    velmora::QtDialogs dialogs;
    velmora::QtPrinting printing;
    velmora::Clock clock;
    velmora::Random random;
    velmora::Sleep sleep;

    velmora::Environment env;
    env.dataDir = velmora::Database::defaultDir();
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
