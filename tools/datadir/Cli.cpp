#include "tools/datadir/Cli.h"

#include "store/Database.h"
#include "velmora/Version.h"

#include "tools/datadir/DataDir.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>
#include <algorithm>

namespace velmora::datadir {

namespace {

constexpr const char* program = "velmora-datadir";

// What a command gets once the line is parsed: its own arguments (after its name) and
// the parser, for its options.
struct Invocation {
    const QCommandLineParser& parser;
    QStringList args;

    // args[index] as an absolute folder; the program's fixed folder when it is absent.
    QString folder(qsizetype index = 0) const {
        const QString dir = args.value(index, Database::defaultDir());
        return QDir::cleanPath(QFileInfo(dir).absoluteFilePath());
    }
    bool isSet(const char* option) const { return parser.isSet(QLatin1String(option)); }
    QString value(const char* option) const { return parser.value(QLatin1String(option)); }
};

// One command: a table row here and its run function are all a new command needs.
struct Subcommand {
    QString name;
    QStringList arguments; // placeholders; "[X]" is optional, "X" required
    QList<QCommandLineOption> options;
    QString description; // lines for --help, already wrapped
    int (*run)(const Invocation&, QTextStream& out);
};

int runCreate(const Invocation& call, QTextStream& out);
int runCheck(const Invocation& call, QTextStream& out);

const QList<Subcommand>& subcommands() {
    static const QList<Subcommand> table = {
        {QStringLiteral("create"),
         {QStringLiteral("[PASTA]")},
         {QCommandLineOption(QStringLiteral("sample"),
                             QStringLiteral("cadastra também um catálogo de exemplo de 40 clubes "
                                            "e seleções."))},
         QStringLiteral("cria a pasta, o arquivo de dados Velmora.sqlite com as seis tabelas e as "
                        "pastas\n"
                        "Bandeiras, Estados, Federacoes e Distintivos; copia as bandeiras e os "
                        "logotipos\n"
                        "e preenche países, estados, anos (1850 a 2050), federações e cidades.\n"
                        "Nunca sobrescreve nada: recusa uma pasta que já tem arquivo de dados."),
         runCreate},
        {QStringLiteral("check"),
         {QStringLiteral("[PASTA]")},
         {},
         QStringLiteral("abre o arquivo de dados como o programa abre e tenta carregar cada "
                        "figura\n"
                        "indicada nas tabelas; lista as que não carregam."),
         runCheck},
    };
    return table;
}

const Subcommand* find(const QString& name) {
    for (const Subcommand& cmd : subcommands())
        if (cmd.name == name)
            return &cmd;
    return nullptr;
}

const QCommandLineOption& helpOption() {
    static const QCommandLineOption option(
        QStringList{QStringLiteral("h"), QStringLiteral("help")});
    return option;
}

const QCommandLineOption& versionOption() {
    static const QCommandLineOption option(
        QStringList{QStringLiteral("v"), QStringLiteral("version")});
    return option;
}

[[noreturn]] void usage(const QString& message) {
    throw DataDirError(Exit::Usage,
                       message + QStringLiteral("\nUse velmora-datadir --help para ver o uso."));
}

QString optionSyntax(const QCommandLineOption& option) {
    QString text = QStringLiteral("--") + option.names().constLast();
    if (!option.valueName().isEmpty())
        text += QLatin1Char(' ') + option.valueName();
    return text;
}

// "create, check ou export"
QString commandList() {
    QStringList names;
    for (const Subcommand& cmd : subcommands())
        names << cmd.name;
    const QString last = names.takeLast();
    return names.isEmpty() ? last
                           : names.join(QStringLiteral(", ")) + QStringLiteral(" ou ") + last;
}

void setUp(QCommandLineParser& parser, const Subcommand* cmd) {
    // -help and -sample read as words, not as bundles of one-letter options.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(helpOption());
    parser.addOption(versionOption());
    if (cmd)
        parser.addOptions(cmd->options);
}

// The option as the user typed it ("-x", "--force"), for the message.
QString typed(const QString& name, const QStringList& args) {
    for (const QString& arg : args) {
        if (arg == QLatin1String("--"))
            break;
        const QString written = arg.section(QLatin1Char('='), 0, 0);
        if (written.startsWith(QLatin1Char('-')) &&
            QStringView(written).sliced(written.startsWith(QLatin1String("--")) ? 2 : 1) == name)
            return written;
    }
    return QStringLiteral("--") + name;
}

// Qt's parser reports a bad option value in English; the user reads Portuguese.
QString parseError(const QCommandLineParser& parser, const Subcommand& cmd,
                   const QStringList& args) {
    if (!parser.unknownOptionNames().isEmpty())
        return QStringLiteral("Opção desconhecida para %1: %2")
            .arg(cmd.name, typed(parser.unknownOptionNames().constFirst(), args));
    static const QRegularExpression quoted(QStringLiteral("'(.*)'"));
    const QString error = parser.errorText();
    const QString option = quoted.match(error).captured(1);
    if (error.startsWith(QLatin1String("Missing value")))
        return QStringLiteral("Falta o valor de %1.").arg(option);
    if (error.startsWith(QLatin1String("Unexpected value")))
        return QStringLiteral("A opção %1 não aceita valor.").arg(option);
    return QStringLiteral("Argumentos inválidos para %1: %2").arg(cmd.name, error);
}

void checkArity(const Subcommand& cmd, const QStringList& args) {
    const auto required = std::count_if(cmd.arguments.begin(), cmd.arguments.end(),
                                        [](const QString& a) { return !a.startsWith('['); });
    if (args.size() < required)
        usage(QStringLiteral("Falta %1 para %2.").arg(cmd.arguments[args.size()], cmd.name));
    if (args.size() <= cmd.arguments.size())
        return;
    const QString accepted =
        cmd.arguments == QStringList{QStringLiteral("[PASTA]")}
            ? QStringLiteral("só uma pasta é aceita")
            : QStringLiteral("%1 aceita %2").arg(cmd.name, cmd.arguments.join(QLatin1Char(' ')));
    usage(QStringLiteral("Argumento a mais: %1 (%2)").arg(args[cmd.arguments.size()], accepted));
}

// Runs the command named on the line, or prints the help or the version.
int dispatch(const QStringList& args, QTextStream& out) {
    const QStringList line = QStringList{QLatin1String(program)} + args;
    // A first pass finds --help, --version and the command; options are judged once the
    // command, and with it its own options, is known.
    QCommandLineParser first;
    setUp(first, nullptr);
    first.parse(line);
    if (first.isSet(helpOption())) {
        out << helpText();
        return int(Exit::Ok);
    }
    if (first.isSet(versionOption())) {
        out << program << ' ' << version << '\n';
        return int(Exit::Ok);
    }
    if (first.positionalArguments().isEmpty() && !first.unknownOptionNames().isEmpty())
        usage(QStringLiteral("Opção desconhecida: %1")
                  .arg(typed(first.unknownOptionNames().constFirst(), args)));
    if (first.positionalArguments().isEmpty())
        usage(QStringLiteral("Falta o comando (%1).").arg(commandList()));
    const Subcommand* cmd = find(first.positionalArguments().constFirst());
    if (!cmd)
        usage(QStringLiteral("Comando desconhecido: %1")
                  .arg(first.positionalArguments().constFirst()));

    QCommandLineParser parser;
    setUp(parser, cmd);
    if (!parser.parse(line))
        usage(parseError(parser, *cmd, args));
    const Invocation call{parser, parser.positionalArguments().mid(1)};
    checkArity(*cmd, call.args);
    return cmd->run(call, out);
}

QString describe(const Counts& c) {
    return QStringLiteral("%1 países, %2 estados, %3 anos, %4 federações, %5 cidades, %6 clubes "
                          "e seleções")
        .arg(c.countries)
        .arg(c.states)
        .arg(c.years)
        .arg(c.federations)
        .arg(c.cities)
        .arg(c.clubs);
}

// The problems as an aligned table: table, key, field, path, reason.
void printProblems(const QList<Problem>& problems, QTextStream& out) {
    QList<QStringList> lines = {{"Tabela", "Chave", "Campo", "Caminho", "Motivo"}};
    for (const Problem& p : problems)
        lines.append(
            {p.table, p.key, p.field, p.path.isEmpty() ? QStringLiteral("-") : p.path, p.reason});
    QList<qsizetype> widths(5, 0);
    for (const QStringList& line : lines)
        for (int i = 0; i < 5; ++i)
            widths[i] = std::max(widths[i], line[i].size());
    for (const QStringList& line : lines) {
        QString text;
        for (int i = 0; i < 4; ++i)
            text += line[i].leftJustified(widths[i]) + QStringLiteral("  ");
        out << text << line[4] << '\n';
    }
}

int runCreate(const Invocation& call, QTextStream& out) {
    const QString dir = call.folder();
    const Counts counts = create({dir, call.isSet("sample")});
    out << QStringLiteral("Pasta de dados criada em %1: %2.").arg(dir, describe(counts)) << '\n';
    return int(Exit::Ok);
}

int runCheck(const Invocation& call, QTextStream& out) {
    const QString dir = call.folder();
    const CheckReport report = check(dir);
    if (report.problems.isEmpty()) {
        out << QStringLiteral("OK: %1 abre como o programa a abre; %2; %3 figuras verificadas, "
                              "todas carregam.")
                   .arg(dir, describe(report.counts))
                   .arg(report.pictures)
            << '\n';
        return int(Exit::Ok);
    }
    out << QStringLiteral("Problemas em %1: %2 de %3 figuras não carregam.")
               .arg(dir)
               .arg(report.problems.size())
               .arg(report.pictures)
        << '\n';
    printProblems(report.problems, out);
    return int(Exit::Problems);
}

// "  name      first line\n            next line\n"
QString helpEntry(const QString& name, const QString& text, qsizetype width) {
    const QString indent(width + 4, QLatin1Char(' '));
    return QStringLiteral("  ") + name.leftJustified(width) + QStringLiteral("  ") +
           text.split(QLatin1Char('\n')).join(QLatin1Char('\n') + indent) + QLatin1Char('\n');
}

QString synopsis(const Subcommand& cmd) {
    QStringList words{QLatin1String(program), cmd.name};
    words += cmd.arguments;
    for (const QCommandLineOption& option : cmd.options)
        words << QLatin1Char('[') + optionSyntax(option) + QLatin1Char(']');
    return words.join(QLatin1Char(' '));
}

} // namespace

QString helpText() {
    qsizetype width = 0;
    for (const Subcommand& cmd : subcommands()) {
        width = std::max(width, cmd.name.size());
        for (const QCommandLineOption& option : cmd.options)
            width = std::max(width, optionSyntax(option).size());
    }
    QString text;
    QString usageLines;
    for (const Subcommand& cmd : subcommands()) {
        usageLines += (usageLines.isEmpty() ? QStringLiteral("Uso: ") : QStringLiteral("     ")) +
                      synopsis(cmd) + QLatin1Char('\n');
        text += helpEntry(cmd.name, cmd.description, width);
        for (const QCommandLineOption& option : cmd.options)
            text +=
                helpEntry(optionSyntax(option),
                          QStringLiteral("com %1: %2").arg(cmd.name, option.description()), width);
    }
    return usageLines +
           QStringLiteral("     velmora-datadir --help | --version\n"
                          "\n"
                          "Cria, verifica e mantém a pasta de dados do Velmora.\n"
                          "Sem PASTA, usa a pasta fixa do programa (%1).\n"
                          "\n")
               .arg(Database::defaultDir()) +
           text +
           QStringLiteral(
               "\n"
               "Códigos de saída: 0 sucesso; 1 a verificação encontrou problemas; 2 argumentos "
               "inválidos;\n"
               "3 a pasta já tem arquivo de dados (ou um arquivo seria sobrescrito); 4 pasta "
               "inválida\n"
               "(não é pasta, sem permissão de escrita, caminho longo demais); 5 outra falha ao "
               "criar\n"
               "(o que foi criado é removido).\n");
}

int run(const QStringList& args, QTextStream& out, QTextStream& err) {
    try {
        return dispatch(args, out);
    } catch (const DataDirError& e) {
        err << QStringLiteral("velmora-datadir: %1").arg(e.text()) << '\n';
        return int(e.code());
    } catch (const std::exception& e) {
        err << QStringLiteral("velmora-datadir: %1").arg(QString::fromStdString(e.what())) << '\n';
        return int(Exit::Failed);
    }
}

} // namespace velmora::datadir
