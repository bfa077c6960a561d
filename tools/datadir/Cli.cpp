#include "tools/datadir/Cli.h"

#include "store/DataDirLock.h"
#include "store/Database.h"
#include "velmora/Version.h"

#include "tools/datadir/DataDir.h"
#include "tools/datadir/Exchange.h"
#include "tools/datadir/MoveCommands.h"
#include "tools/datadir/ParadoxImport.h"
#include "tools/datadir/Progress.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTextStream>
#include <algorithm>
#include <functional>
#include <optional>
#include <unistd.h>

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
    // The data folder the command changes, which it holds as the program does while it
    // works; null (or an empty folder) for a command that only reads.
    QString (*changes)(const Invocation&) = nullptr;
};

int runCreate(const Invocation& call, QTextStream& out);
int runCheck(const Invocation& call, QTextStream& out);
int runRelocate(const Invocation& call, QTextStream& out);
int runBackup(const Invocation& call, QTextStream& out);
int runRestore(const Invocation& call, QTextStream& out);
int runExport(const Invocation& call, QTextStream& out);
int runImport(const Invocation& call, QTextStream& out);
int runImportParadox(const Invocation& call, QTextStream& out);

QString folderBeforeFile(const Invocation& call);
QString firstFolder(const Invocation& call) {
    return call.folder();
}
QString fixedFolder(const Invocation& call) {
    return call.isSet("fix") ? call.folder() : QString();
}
QString restoredFolder(const Invocation& call) {
    return call.folder(1);
}

QCommandLineOption separatorOption(const QString& description) {
    return QCommandLineOption(QStringLiteral("sep"), description, QStringLiteral("SEP"));
}

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
         {
             QCommandLineOption(QStringLiteral("fix"),
                                QStringLiteral("move para a lixeira os arquivos de Distintivos que "
                                               "não são de\nnenhum clube.")),
             QCommandLineOption(
                 QStringLiteral("completo"),
                 QStringLiteral("decodifica cada figura por inteiro (mais lento); sem "
                                "ela, basta o\ncabeçalho e o tamanho.")),
         },
         QStringLiteral("roda a verificação de integridade do SQLite, abre o arquivo de dados "
                        "como o\n"
                        "programa abre e verifica cada figura indicada nas tabelas (tipo pelo "
                        "conteúdo,\n"
                        "cabeçalho, tamanho e limites); lista as que não carregam, conta os "
                        "caminhos que\n"
                        "apontam para fora da pasta e lista os arquivos de Distintivos que não "
                        "são de\n"
                        "nenhum clube."),
         runCheck,
         fixedFolder},
        {QStringLiteral("relocate"),
         {QStringLiteral("[PASTA]")},
         {QCommandLineOption(QStringLiteral("force"),
                             QStringLiteral("deixa como estão (e lista) os caminhos cujo arquivo "
                                            "falta na\npasta e corrige os demais."))},
         QStringLiteral("faz cada caminho de figura que aponta para outra pasta de dados (Linux "
                        "ou\n"
                        "Windows, como C:\\Velmora\\Bandeiras\\bra.jpg) apontar para o mesmo "
                        "arquivo\n"
                        "dentro de PASTA, numa só transação: se um arquivo falta ou um caminho "
                        "novo\n"
                        "passa de 100 caracteres, nada é alterado e o motivo é listado."),
         runRelocate,
         firstFolder},
        {QStringLiteral("backup"),
         {QStringLiteral("[PASTA]"), QStringLiteral("DESTINO")},
         {},
         QStringLiteral("grava uma cópia de segurança (o arquivo de dados, copiado de forma "
                        "consistente\n"
                        "mesmo com o programa aberto, e as quatro pastas de figuras) numa pasta "
                        "nova\n"
                        "DESTINO/Velmora-copia-AAAA-MM-DD-HHMMSS. Nunca sobrescreve nada."),
         runBackup},
        {QStringLiteral("restore"),
         {QStringLiteral("CÓPIA"), QStringLiteral("[PASTA]")},
         {},
         QStringLiteral("restaura a cópia de segurança CÓPIA como pasta de dados PASTA (que não "
                        "pode\n"
                        "ter arquivo de dados) e faz os caminhos de figuras apontarem para ela; "
                        "uma\n"
                        "figura que falta na cópia é listada (saída 1)."),
         runRestore,
         restoredFolder},
        {QStringLiteral("export"),
         {QStringLiteral("[PASTA]"), QStringLiteral("ARQUIVO.csv")},
         {separatorOption(QStringLiteral("separador de campos, \";\" (o padrão, o que planilhas "
                                         "em português\nesperam) ou \",\"."))},
         QStringLiteral("grava todos os clubes e seleções (os 17 campos de Clubes.db, em ordem "
                        "de código)\n"
                        "num arquivo CSV em UTF-8 com marca BOM e linha de cabeçalho, cada texto "
                        "entre\n"
                        "aspas; os distintivos vão para a pasta ARQUIVO-distintivos, ao lado do "
                        "CSV, e\n"
                        "seus caminhos ficam relativos ao CSV: leve o arquivo e a pasta juntos. "
                        "Não\n"
                        "sobrescreve nada."),
         runExport},
        {QStringLiteral("import"),
         {QStringLiteral("[PASTA]"), QStringLiteral("ARQUIVO.csv")},
         {separatorOption(QStringLiteral("força o separador; sem ela vale o do arquivo (\";\" "
                                         "ou \",\").")),
          QCommandLineOption(QStringLiteral("pictures"),
                             QStringLiteral("pasta de onde partem os caminhos relativos dos "
                                            "distintivos\n(padrão: a pasta do arquivo CSV)."),
                             QStringLiteral("ORIGEM")),
          QCommandLineOption(QStringLiteral("codificacao"),
                             QStringLiteral("utf-8 ou windows-1252: como ler um arquivo sem marca "
                                            "BOM (sem ela,\nWindows-1252 só quando o arquivo "
                                            "não pode ser UTF-8)."),
                             QStringLiteral("NOME")),
          QCommandLineOption(QStringLiteral("atualizar"),
                             QStringLiteral("uma linha cujo código já está cadastrado altera "
                                            "esse clube (as\nmesmas regras do cadastro); as "
                                            "outras são acrescentadas."))},
         QStringLiteral("acrescenta os clubes de um CSV como export o grava (colunas em qualquer "
                        "ordem,\n"
                        "\";\" ou \",\", com ou sem BOM), com as regras do cadastro de clubes: "
                        "campos\n"
                        "obrigatórios, nome único, estado só no Brasil, larguras, país, estado, "
                        "federação\n"
                        "e ano das tabelas de referência; bandeiras e logotipo vêm delas e a idade "
                        "é\n"
                        "calculada. Cada distintivo é copiado para Distintivos/ com um nome livre; "
                        "o\n"
                        "código é mantido se estiver livre. Tudo ou nada: com uma linha ruim, nada "
                        "é\n"
                        "importado e cada linha ruim é listada (linha, campo, motivo)."),
         runImport,
         folderBeforeFile},
        {QStringLiteral("import-paradox"),
         {QStringLiteral("ORIGEM"), QStringLiteral("[PASTA]")},
         {},
         QStringLiteral("cria a pasta de dados, como create, a partir de uma pasta de dados do "
                        "Windows\n"
                        "com as seis tabelas Paradox (Clubes.db, Paises.DB, UF.DB, Cidades.DB, "
                        "Anos.DB,\n"
                        "Federacao.db, textos em Windows-1252): traz cada registro, copia as "
                        "figuras\n"
                        "indicadas e faz os caminhos apontarem para dentro da PASTA. Lista o que "
                        "ficou\n"
                        "de fora e as contagens lidas e gravadas."),
         runImportParadox},
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
    QStringList required;
    std::copy_if(cmd.arguments.begin(), cmd.arguments.end(), std::back_inserter(required),
                 [](const QString& a) { return !a.startsWith('['); });
    if (args.size() < required.size())
        usage(QStringLiteral("Falta %1 para %2.").arg(required[args.size()], cmd.name));
    if (args.size() <= cmd.arguments.size())
        return;
    const QString accepted =
        cmd.arguments == QStringList{QStringLiteral("[PASTA]")}
            ? QStringLiteral("só uma pasta é aceita")
            : QStringLiteral("%1 aceita %2").arg(cmd.name, cmd.arguments.join(QLatin1Char(' ')));
    usage(QStringLiteral("Argumento a mais: %1 (%2)").arg(args[cmd.arguments.size()], accepted));
}

// A command that changes a data folder never runs beside the program (or another such
// command) on it: the program would keep counting and caching what the command changed
// under it. Reading commands (check, backup, export) run beside it.
std::unique_ptr<DataDirLock> holdFolder(const Subcommand& cmd, const Invocation& call) {
    const QString folder = cmd.changes ? cmd.changes(call) : QString();
    if (folder.isEmpty())
        return nullptr;
    auto lock = std::make_unique<DataDirLock>(folder);
    const QString who = lock->holder().isEmpty()
                            ? QString()
                            : QStringLiteral("Quem a usa: %1.\n").arg(lock->holder());
    switch (lock->outcome()) {
    case DataDirLock::Outcome::AlreadyOpen:
        if (lock->heldByTool())
            throw DataDirError(Exit::Refused,
                               QStringLiteral("Outro %1 está alterando a pasta de dados\n%2\n%3"
                                              "Espere que ele termine e rode %4 de novo.")
                                   .arg(QLatin1String(program), folder, who, cmd.name));
        throw DataDirError(Exit::Refused,
                           QStringLiteral("O Velmora está aberto com a pasta de dados\n%1\n%2"
                                          "O comando %3 altera a pasta e não roda enquanto o "
                                          "Velmora a usa: feche o Velmora e rode o comando de "
                                          "novo.")
                               .arg(folder, who, cmd.name));
    case DataDirLock::Outcome::NotAFile:
        throw DataDirError(Exit::BadDir, lock->message());
    case DataDirLock::Outcome::Locked:
    case DataDirLock::Outcome::NoFolder:
    case DataDirLock::Outcome::CannotLock: // a folder it cannot write: the command says so
        break;
    }
    return lock;
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
    const auto lock = holdFolder(*cmd, call);
    // Commands that make files stop at Ctrl+C before their next file, and their undo
    // removes what they made (import has a display of its own).
    static const QStringList makingFiles = {QStringLiteral("create"), QStringLiteral("backup"),
                                            QStringLiteral("restore"), QStringLiteral("export"),
                                            QStringLiteral("import-paradox")};
    std::optional<TerminalProgress> interrupts;
    if (makingFiles.contains(cmd->name))
        interrupts.emplace(false);
    return cmd->run(call, out);
}

int runCreate(const Invocation& call, QTextStream& out) {
    const QString dir = call.folder();
    const Counts counts = create({dir, call.isSet("sample")});
    out << QStringLiteral("Pasta de dados criada em %1: %2.").arg(dir, describe(counts)) << '\n';
    return int(Exit::Ok);
}

int runCheck(const Invocation& call, QTextStream& out) {
    return checkCommand(call.folder(), call.isSet("fix"),
                        call.isSet("completo") ? CheckDepth::Decode : CheckDepth::Header, out);
}

int runRelocate(const Invocation& call, QTextStream& out) {
    return relocateCommand(call.folder(), call.isSet("force"), out);
}

// backup DESTINO or backup PASTA DESTINO
int runBackup(const Invocation& call, QTextStream& out) {
    const bool both = call.args.size() == 2;
    return backupCommand(both ? call.folder(0) : call.folder(1), call.args.constLast(), out);
}

int runRestore(const Invocation& call, QTextStream& out) {
    return restoreCommand(call.args.constFirst(), call.folder(1), out);
}

QChar separator(const Invocation& call) {
    if (!call.isSet("sep"))
        return QChar();
    const QString sep = call.value("sep");
    if (sep != QLatin1String(";") && sep != QLatin1String(","))
        usage(QStringLiteral("Separador inválido: \"%1\" (use \";\" ou \",\").").arg(sep));
    return sep[0];
}

// export and import take [PASTA] ARQUIVO: with one argument it is the file.
QString fileArgument(const Invocation& call) {
    return QDir::cleanPath(QFileInfo(call.args.constLast()).absoluteFilePath());
}
QString folderBeforeFile(const Invocation& call) {
    return call.args.size() > 1 ? call.folder(0) : call.folder(1);
}

int runExport(const Invocation& call, QTextStream& out) {
    ExportOptions options{folderBeforeFile(call), fileArgument(call)};
    if (const QChar sep = separator(call); !sep.isNull())
        options.separator = sep;
    const ExportReport report = exportClubs(options);
    out << QStringLiteral("%1 clubes e seleções exportados de %2 para %3 (separador \"%4\"); "
                          "%5 distintivos em %6.")
               .arg(report.clubs)
               .arg(options.dir, options.file, options.separator)
               .arg(report.pictures)
               .arg(report.pictureFolder)
        << '\n';
    if (!report.missing.isEmpty()) {
        out << QStringLiteral("Distintivos que não estavam na pasta (o caminho foi gravado como "
                              "está):")
            << '\n';
        for (const QString& m : report.missing)
            out << QStringLiteral("  - ") << m << '\n';
    }
    return int(Exit::Ok);
}

csv::Encoding encoding(const Invocation& call) {
    if (!call.isSet("codificacao"))
        return csv::Encoding::Automatic;
    const QString name = call.value("codificacao").toLower();
    if (name == QLatin1String("utf-8") || name == QLatin1String("utf8"))
        return csv::Encoding::Utf8;
    if (name == QLatin1String("windows-1252") || name == QLatin1String("cp1252"))
        return csv::Encoding::Windows1252;
    usage(QStringLiteral("Codificação desconhecida: \"%1\" (use utf-8 ou windows-1252).")
              .arg(call.value("codificacao")));
}

void printLineProblems(const QList<LineProblem>& problems, QTextStream& out) {
    QList<QStringList> lines = {{"Linha", "Campo", "Motivo"}};
    for (const LineProblem& p : problems)
        lines.append(
            {QString::number(p.line), p.field.isEmpty() ? QStringLiteral("-") : p.field, p.reason});
    qsizetype lineWidth = 0, fieldWidth = 0;
    for (const QStringList& l : lines) {
        lineWidth = std::max(lineWidth, l[0].size());
        fieldWidth = std::max(fieldWidth, l[1].size());
    }
    for (const QStringList& l : lines)
        out << l[0].leftJustified(lineWidth) << "  " << l[1].leftJustified(fieldWidth) << "  "
            << l[2] << '\n';
}

int runImport(const Invocation& call, QTextStream& out) {
    ImportOptions options;
    options.dir = folderBeforeFile(call);
    options.file = fileArgument(call);
    options.separator = separator(call);
    if (call.isSet("pictures"))
        options.pictures = QDir::cleanPath(QFileInfo(call.value("pictures")).absoluteFilePath());
    options.encoding = encoding(call);
    options.update = call.isSet("atualizar");
    ImportReport report = [&options] {
        // Gone, and its line cleared, before the report is written.
        TerminalProgress progress(isatty(STDERR_FILENO) == 1);
        options.progress = std::ref(progress);
        ImportReport done = importClubs(options);
        options.progress = {};
        return done;
    }();
    if (!report.problems.isEmpty()) {
        std::stable_sort(
            report.problems.begin(), report.problems.end(),
            [](const LineProblem& a, const LineProblem& b) { return a.line < b.line; });
        QSet<int> lines;
        for (const LineProblem& p : report.problems)
            lines.insert(p.line);
        out << QStringLiteral("Nada foi importado de %1: %2 problemas em %3 linhas.")
                   .arg(options.file)
                   .arg(report.problems.size())
                   .arg(lines.size())
            << '\n';
        printLineProblems(report.problems, out);
        return int(Exit::Problems);
    }
    out << QStringLiteral("%1 clubes e seleções importados de %2 para %3 (%4 com novo código, %5 "
                          "distintivos com novo nome).")
               .arg(report.added)
               .arg(options.file, options.dir)
               .arg(report.renumbered)
               .arg(report.badgesRenamed)
        << '\n';
    if (options.update)
        out << QStringLiteral("%1 clubes e seleções alterados.").arg(report.updated) << '\n';
    if (report.encoding != QLatin1String("UTF-8"))
        out << QStringLiteral("O arquivo foi lido como %1.").arg(report.encoding) << '\n';
    return int(Exit::Ok);
}

int runImportParadox(const Invocation& call, QTextStream& out) {
    const QString source = call.folder(0);
    const QString dir = call.folder(1);
    const ParadoxImportReport report = importParadox({source, dir});
    out << QStringLiteral("Pasta de dados criada em %1 a partir de %2.").arg(dir, source) << '\n';
    for (const TableCount& t : report.counts)
        out << QStringLiteral("  %1: %2 registros lidos, %3 gravados")
                   .arg(QFileInfo(t.file).fileName())
                   .arg(t.read)
                   .arg(t.written)
            << '\n';
    out << QStringLiteral("  figuras copiadas: %1").arg(report.pictures) << '\n';
    if (report.notBrought.isEmpty())
        return int(Exit::Ok);
    out << QStringLiteral("Ficaram de fora (%1):").arg(report.notBrought.size()) << '\n';
    for (const QString& line : report.notBrought)
        out << QStringLiteral("  - ") << line << '\n';
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
               "Códigos de saída: 0 sucesso; 1 a verificação encontrou problemas (ou o "
               "arquivo de\n"
               "dados está danificado, ou problemas impediram relocate, que nada alterou),\n"
               "faltam figuras numa cópia restaurada (listadas), import recusou linhas (nada\n"
               "importado), um arquivo não é uma tabela Paradox válida ou import-paradox\n"
               "deixou algo de fora (listado);\n"
               "2 argumentos inválidos; 3 a pasta já tem arquivo de dados (ou um arquivo seria\n"
               "sobrescrito, ou o Velmora está aberto com a pasta que o comando altera); 4 pasta "
               "inválida (não é pasta, sem permissão de escrita, caminho\n"
               "longo demais, não é pasta de dados nem cópia de segurança); 5 outra falha\n"
               "(o que foi criado é removido).\n");
}

int run(const QStringList& args, QTextStream& out, QTextStream& err) {
    try {
        return dispatch(args, out);
    } catch (const DataDirError& e) {
        err << QStringLiteral("velmora-datadir: %1").arg(e.text()) << '\n';
        return int(e.code());
    } catch (const std::exception& e) {
        err << QStringLiteral("velmora-datadir: %1").arg(errorText(e)) << '\n';
        return int(Exit::Failed);
    }
}

} // namespace velmora::datadir
