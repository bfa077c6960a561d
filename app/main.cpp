#include "app/Startup.h"
#include "platform/Dialogs.h"
#include "platform/Fonts.h"
#include "store/Database.h"
#include "velmora/Version.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>
#include <cstdio>
#include <optional>

namespace {

constexpr int badArguments = 2;

const QCommandLineOption& helpOption() {
    static const QCommandLineOption option(QStringList{"h", "help"});
    return option;
}

const QCommandLineOption& versionOption() {
    static const QCommandLineOption option(QStringList{"v", "version"});
    return option;
}

// Qt's own options, which QApplication takes off the line: those followed by a value, then
// the switches (QGuiApplication, QApplication and the X11 platform).
const char* const qtValueOptions[] = {"platform",      "platformpluginpath",
                                      "platformtheme", "plugin",
                                      "qmljsdebugger", "qwindowgeometry",
                                      "qwindowicon",   "qwindowtitle",
                                      "session",       "style",
                                      "stylesheet",    "display",
                                      "geometry",      "title",
                                      "icon",          "name",
                                      "visual",        "ncols",
                                      "cmap",          "im"};
const char* const qtSwitches[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

void setUp(QCommandLineParser& parser) {
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(helpOption());
    parser.addOption(versionOption());
    for (const char* name : qtValueOptions) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("valor"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : qtSwitches) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

QString helpText() {
    return QStringLiteral("Uso: velmora [--help | --version]\n"
                          "\n"
                          "Velmora: catálogo de distintivos de clubes de futebol e seleções.\n"
                          "Os dados ficam na pasta fixa %1; velmora-datadir create a prepara.\n"
                          "\n"
                          "  -h, --help     mostra esta ajuda e sai.\n"
                          "  -v, --version  mostra a versão e sai.\n"
                          "\n"
                          "Aceita também as opções do Qt, como -platform e -style.\n")
        .arg(velmora::Database::defaultDir());
}

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

QStringList argumentsOf(int argc, char* argv[]) {
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return args;
}

void printError(const QString& error) {
    print(stderr, QStringLiteral("velmora: %1\nUse velmora --help para ver o uso.\n").arg(error));
}

// The command line is read before the application object exists, so --help, --version
// and a mistake are answered without a display and never open a window. Returns the
// exit code when the program is to stop here.
std::optional<int> answerCommandLine(const QStringList& args) {
    QCommandLineParser parser;
    setUp(parser);
    const bool parsed = parser.parse(args);
    if (parser.isSet(helpOption())) {
        print(stdout, helpText());
        return 0;
    }
    if (parser.isSet(versionOption())) {
        print(stdout, QStringLiteral("velmora %1\n").arg(QLatin1String(velmora::version)));
        return 0;
    }
    if (!parsed && !parser.unknownOptionNames().isEmpty()) {
        const QString name = parser.unknownOptionNames().constFirst();
        printError(QStringLiteral("Opção desconhecida: %1%2")
                       .arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name));
        return badArguments;
    }
    if (!parsed) { // an option of Qt's last on the line, without its value
        printError(QStringLiteral("Falta o valor de %1").arg(args.constLast()));
        return badArguments;
    }
    if (!parser.positionalArguments().isEmpty()) {
        printError(QStringLiteral("Argumento inesperado: %1")
                       .arg(parser.positionalArguments().constFirst()));
        return badArguments;
    }
    return std::nullopt;
}

// Every size the icon is drawn at, so small title bars get the small drawing. Read as
// PNG and nothing else: left to guess (even with the type named), Qt loads every image
// plugin there is to ask it, which was most of the time before the splash.
QIcon programIcon() {
    QIcon icon;
    const QDir sizes(QStringLiteral(":/velmora-icon"));
    for (const QString& file : sizes.entryList(QDir::Files)) {
        QImageReader reader(sizes.filePath(file), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

} // namespace

int main(int argc, char* argv[]) {
    if (const auto code = answerCommandLine(argumentsOf(argc, argv)))
        return *code;
    QApplication qapp(argc, argv);
    QGuiApplication::setApplicationVersion(QLatin1String(velmora::version));
    // The desktop file and the icon carry this name, so the desktop matches windows to them.
    QGuiApplication::setDesktopFileName(QLatin1String(velmora::appId));
    QApplication::setWindowIcon(programIcon());
    velmora::installFontSubstitutes();
    // Qt's own button texts (Yes/No, Cancel) in Portuguese like the rest of the program.
    velmora::installQtTranslations(qapp);

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
