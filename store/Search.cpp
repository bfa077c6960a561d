#include "store/Search.h"

#include "store/StoreError.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <string>

namespace velmora {

namespace {

void run(QSqlDatabase& db, const QString& sql) {
    QSqlQuery query(db);
    if (!query.exec(sql))
        throw StoreError(QStringLiteral("%1\n%2").arg(engineMessage(query.lastError()), sql));
}

QString trigger(const SearchIndex& index, const char* event) {
    return index.name + QLatin1String(event);
}

QString added(const SearchIndex& index) {
    return QStringLiteral("INSERT INTO %1 (rowid, Busca) VALUES (new.Codigo, fold(new.%2));")
        .arg(index.name, index.column);
}

// A contentless index forgets a row by being told the values it was given.
QString removed(const SearchIndex& index) {
    return QStringLiteral(
               "INSERT INTO %1 (%1, rowid, Busca) VALUES ('delete', old.Codigo, fold(old.%2));")
        .arg(index.name, index.column);
}

} // namespace

const QList<SearchIndex>& Search::indexes() {
    static const QList<SearchIndex> list = {
        {QStringLiteral("ClubesBuscaNome"), QStringLiteral("NomeClube")},
        {QStringLiteral("ClubesBuscaCompleto"), QStringLiteral("NomeCompletoClube")},
    };
    return list;
}

const SearchIndex* Search::forColumn(const QString& column) {
    for (const SearchIndex& index : indexes()) {
        if (index.column.compare(column, Qt::CaseInsensitive) == 0)
            return &index;
    }
    return nullptr;
}

QStringList Search::triggerNames() {
    QStringList names;
    for (const SearchIndex& index : indexes()) {
        for (const char* event : {"Inclui", "Exclui", "Altera"})
            names << trigger(index, event);
    }
    return names;
}

void Search::drop(QSqlDatabase& db) {
    for (const QString& name : triggerNames())
        run(db, QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(name));
    for (const SearchIndex& index : indexes())
        run(db, QStringLiteral("DROP TABLE IF EXISTS %1").arg(index.name));
}

void Search::build(QSqlDatabase& db) {
    for (const SearchIndex& index : indexes()) {
        run(db, QStringLiteral("CREATE VIRTUAL TABLE %1 USING fts5(Busca, tokenize = 'trigram "
                               "case_sensitive 1', detail = none, content = '')")
                    .arg(index.name));
        run(db, QStringLiteral("INSERT INTO %1 (rowid, Busca) SELECT Codigo, fold(%2) FROM Clubes")
                    .arg(index.name, index.column));
        run(db, QStringLiteral("CREATE TRIGGER %1 AFTER INSERT ON Clubes BEGIN %2 END")
                    .arg(trigger(index, "Inclui"), added(index)));
        run(db, QStringLiteral("CREATE TRIGGER %1 AFTER DELETE ON Clubes BEGIN %2 END")
                    .arg(trigger(index, "Exclui"), removed(index)));
        run(db, QStringLiteral("CREATE TRIGGER %1 AFTER UPDATE OF Codigo, %2 ON Clubes BEGIN %3 %4 "
                               "END")
                    .arg(trigger(index, "Altera"), index.column, removed(index), added(index)));
    }
}

QString Search::trigramQuery(const QString& fragment) {
    // Code points, not UTF-16 units: the tokenizer counts characters.
    const QList<uint> codes = fragment.toUcs4();
    const std::u32string points(codes.begin(), codes.end());
    QStringList trigrams;
    for (size_t i = 0; i + 3 <= points.size(); ++i) {
        const QString trigram = QString::fromUcs4(points.data() + i, 3);
        const QString quoted = QLatin1Char('"') +
                               QString(trigram).replace(QLatin1Char('"'), QLatin1String("\"\"")) +
                               QLatin1Char('"');
        if (!trigrams.contains(quoted))
            trigrams << quoted;
    }
    return trigrams.join(QLatin1String(" AND "));
}

} // namespace velmora
