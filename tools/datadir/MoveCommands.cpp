#include "tools/datadir/MoveCommands.h"

#include "store/Database.h"
#include "tools/datadir/Backup.h"
#include "tools/datadir/Relocate.h"

#include <QTextStream>
#include <algorithm>

namespace velmora::datadir {

namespace {

// "412 em /home/ana/Velmora, 7 em C:\Velmora"
QString perFolder(const QMap<QString, int>& counts) {
    QStringList parts;
    for (auto it = counts.begin(); it != counts.end(); ++it)
        parts << QStringLiteral("%1 em %2").arg(it.value()).arg(it.key());
    return parts.join(QStringLiteral(", "));
}

int sum(const QMap<QString, int>& counts) {
    int total = 0;
    for (int n : counts)
        total += n;
    return total;
}

// n with the noun phrase in the singular or the plural.
QString counted(qsizetype n, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? one : many));
}

void printNotice(const QString& notice, QTextStream& out) {
    if (!notice.isEmpty())
        out << notice << '\n';
}

void printFiles(const QStringList& files, QTextStream& out) {
    for (const QString& file : files)
        out << QStringLiteral("  ") << file << '\n';
}

// Paths that point into another folder: one summary line and the command that mends them.
void printOutside(const QString& dir, const QMap<QString, int>& outside, QTextStream& out) {
    const int n = sum(outside);
    out << (n == 1 ? QStringLiteral("1 caminho aponta para fora da pasta: %1.")
                   : QStringLiteral("%1 caminhos apontam para fora da pasta: %2.").arg(n))
               .arg(perFolder(outside))
        << '\n'
        << QStringLiteral("Para que apontem para %1, rode: velmora-datadir relocate %1").arg(dir)
        << '\n';
}

void printStrays(const QString& dir, const CheckReport& report, QTextStream& out) {
    if (!report.trashed.isEmpty()) {
        out << counted(report.trashed.size(),
                       "distintivo que não era de nenhum clube foi para a lixeira:",
                       "distintivos que não eram de nenhum clube foram para a lixeira:")
            << '\n';
        printFiles(report.trashed, out);
    }
    QStringList left = report.strays;
    for (const QString& gone : report.trashed)
        left.removeOne(gone);
    if (left.isEmpty())
        return;
    out << counted(left.size(), "arquivo na pasta Distintivos não é o distintivo de nenhum clube:",
                   "arquivos na pasta Distintivos não são o distintivo de nenhum clube:")
        << '\n';
    printFiles(left, out);
    if (report.trashed.isEmpty())
        out << QStringLiteral("Para movê-los para a lixeira: velmora-datadir check --fix %1")
                   .arg(dir)
            << '\n';
    else
        out << QStringLiteral("Não foi possível movê-los para a lixeira nem apagá-los.") << '\n';
}

} // namespace

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

int checkCommand(const QString& dir, bool fix, CheckDepth depth, QTextStream& out) {
    const CheckReport report = check(dir, fix, depth);
    printNotice(report.upgradeNotice, out);
    if (report.readOnly)
        out << QStringLiteral("O catálogo em %1 é somente leitura: o arquivo %2 ou a pasta não "
                              "pode ser gravado. Isso não é um dano; o Velmora o abre apenas "
                              "para consulta. Para incluir e alterar clubes, dê permissão de "
                              "gravação ao arquivo e à pasta.")
                   .arg(dir, QLatin1String(Database::fileName))
            << '\n';
    const bool straysLeft = report.trashed.size() < report.strays.size();
    if (!report.problems.isEmpty()) {
        out << QStringLiteral("Problemas em %1: %2 de %3 figuras não carregam.")
                   .arg(dir)
                   .arg(report.problems.size())
                   .arg(report.pictures)
            << '\n';
        printProblems(report.problems, out);
    }
    if (!report.outside.isEmpty())
        printOutside(dir, report.outside, out);
    printStrays(dir, report, out);
    if (!report.problems.isEmpty() || !report.outside.isEmpty() || straysLeft)
        return int(Exit::Problems);
    out << QStringLiteral("OK: %1 abre como o programa a abre; %2; %3 figuras verificadas, "
                          "%4.")
               .arg(dir, describe(report.counts))
               .arg(report.pictures)
               .arg(depth == CheckDepth::Decode
                        ? QStringLiteral("todas carregam")
                        : QStringLiteral("todas com cabeçalho e tamanho válidos"))
        << '\n';
    return int(Exit::Ok);
}

int relocateCommand(const QString& dir, bool force, QTextStream& out) {
    const RelocateReport report = relocate({dir, force});
    printNotice(report.upgradeNotice, out);
    if (!report.applied) {
        out << QStringLiteral("Nada foi alterado: %1 apontar para %2.")
                   .arg(counted(report.blocking.size(), "caminho não pode", "caminhos não podem"),
                        report.dir)
            << '\n';
        printProblems(report.blocking, out);
        const bool onlyMissing =
            std::none_of(report.blocking.begin(), report.blocking.end(), [](const Problem& p) {
                return p.reason.startsWith(QStringLiteral("o novo caminho"));
            });
        if (onlyMissing)
            out << QStringLiteral("Com --force, os demais caminhos são corrigidos e estes ficam "
                                  "como estão.")
                << '\n';
        return int(Exit::Problems);
    }
    if (report.changed == 0)
        out << QStringLiteral("Nada a corrigir: os caminhos de figuras já apontam para %1.")
                   .arg(report.dir)
            << '\n';
    else
        out << QStringLiteral("%1 em %2 %3 para %4 (antes: %5).")
                   .arg(counted(report.changed, "caminho de figura", "caminhos de figuras"),
                        counted(report.rows, "linha", "linhas"),
                        report.changed == 1 ? QStringLiteral("agora aponta")
                                            : QStringLiteral("agora apontam"),
                        report.dir, perFolder(report.from))
            << '\n';
    if (!report.skipped.isEmpty()) {
        out << counted(report.skipped.size(),
                       "caminho ficou como estava:", "caminhos ficaram como estavam:")
            << '\n';
        printProblems(report.skipped, out);
    }
    return int(Exit::Ok);
}

int backupCommand(const QString& dir, const QString& dest, QTextStream& out) {
    const BackupReport report = backup(dir, dest);
    out << QStringLiteral("Cópia de segurança de %1 gravada em %2: %3 clubes e seleções, %4 "
                          "figuras.")
               .arg(dir, report.folder)
               .arg(report.clubs)
               .arg(report.pictures)
        << '\n'
        << QStringLiteral("Para restaurá-la em qualquer pasta: velmora-datadir restore %1 PASTA")
               .arg(report.folder)
        << '\n';
    return int(Exit::Ok);
}

int restoreCommand(const QString& backupFolder, const QString& dir, QTextStream& out) {
    const RestoreReport report = restore(backupFolder, dir);
    printNotice(report.relocation.upgradeNotice, out);
    out << QStringLiteral("Cópia %1 restaurada em %2: %3 clubes e seleções, %4 figuras; %5 "
                          "caminhos de figuras apontam agora para a nova pasta.")
               .arg(backupFolder, report.relocation.dir)
               .arg(report.clubs)
               .arg(report.pictures)
               .arg(report.relocation.changed)
        << '\n';
    const RelocateReport& r = report.relocation;
    if (!r.missing.isEmpty()) {
        out << counted(r.missing.size(), "figura falta na cópia; o caminho aponta para onde ela",
                       "figuras faltam na cópia; os caminhos apontam para onde elas")
            << QStringLiteral(" estaria em %1:").arg(r.dir) << '\n';
        printProblems(r.missing, out);
    }
    if (!r.skipped.isEmpty()) {
        out << counted(r.skipped.size(),
                       "caminho ficou como estava:", "caminhos ficaram como estavam:")
            << '\n';
        printProblems(r.skipped, out);
    }
    return int(r.missing.isEmpty() && r.skipped.isEmpty() ? Exit::Ok : Exit::Problems);
}

} // namespace velmora::datadir
