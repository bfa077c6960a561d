#include "app/Startup.h"
#include "platform/Fonts.h"
#include "store/Database.h"
#include "velmora/Version.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>
#include <QImageReader>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
#include <QTranslator>
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

void setUp(QCommandLineParser& parser) {
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(helpOption());
    parser.addOption(versionOption());
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

// --help and --version are answered before the application object exists, so they work
// without a display and never open a window. Returns the exit code when answered.
std::optional<int> answerInfoOptions(const QStringList& args) {
    QCommandLineParser parser;
    setUp(parser);
    parser.parse(args); // Qt's own options (-platform, ...) are still on the line here
    if (parser.isSet(helpOption())) {
        print(stdout, helpText());
        return 0;
    }
    if (parser.isSet(versionOption())) {
        print(stdout, QStringLiteral("velmora %1\n").arg(QLatin1String(velmora::version)));
        return 0;
    }
    return std::nullopt;
}

// Once QApplication has taken its own options, anything left is a mistake.
bool argumentsAccepted(const QStringList& args) {
    QCommandLineParser parser;
    setUp(parser);
    QString error;
    if (!parser.parse(args) && !parser.unknownOptionNames().isEmpty()) {
        const QString name = parser.unknownOptionNames().constFirst();
        error = QStringLiteral("Opção desconhecida: %1%2")
                    .arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name);
    } else if (!parser.positionalArguments().isEmpty())
        error = QStringLiteral("Argumento inesperado: %1")
                    .arg(parser.positionalArguments().constFirst());
    if (error.isEmpty())
        return true;
    print(stderr, QStringLiteral("velmora: %1\nUse velmora --help para ver o uso.\n").arg(error));
    return false;
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
    if (const auto code = answerInfoOptions(argumentsOf(argc, argv)))
        return *code;
    QApplication qapp(argc, argv);
    if (!argumentsAccepted(qapp.arguments()))
        return badArguments;
    QGuiApplication::setApplicationVersion(QLatin1String(velmora::version));
    // The desktop file and the icon carry this name, so the desktop matches windows to them.
    QGuiApplication::setDesktopFileName(QLatin1String(velmora::appId));
    QApplication::setWindowIcon(programIcon());
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
