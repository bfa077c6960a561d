// velmora-soak: the store layer killed while saving.
//   velmora-soak write DIR SEED
//       saves clubs through the data module as the editor does (new rows, changes,
//       deletions) until killed; prints each step before it ("? I 12 text") and once
//       the store has acknowledged it ("I 12 text"), flushed line by line.
//   velmora-soak check DIR STATE LEDGER
//       runs the engine's integrity check and compares the clubs with STATE (the rows
//       after the last check, "" for none) plus every acknowledged step of LEDGER; the
//       one step in flight may have happened or not. On success STATE is rewritten.
// Exit codes: 0 fine, 1 damaged store or a lost or torn row, 2 bad arguments.
#include "store/Database.h"
#include "store/Module.h"
#include "store/Names.h"
#include "store/StoreError.h"

#include <QCoreApplication>
#include <QFile>
#include <QMap>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTextStream>
#include <cstdio>
#include <optional>

using namespace velmora;

namespace {

using Clubs = QMap<int, QString>; // code -> full name

QString shortName(int code) {
    return QStringLiteral("Clube %1").arg(code);
}

void say(const QString& line) {
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

// A random stored row, or 0 when the table is empty.
int anyCode(TFrmDm& dm, QRandomGenerator& rng) {
    const int last = dm.nextClubCode() - 1;
    for (int tries = 0; tries < 20 && last > 0; ++tries) {
        const int code = 1 + int(rng.bounded(last));
        if (dm.TblClubes.seek(code))
            return code;
    }
    return 0;
}

int write(const QString& dir, quint32 seed) {
    TFrmDm dm(dir);
    Table& clubs = dm.TblClubes;
    QRandomGenerator rng(seed);
    for (int step = 0;; ++step) {
        const int roll = int(rng.bounded(100));
        const int existing = roll < 70 ? 0 : anyCode(dm, rng);
        if (existing == 0) {
            const int code = dm.nextClubCode();
            const QString full = QStringLiteral("Novo %1 passo %2").arg(code).arg(step);
            say(QStringLiteral("? I %1 %2").arg(code).arg(full));
            clubs.append();
            clubs.setFieldText(QStringLiteral("Codigo"), QString::number(code));
            clubs.setFieldText(QStringLiteral("NomeClube"), shortName(code));
            clubs.setFieldText(QStringLiteral("NomeCompletoClube"), full);
            clubs.setFieldText(QStringLiteral("PaisClube"), brasil);
            clubs.setFieldText(QStringLiteral("AnoFundacao"), QString::number(1900 + code % 120));
            clubs.setFieldText(QStringLiteral("Identificador"), QStringLiteral("0"));
            clubs.setFieldText(QStringLiteral("Extinto"), QStringLiteral("0"));
            clubs.post();
            say(QStringLiteral("I %1 %2").arg(code).arg(full));
        } else if (roll < 90) {
            const QString full = QStringLiteral("Alterado %1 passo %2").arg(existing).arg(step);
            say(QStringLiteral("? E %1 %2").arg(existing).arg(full));
            clubs.edit();
            clubs.setFieldText(QStringLiteral("NomeCompletoClube"), full);
            clubs.post();
            say(QStringLiteral("E %1 %2").arg(existing).arg(full));
        } else {
            say(QStringLiteral("? D %1").arg(existing));
            clubs.remove();
            say(QStringLiteral("D %1").arg(existing));
        }
    }
}

struct Step {
    QChar kind; // I, E or D
    int code = 0;
    QString full;
};

std::optional<Step> parseStep(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(' '));
    if (parts.size() < 2 || parts[0].size() != 1)
        return std::nullopt;
    return Step{parts[0][0], parts[1].toInt(), parts.mid(2).join(QLatin1Char(' '))};
}

void apply(Clubs& clubs, const Step& step) {
    if (step.kind == QLatin1Char('D'))
        clubs.remove(step.code);
    else
        clubs.insert(step.code, step.full);
}

Clubs readState(const QString& path) {
    Clubs clubs;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly | QIODevice::Text))
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            if (const qsizetype tab = line.indexOf(QLatin1Char('\t')); tab > 0)
                clubs.insert(line.left(tab).toInt(), line.mid(tab + 1));
        }
    return clubs;
}

int check(const QString& dir, const QString& statePath, const QString& ledgerPath) {
    Clubs expected = readState(statePath);
    std::optional<Step> inFlight;
    QFile ledger(ledgerPath);
    if (!ledger.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "não foi possível ler %s\n", qPrintable(ledgerPath));
        return 2;
    }
    int acknowledged = 0;
    while (!ledger.atEnd()) {
        const QString line = QString::fromUtf8(ledger.readLine()).trimmed();
        if (line.startsWith(QLatin1String("? "))) {
            inFlight = parseStep(line.mid(2));
        } else if (const auto step = parseStep(line)) {
            apply(expected, *step);
            inFlight.reset();
            ++acknowledged;
        }
    }

    Database db(dir);
    const QString integrity = db.value(QStringLiteral("PRAGMA integrity_check")).toString();
    Clubs stored;
    int torn = 0;
    QSqlQuery query(db.handle());
    query.exec(QStringLiteral("select Codigo, NomeClube, NomeCompletoClube from Clubes"));
    while (query.next()) {
        const int code = query.value(0).toInt();
        stored.insert(code, query.value(2).toString());
        if (query.value(1).toString() != shortName(code))
            ++torn;
    }
    bool matches = stored == expected;
    if (!matches && inFlight) {
        Clubs afterInFlight = expected;
        apply(afterInFlight, *inFlight);
        matches = stored == afterInFlight;
    }
    std::printf("integridade: %s; %d passos confirmados; %lld clubes gravados; %s; %d linhas "
                "incompletas\n",
                qPrintable(integrity), acknowledged, qlonglong(stored.size()),
                matches ? "nenhum passo confirmado perdido" : "DIFERENTE do confirmado", torn);
    if (integrity != QLatin1String("ok") || !matches || torn > 0)
        return 1;
    QFile state(statePath);
    if (!state.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return 2;
    QTextStream out(&state);
    for (auto it = stored.cbegin(); it != stored.cend(); ++it)
        out << it.key() << '\t' << it.value() << '\n';
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    try {
        if (args.size() == 3 && args[0] == QLatin1String("write"))
            return write(args[1], args[2].toUInt());
        if (args.size() == 4 && args[0] == QLatin1String("check"))
            return check(args[1], args[2], args[3]);
    } catch (const StoreError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 1;
    }
    std::fprintf(stderr, "uso: velmora-soak write PASTA SEMENTE | check PASTA ESTADO REGISTRO\n");
    return 2;
}
