#include "store/Counts.h"

#include "store/Schema.h"
#include "store/StoreError.h"

#include <QSqlError>
#include <QSqlQuery>

namespace velmora {

namespace {

void run(QSqlDatabase& db, const QString& sql) {
    runStatement(db, sql);
}

const FieldDef& clubField(const QString& name) {
    for (const FieldDef& field : Schema::table(QStringLiteral("Clubes")).fields) {
        if (field.name.compare(name, Qt::CaseInsensitive) == 0)
            return field;
    }
    throw StoreError(QStringLiteral("Campo não encontrado em Clubes.db: %1").arg(name));
}

QString joined(const CountTable& table, const QString& prefix, const QString& separator) {
    QStringList parts;
    for (const QString& column : table.columns)
        parts << prefix + column;
    return parts.join(separator);
}

// One text per group, NULLs included (a unique index would take NULLs as distinct):
// quote() writes every value in a self-delimiting form.
QString groupKey(const CountTable& table, const QString& row) {
    QStringList parts;
    for (const QString& column : table.columns)
        parts << QStringLiteral("quote(%1%2)").arg(row, column);
    return parts.join(QStringLiteral(" || '|' || "));
}

QString triggerName(const char* event) {
    return QStringLiteral("ClubesContagem%1").arg(QLatin1String(event));
}

QString addRow(const CountTable& table) {
    return QStringLiteral("insert into %1 (Chave, %2, Qtde) values (%3, %4, 1) "
                          "on conflict (Chave) do update set Qtde = Qtde + 1;")
        .arg(table.name, table.columns.join(QStringLiteral(", ")), groupKey(table, "new."),
             joined(table, QStringLiteral("new."), QStringLiteral(", ")));
}

QString removeRow(const CountTable& table) {
    const QString key = groupKey(table, QStringLiteral("old."));
    return QStringLiteral("update %1 set Qtde = Qtde - 1 where Chave = %2; "
                          "delete from %1 where Chave = %2 and Qtde <= 0;")
        .arg(table.name, key);
}

void createTable(QSqlDatabase& db, const CountTable& table) {
    // The same declared types as in Clubes, so values compare exactly as there.
    QStringList columns{QStringLiteral("Chave TEXT PRIMARY KEY")};
    for (const QString& name : table.columns) {
        const FieldDef& field = clubField(name);
        columns << QStringLiteral("\"%1\" %2")
                       .arg(field.name, field.type == FieldType::Integer
                                            ? QStringLiteral("INTEGER")
                                            : QStringLiteral("VARCHAR(%1)").arg(field.width));
    }
    columns << QStringLiteral("Qtde INTEGER NOT NULL");
    run(db, QStringLiteral("CREATE TABLE %1 (%2)").arg(table.name, columns.join(u", ")));
    run(db, QStringLiteral("INSERT INTO %1 (Chave, %2, Qtde) SELECT %3, %2, count(*) FROM Clubes "
                           "GROUP BY %2")
                .arg(table.name, table.columns.join(u", "), groupKey(table, {})));
}

} // namespace

const QList<CountTable>& Counts::tables() {
    static const QList<CountTable> list = {
        {QStringLiteral("ContagemClubes"),
         {QStringLiteral("PaisClube"), QStringLiteral("UFClube"), QStringLiteral("Identificador"),
          QStringLiteral("Extinto")}},
        {QStringLiteral("ContagemAnos"),
         {QStringLiteral("AnoFundacao"), QStringLiteral("Identificador")}},
        {QStringLiteral("ContagemFederacoes"),
         {QStringLiteral("Federacao"), QStringLiteral("Identificador")}},
    };
    return list;
}

const CountTable* Counts::covering(const QStringList& columns) {
    for (const CountTable& table : tables()) {
        const bool all = std::all_of(columns.begin(), columns.end(), [&](const QString& c) {
            return table.columns.contains(c, Qt::CaseInsensitive);
        });
        if (all)
            return &table;
    }
    return nullptr;
}

QStringList Counts::triggerNames() {
    QStringList names;
    for (const char* event : {"Inclui", "Exclui", "Altera"})
        names << triggerName(event);
    return names;
}

void Counts::drop(QSqlDatabase& db) {
    for (const QString& trigger : triggerNames())
        run(db, QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(trigger));
    for (const CountTable& table : tables())
        run(db, QStringLiteral("DROP TABLE IF EXISTS %1").arg(table.name));
}

void Counts::build(QSqlDatabase& db) {
    QString added, removed;
    QStringList watched;
    for (const CountTable& table : tables()) {
        createTable(db, table);
        added += addRow(table);
        removed += removeRow(table);
        for (const QString& column : table.columns) {
            if (!watched.contains(column))
                watched << column;
        }
    }
    run(db, QStringLiteral("CREATE TRIGGER %1 AFTER INSERT ON Clubes BEGIN %2 END")
                .arg(triggerName("Inclui"), added));
    run(db, QStringLiteral("CREATE TRIGGER %1 AFTER DELETE ON Clubes BEGIN %2 END")
                .arg(triggerName("Exclui"), removed));
    // Only a change of a grouping column moves a club between groups: the ages'
    // recomputation fires nothing.
    run(db, QStringLiteral("CREATE TRIGGER %1 AFTER UPDATE OF %2 ON Clubes BEGIN %3 %4 END")
                .arg(triggerName("Altera"), watched.join(u", "), removed, added));
}

QString Counts::totalStatement() {
    return QStringLiteral("select coalesce(sum(Qtde), 0) from %1").arg(tables().first().name);
}

} // namespace velmora
