#include "store/Schema.h"

#include "store/Counts.h"
#include "store/StoreError.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <functional>

namespace velmora {

namespace {

FieldDef integer(const char* name) {
    return {QString::fromUtf8(name), FieldType::Integer, 0};
}
FieldDef text(const char* name, int width) {
    return {QString::fromUtf8(name), FieldType::Text, width};
}

struct IndexDef {
    const char* name;
    const char* table;
    QStringList columns;
};

// Chosen from the plans of the program's statements: listings filter Clubes by kind,
// country, state, year, federation or extinct flag and sort by name; the reference
// tables are looked up by name or code. Counts come from the count tables.
const QList<IndexDef>& indexes() {
    static const QList<IndexDef> list = {
        {"ClubesIdentificadorNome", "Clubes", {"Identificador", "NomeClube"}},
        {"ClubesNome", "Clubes", {"NomeClube"}},
        // A country's clubs in name order (the Brazilian gallery also by state), so
        // the country gallery with its country resolved first never sorts.
        {"ClubesPaisNome", "Clubes", {"PaisClube", "Identificador", "NomeClube"}},
        // State, year, federation and extinct galleries: filter and name order from
        // one index, so an empty or small gallery never walks the whole catalogue.
        {"ClubesUFPaisNome", "Clubes", {"UFClube", "PaisClube", "Identificador", "NomeClube"}},
        {"ClubesAnoNome", "Clubes", {"AnoFundacao", "Identificador", "NomeClube"}},
        {"ClubesFederacaoNome", "Clubes", {"Federacao", "Identificador", "NomeClube"}},
        {"ClubesExtintoNome", "Clubes", {"Extinto", "NomeClube"}},
        {"PaisesNome", "Paises", {"NomePais"}},
        {"UFSigla", "UF", {"UF"}},
        {"CidadesPaisEstado", "Cidades", {QString::fromUtf8("País"), "Estado", "Cidade"}},
        {"FederacaoNome", "Federacao", {"NomeFederacao"}},
    };
    return list;
}

QString quoted(const QString& identifier) {
    return QLatin1Char('"') + QString(identifier).replace(QLatin1Char('"'), QLatin1String("\"\"")) +
           QLatin1Char('"');
}

QString declaredType(const FieldDef& field) {
    return field.type == FieldType::Integer ? QStringLiteral("INTEGER")
                                            : QStringLiteral("VARCHAR(%1)").arg(field.width);
}

QSqlQuery run(QSqlDatabase& db, const QString& sql) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(sql))
        throw StoreError(QStringLiteral("%1\n%2").arg(query.lastError().text(), sql));
    return query;
}

int userVersion(QSqlDatabase& db) {
    QSqlQuery query = run(db, QStringLiteral("PRAGMA user_version"));
    return query.next() ? query.value(0).toInt() : 0;
}

void setUserVersion(QSqlDatabase& db, int version) {
    run(db, QStringLiteral("PRAGMA user_version = %1").arg(version));
}

// SQLite folds identifier case for ASCII letters only: "país" is not "País".
bool sameIdentifier(const QString& a, const QString& b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const QChar x = a[i], y = b[i];
        if (x == y)
            continue;
        if (x.unicode() >= 128 || y.unicode() >= 128 || x.toLower() != y.toLower())
            return false;
    }
    return true;
}

struct Column {
    QString name;
    QString type;
};

// The columns of a table, in order; empty when the table does not exist.
QList<Column> columnsOf(QSqlDatabase& db, const QString& table) {
    QSqlQuery query = run(db, QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table)));
    QList<Column> columns;
    while (query.next())
        columns.append({query.value(1).toString(), query.value(2).toString()});
    return columns;
}

bool tableExists(QSqlDatabase& db, const QString& table) {
    QSqlQuery query(db);
    query.prepare(QStringLiteral(
        "select 1 from sqlite_master where type = 'table' and name = ? collate nocase"));
    query.addBindValue(table);
    if (!query.exec())
        throw StoreError(query.lastError().text());
    return query.next();
}

// Reads a declared type as the field kind and width ("VARCHAR(40)" -> Text, 40).
FieldDef parseType(const QString& name, const QString& declared) {
    static const QRegularExpression textType(
        QStringLiteral("^\\s*(?:VAR)?CHAR(?:ACTER)?\\s*\\(\\s*(\\d+)\\s*\\)\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression intType(QStringLiteral("^\\s*INT(?:EGER)?\\s*$"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (intType.match(declared).hasMatch())
        return {name, FieldType::Integer, 0};
    if (const auto m = textType.match(declared); m.hasMatch())
        return {name, FieldType::Text, m.captured(1).toInt()};
    return {name, FieldType::Text, -1}; // something we do not know
}

QString describe(const FieldDef& field) {
    return field.type == FieldType::Integer
               ? QStringLiteral("inteiro")
               : QStringLiteral("texto de %1 caracteres").arg(field.width);
}

void checkTable(QSqlDatabase& db, const TableDef& table) {
    const QList<Column> columns = columnsOf(db, table.name);
    if (columns.isEmpty())
        throw StoreError(QStringLiteral("Tabela não encontrada: %1 (%2)")
                             .arg(table.fileName, db.databaseName()));
    for (const FieldDef& field : table.fields) {
        const auto found = std::find_if(columns.begin(), columns.end(), [&](const Column& c) {
            return sameIdentifier(c.name, field.name);
        });
        if (found == columns.end())
            throw StoreError(
                QStringLiteral("Campo ausente em %1: %2").arg(table.fileName, field.name));
        const FieldDef stored = parseType(found->name, found->type);
        if (stored.type != field.type || stored.width < 0)
            throw StoreError(
                QStringLiteral("Campo de outro tipo em %1: %2 (esperado %3, "
                               "encontrado %4)")
                    .arg(table.fileName, field.name, describe(field),
                         found->type.isEmpty() ? QStringLiteral("sem tipo") : found->type));
        if (stored.width != field.width)
            throw StoreError(
                QStringLiteral("Campo de outro tamanho em %1: %2 (esperado %3, "
                               "encontrado %4)")
                    .arg(table.fileName, field.name, describe(field), describe(stored)));
    }
    // The editor's locate command reads the first column of "select *" as the code.
    if (&table == &Schema::tables().first() && !sameIdentifier(columns.first().name, "Codigo"))
        throw StoreError(QStringLiteral("O primeiro campo de %1 deve ser Codigo (encontrado %2)")
                             .arg(table.fileName, columns.first().name));
}

QString indexStatement(const IndexDef& index) {
    QStringList columns;
    for (const QString& c : index.columns)
        columns << quoted(c);
    return QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
        .arg(quoted(QString::fromLatin1(index.name)), quoted(QString::fromLatin1(index.table)),
             columns.join(QLatin1String(", ")));
}

// Creates the indexes whose columns are all present (a missing column is reported
// by the check that follows, in the program's words).
void createIndexes(QSqlDatabase& db) {
    for (const IndexDef& index : indexes()) {
        const QList<Column> columns = columnsOf(db, QString::fromLatin1(index.table));
        const bool complete =
            std::all_of(index.columns.begin(), index.columns.end(), [&](const QString& wanted) {
                return std::any_of(columns.begin(), columns.end(),
                                   [&](const Column& c) { return sameIdentifier(c.name, wanted); });
            });
        if (complete)
            run(db, indexStatement(index));
    }
}

// Version 2 replaced the single-purpose gallery indexes by ones that also give the
// name order.
void galleryIndexes(QSqlDatabase& db) {
    for (const char* old : {"ClubesUF", "ClubesAno", "ClubesFederacao", "ClubesExtinto"})
        run(db, QStringLiteral("DROP INDEX IF EXISTS %1").arg(quoted(QString::fromLatin1(old))));
    createIndexes(db);
}

// Version 3 counts clubs by triggers; the indexes that served the counters go.
void countTables(QSqlDatabase& db) {
    for (const char* old :
         {"ClubesIdentificadorExtinto", "ClubesIdentificadorPais", "ClubesPais", "ClubesUFNome"})
        run(db, QStringLiteral("DROP INDEX IF EXISTS %1").arg(quoted(QString::fromLatin1(old))));
    createIndexes(db);
    Counts::drop(db);
    Counts::build(db);
}

// Upgrade steps: steps()[v] turns a store of version v into version v + 1.
// Version 0 stores were made before the store had a version or indexes.
using Step = std::function<void(QSqlDatabase&)>;
const QList<Step>& steps() {
    static const QList<Step> list = {
        createIndexes,  // 0 -> 1
        galleryIndexes, // 1 -> 2
        countTables,    // 2 -> 3
    };
    return list;
}
static_assert(Schema::version >= 1);

class TransactionGuard final {
public:
    explicit TransactionGuard(QSqlDatabase& db) : db_(db) {
        if (!db_.transaction())
            throw StoreError(QStringLiteral("Não foi possível iniciar a transação: %1")
                                 .arg(db_.lastError().text()));
    }
    ~TransactionGuard() {
        if (!done_)
            db_.rollback();
    }
    void commit() {
        if (!db_.commit())
            throw StoreError(QStringLiteral("Não foi possível gravar a transação: %1")
                                 .arg(db_.lastError().text()));
        done_ = true;
    }

private:
    QSqlDatabase& db_;
    bool done_ = false;
};

void upgrade(QSqlDatabase& db, int from) {
    Q_ASSERT(steps().size() == Schema::version);
    TransactionGuard transaction(db);
    for (int v = from; v < Schema::version; ++v)
        steps()[v](db);
    setUserVersion(db, Schema::version);
    transaction.commit();
}

} // namespace

const QList<TableDef>& Schema::tables() {
    static const QList<TableDef> list = {
        {"Clubes",
         "Clubes.db",
         {integer("Codigo"), text("NomeClube", 40), text("NomeCompletoClube", 100),
          integer("AnoFundacao"), text("PaisClube", 45), text("UFClube", 2),
          text("CidadeClube", 100), text("IdadeClube", 8), text("EscudoClube", 100),
          text("BandeiraPais", 100), text("BandeiraUF", 100), text("Federacao", 8),
          text("LogoFederacao", 100), integer("Identificador"), integer("Extinto"),
          text("Estadio", 35), text("Capacidade", 20)}},
        {"Paises",
         "Paises.DB",
         {text("CodPais", 3), text("NomePais", 45), text("BandeiraPais", 100)}},
        {"UF",
         "UF.DB",
         {integer("Codigo"), text("UF", 2), text("NomeCompleto", 40), text("BandeiraUF", 100)}},
        {"Cidades", "Cidades.DB", {text("Estado", 2), text("Cidade", 40), text("País", 45)}},
        {"Anos", "Anos.DB", {integer("Ano")}},
        {"Federacao", "Federacao.db", {text("NomeFederacao", 8), text("LogoFederacao", 100)}},
    };
    return list;
}

const TableDef& Schema::table(const QString& name) {
    for (const TableDef& t : tables()) {
        if (t.name.compare(name, Qt::CaseInsensitive) == 0 ||
            t.fileName.compare(name, Qt::CaseInsensitive) == 0)
            return t;
    }
    throw StoreError(QStringLiteral("Tabela não encontrada: %1").arg(name));
}

void Schema::create(QSqlDatabase& db) {
    TransactionGuard transaction(db);
    for (const TableDef& table : tables()) {
        QStringList columns;
        for (const FieldDef& field : table.fields) {
            QString column = quoted(field.name) + QLatin1Char(' ') + declaredType(field);
            // Codigo is the rowid of Clubes: key order and lookups by code come free.
            if (&table == &tables().first() && &field == &table.fields.first())
                column += QLatin1String(" PRIMARY KEY");
            columns << column;
        }
        run(db, QStringLiteral("CREATE TABLE %1 (%2)")
                    .arg(quoted(table.name), columns.join(QLatin1String(", "))));
    }
    createIndexes(db);
    Counts::build(db);
    setUserVersion(db, version);
    transaction.commit();
}

void Schema::dropDerived(QSqlDatabase& db) {
    TransactionGuard transaction(db);
    for (const IndexDef& index : indexes())
        run(db,
            QStringLiteral("DROP INDEX IF EXISTS %1").arg(quoted(QString::fromLatin1(index.name))));
    Counts::drop(db);
    transaction.commit();
}

void Schema::buildDerived(QSqlDatabase& db) {
    TransactionGuard transaction(db);
    createIndexes(db);
    Counts::drop(db);
    Counts::build(db);
    transaction.commit();
}

QString Schema::countStatement(const TableDef& table) {
    if (&table == &tables().first())
        return Counts::totalStatement();
    return QStringLiteral("select count(*) from %1").arg(quoted(table.name));
}

void Schema::check(QSqlDatabase& db) {
    const int stored = userVersion(db);
    if (stored > version)
        throw StoreError(QStringLiteral("O arquivo de dados %1 é da versão %2, mais nova que a "
                                        "versão %3 que este programa conhece.")
                             .arg(db.databaseName())
                             .arg(stored)
                             .arg(version));
    for (const TableDef& table : tables()) {
        if (!tableExists(db, table.name))
            throw StoreError(QStringLiteral("Tabela não encontrada: %1 (%2)")
                                 .arg(table.fileName, db.databaseName()));
    }
    if (stored < version)
        upgrade(db, stored);
    for (const TableDef& table : tables())
        checkTable(db, table);
}

QStringList Schema::indexNames() {
    QStringList names;
    for (const IndexDef& index : indexes())
        names << QString::fromLatin1(index.name);
    return names;
}

} // namespace velmora
