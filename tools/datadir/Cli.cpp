#include "tools/datadir/Cli.h"

#include "store/Database.h"

#include "tools/datadir/DataDir.h"
#include "tools/datadir/MoveCommands.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <algorithm>

namespace velmora::datadir {

namespace {

struct Command {
    QString name;
    bool sample = false;
    QString dir;
};

[[noreturn]] void usage(const QString& message) {
    throw DataDirError(Exit::Usage,
                       message + QStringLiteral("\nUse velmora-datadir --help para ver o uso."));
}

Command parse(const QStringList& args) {
    if (args.isEmpty())
        usage(QStringLiteral("Falta o comando (create ou check)."));
    Command cmd;
    cmd.name = args.first();
    if (cmd.name != QLatin1String("create") && cmd.name != QLatin1String("check"))
        usage(QStringLiteral("Comando desconhecido: %1").arg(cmd.name));
    for (const QString& arg : args.mid(1)) {
        if (arg == QLatin1String("--sample") && cmd.name == QLatin1String("create"))
            cmd.sample = true;
        else if (arg.startsWith(QLatin1Char('-')))
            usage(QStringLiteral("Opção desconhecida para %1: %2").arg(cmd.name, arg));
        else if (!cmd.dir.isEmpty())
            usage(QStringLiteral("Argumento a mais: %1 (só uma pasta é aceita)").arg(arg));
        else
            cmd.dir = arg;
    }
    if (cmd.dir.isEmpty())
        cmd.dir = Database::defaultDir();
    cmd.dir = QDir::cleanPath(QFileInfo(cmd.dir).absoluteFilePath());
    return cmd;
}

int runCreate(const Command& cmd, QTextStream& out) {
    const Counts counts = create({cmd.dir, cmd.sample});
    out << QStringLiteral("Pasta de dados criada em %1: %2.").arg(cmd.dir, describe(counts))
        << '\n';
    return int(Exit::Ok);
}

int runCheck(const Command& cmd, QTextStream& out) {
    return checkCommand(cmd.dir, false, out);
}

} // namespace

QString helpText() {
    return QStringLiteral(
               "Uso: velmora-datadir create [PASTA] [--sample]\n"
               "     velmora-datadir check [PASTA]\n"
               "     velmora-datadir --help\n"
               "\n"
               "Cria ou verifica a pasta de dados do Velmora. Sem PASTA, usa a pasta fixa do "
               "programa (%1).\n"
               "\n"
               "  create    cria a pasta, o arquivo de dados Velmora.sqlite com as seis tabelas e "
               "as pastas\n"
               "            Bandeiras, Estados, Federacoes e Distintivos; copia as bandeiras e os "
               "logotipos\n"
               "            e preenche países, estados, anos (1850 a 2050), federações e "
               "cidades.\n"
               "            Nunca sobrescreve nada: recusa uma pasta que já tem arquivo de "
               "dados.\n"
               "  --sample  com create: cadastra também um catálogo de exemplo de 40 clubes e "
               "seleções.\n"
               "  check     abre o arquivo de dados como o programa abre e tenta carregar cada "
               "figura\n"
               "            indicada nas tabelas; lista as que não carregam.\n"
               "\n"
               "Códigos de saída: 0 sucesso; 1 a verificação encontrou problemas; 2 argumentos "
               "inválidos;\n"
               "3 a pasta já tem arquivo de dados (ou um arquivo seria sobrescrito); 4 pasta "
               "inválida\n"
               "(não é pasta, sem permissão de escrita, caminho longo demais); 5 outra falha ao "
               "criar\n"
               "(o que foi criado é removido).\n")
        .arg(Database::defaultDir());
}

int run(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        out << helpText();
        return int(Exit::Ok);
    }
    try {
        const Command cmd = parse(args);
        return cmd.name == QLatin1String("create") ? runCreate(cmd, out) : runCheck(cmd, out);
    } catch (const DataDirError& e) {
        err << QStringLiteral("velmora-datadir: %1").arg(e.text()) << '\n';
        return int(e.code());
    } catch (const std::exception& e) {
        err << QStringLiteral("velmora-datadir: %1").arg(QString::fromStdString(e.what())) << '\n';
        return int(Exit::Failed);
    }
}

} // namespace velmora::datadir
