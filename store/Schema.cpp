#include "store/Schema.h"

#include "store/Ages.h"
#include "store/Counts.h"
#include "store/Database.h"
#include "store/Search.h"
#include "store/StoreError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QStorageInfo>
#include <algorithm>
#include <functional>
#include <sqlite3.h>

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
// country, state, year, federation or extinct flag and sort by name (the order key,
// then the exact name); the reference tables are looked up by name or code and listed
// by name. Counts come from the count tables (store/Counts).
const QList<IndexDef>& indexes() {
    static const QList<IndexDef> list = {
        {"ClubesIdentificadorNome", "Clubes", {"Identificador", "NomeClubeOrdem", "NomeClube"}},
        {"ClubesNome", "Clubes", {"NomeClube"}},
        {"ClubesOrdem", "Clubes", {"NomeClubeOrdem", "NomeClube"}},
        // A country's clubs in name order, so the country gallery with its country
        // resolved first never sorts.
        {"ClubesPais", "Clubes", {"PaisClube", "Identificador", "NomeClubeOrdem", "NomeClube"}},
        // State, year, federation and extinct galleries: filter and name order from
        // one index, so an empty or small gallery never walks the whole catalogue.
        {"ClubesUFPaisNome",
         "Clubes",
         {"UFClube", "PaisClube", "Identificador", "NomeClubeOrdem", "NomeClube"}},
        {"ClubesAnoNome",
         "Clubes",
         {"AnoFundacao", "Identificador", "NomeClubeOrdem", "NomeClube"}},
        {"ClubesFederacaoNome",
         "Clubes",
         {"Federacao", "Identificador", "NomeClubeOrdem", "NomeClube"}},
        {"ClubesExtintoNome", "Clubes", {"Extinto", "NomeClubeOrdem", "NomeClube"}},
        {"PaisesNome", "Paises", {"NomePais"}},
        {"PaisesOrdem", "Paises", {"NomePaisOrdem", "NomePais"}},
        {"UFSigla", "UF", {"UF"}},
        {"UFOrdem", "UF", {"NomeCompletoOrdem", "NomeCompleto"}},
        {"CidadesPaisEstado",
         "Cidades",
         {QString::fromUtf8("País"), "Estado", "CidadeOrdem", "Cidade"}},
        {"FederacaoNome", "Federacao", {"NomeFederacao"}},
        {"FederacaoOrdem", "Federacao", {"NomeFederacaoOrdem", "NomeFederacao"}},
    };
    return list;
}

// Version 3 put the order key before the name in these.
const char* const keyedIndexes[] = {
    "ClubesIdentificadorNome", "ClubesPais",        "ClubesUFNome",     "ClubesAnoNome",
    "ClubesFederacaoNome",     "ClubesExtintoNome", "CidadesPaisEstado"};

QString quoted(const QString& identifier) {
    return QLatin1Char('"') + QString(identifier).replace(QLatin1Char('"'), QLatin1String("\"\"")) +
           QLatin1Char('"');
}

QString declaredType(const FieldDef& field) {
    return field.type == FieldType::Integer ? QStringLiteral("INTEGER")
                                            : QStringLiteral("VARCHAR(%1)").arg(field.width);
}

QSqlQuery run(QSqlDatabase& db, const QString& sql) {
    return runStatement(db, sql);
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
        throw StoreError(engineMessage(query.lastError()));
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
void createIndex(QSqlDatabase& db, const IndexDef& index) {
    const QList<Column> columns = columnsOf(db, QString::fromLatin1(index.table));
    const bool complete =
        std::all_of(index.columns.begin(), index.columns.end(), [&](const QString& wanted) {
            return std::any_of(columns.begin(), columns.end(),
                               [&](const Column& c) { return sameIdentifier(c.name, wanted); });
        });
    if (complete)
        run(db, indexStatement(index));
}

void createIndexes(QSqlDatabase& db) {
    for (const IndexDef& index : indexes())
        createIndex(db, index);
}

bool hasColumn(const QList<Column>& columns, const QString& name) {
    return std::any_of(columns.begin(), columns.end(),
                       [&](const Column& c) { return sameIdentifier(c.name, name); });
}

QString triggerName(const OrderKeyDef& key, const char* when) {
    return key.table + QLatin1String("Ordem") + QLatin1String(when);
}

// The key is written only when it differs, so a writer that fills it itself (or an
// update of other fields) costs no second write.
void createOrderTriggers(QSqlDatabase& db, const OrderKeyDef& key) {
    const QString table = quoted(key.table), source = quoted(key.source), column = quoted(key.key);
    const QString body =
        QStringLiteral("WHEN NEW.%1 IS NOT fold(NEW.%2) BEGIN UPDATE %3 SET %1 = fold(NEW.%2) "
                       "WHERE rowid = NEW.rowid; END")
            .arg(column, source, table);
    run(db, QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1 AFTER INSERT ON %2 %3")
                .arg(quoted(triggerName(key, "Insert")), table, body));
    run(db, QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1 AFTER UPDATE OF %2, %3 ON %4 %5")
                .arg(quoted(triggerName(key, "Update")), source, column, table, body));
}

void dropIndexes(QSqlDatabase& db, std::initializer_list<const char*> names) {
    for (const char* name : names)
        run(db, QStringLiteral("DROP INDEX IF EXISTS %1").arg(quoted(QString::fromLatin1(name))));
}

// Version 3 lists names in Portuguese order: each name gets its order key column,
// filled for the rows already there and kept by triggers from then on.
void addOrderKeys(QSqlDatabase& db) {
    for (const OrderKeyDef& key : Schema::orderKeys()) {
        const QList<Column> columns = columnsOf(db, key.table);
        if (!hasColumn(columns, key.source))
            continue; // reported by the check that follows
        if (!hasColumn(columns, key.key)) {
            run(db, QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 TEXT")
                        .arg(quoted(key.table), quoted(key.key)));
        }
        run(db, QStringLiteral("UPDATE %1 SET %2 = fold(%3)")
                    .arg(quoted(key.table), quoted(key.key), quoted(key.source)));
        createOrderTriggers(db, key);
    }
}

void orderKeys(QSqlDatabase& db) {
    addOrderKeys(db);
    for (const char* index : keyedIndexes)
        run(db, QStringLiteral("DROP INDEX IF EXISTS %1").arg(quoted(QString::fromLatin1(index))));
    createIndexes(db);
}

// Upgrade steps: steps()[v] turns a store of version v into version v + 1, but for the
// indexes, count tables and search indexes, which the upgrade drops first and builds
// once at the end (a store two versions old had its search index built twice).
// Version 0 stores were made before the store had a version or indexes.
struct Step {
    const char* doing; // for the progress display; null: too quick to mention
    std::function<void(QSqlDatabase&)> run;
};
const QList<Step>& steps() {
    static const QList<Step> list = {
        {nullptr, [](QSqlDatabase&) {}}, // 0 -> 1: indexes
        // 1 -> 2: gallery indexes that also give the name order replace the old ones.
        {nullptr,
         [](QSqlDatabase& db) {
             dropIndexes(db, {"ClubesUF", "ClubesAno", "ClubesFederacao", "ClubesExtinto"});
         }},
        // 2 -> 3: the order keys; the indexes that put the key before the name go.
        {"Preparando a ordem alfabética dos nomes",
         [](QSqlDatabase& db) {
             addOrderKeys(db);
             for (const char* index : keyedIndexes)
                 dropIndexes(db, {index});
         }},
        // 3 -> 4: counts by triggers and trigram search; the counters' indexes go.
        {nullptr,
         [](QSqlDatabase& db) {
             dropIndexes(db,
                         {"ClubesIdentificadorExtinto", "ClubesIdentificadorPais", "ClubesUFNome"});
         }},
        {nullptr, [](QSqlDatabase&) {}}, // 4 -> 5: the search index in name order
        // 5 -> 6: letters and pairs found by the index; the age index goes (it doubled
        // the cost of every age written).
        {nullptr, [](QSqlDatabase& db) { dropIndexes(db, {"ClubesAnoIdade"}); }},
        {nullptr, [](QSqlDatabase&) {}}, // 6 -> 7: the names' word pairs
        // 7 -> 8: the names' words. Stores an early version 6 upgraded kept the age index.
        {nullptr, [](QSqlDatabase& db) { dropIndexes(db, {"ClubesAnoIdade"}); }},
    };
    return list;
}
static_assert(Schema::version >= 1);

class TransactionGuard final {
public:
    explicit TransactionGuard(QSqlDatabase& db) : db_(db) {
        if (!db_.transaction())
            throw StoreError(QStringLiteral("Não foi possível iniciar a transação: %1")
                                 .arg(engineMessage(db_, db_.lastError())));
    }
    ~TransactionGuard() {
        if (!done_)
            db_.rollback();
    }
    void commit() {
        if (!db_.commit())
            throw StoreError(QStringLiteral("Não foi possível gravar a transação: %1")
                                 .arg(engineMessage(db_, db_.lastError())));
        done_ = true;
    }

private:
    QSqlDatabase& db_;
    bool done_ = false;
};

// The store file before an upgrade is kept beside it, named with its version
// ("Velmora-v1.sqlite"); a name already taken gets a number, nothing is replaced.
QString keptCopyPath(const QString& store, int version) {
    const QFileInfo info(store);
    const QString stem =
        info.dir().filePath(info.completeBaseName() + QStringLiteral("-v%1").arg(version));
    const QString suffix = QLatin1Char('.') + info.suffix();
    QString path = stem + suffix;
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = stem + QStringLiteral("-%1").arg(n) + suffix;
    return path;
}

// Copies the store's pages into the new file copy with the engine's online backup:
// one read snapshot, the store itself never written, and page by page rather than
// rebuilt (VACUUM INTO sorts every index again). Returns what went wrong, or "".
QString copyPages(QSqlDatabase& db, const QString& copy) {
    sqlite3* target = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXCLUSIVE;
    QString error;
    if (sqlite3_open_v2(QFile::encodeName(copy).constData(), &target, flags, nullptr) ==
        SQLITE_OK) {
        sqlite3_backup* backup = sqlite3_backup_init(target, "main", engineHandle(db), "main");
        const int rc = backup ? sqlite3_backup_step(backup, -1) : sqlite3_errcode(target);
        sqlite3_backup_finish(backup);
        if (rc == SQLITE_DONE)
            // A file of its own, without the store's write-ahead log.
            sqlite3_exec(target, "PRAGMA journal_mode = DELETE", nullptr, nullptr, nullptr);
        else
            error = QString::fromUtf8(backup ? sqlite3_errstr(rc) : sqlite3_errmsg(target));
    } else {
        error = QString::fromUtf8(target ? sqlite3_errmsg(target) : "sem memória");
    }
    sqlite3_close_v2(target);
    return error;
}

// A consistent copy of the store as it is now. Returns the copy's path.
QString keepCopy(QSqlDatabase& db, int version) {
    const QString store = db.databaseName();
    const QString copy = keptCopyPath(store, version);
    if (const QString error = copyPages(db, copy); !error.isEmpty()) {
        QFile::remove(copy); // a half-written copy helps nobody
        QFile::remove(copy + QStringLiteral("-journal"));
        throw StoreError(QStringLiteral("O arquivo de dados %1 é da versão %2 e precisa ser "
                                        "atualizado, mas não foi possível guardar antes uma "
                                        "cópia dele em %3: %4. Nada foi alterado.")
                             .arg(store)
                             .arg(version)
                             .arg(copy, error));
    }
    return copy;
}

bool hasTrigger(QSqlDatabase& db, const QString& name) {
    QSqlQuery query(db);
    query.prepare(
        QStringLiteral("select 1 from sqlite_master where type = 'trigger' and name = ?"));
    query.addBindValue(name);
    if (!query.exec())
        throw StoreError(engineMessage(query.lastError()));
    return query.next();
}

// A table made by hand (or a trigger dropped) after the upgrade: without its key and
// triggers a name would be listed out of order.
bool orderKeysMissing(QSqlDatabase& db) {
    return std::any_of(
        Schema::orderKeys().begin(), Schema::orderKeys().end(), [&](const OrderKeyDef& key) {
            const QList<Column> columns = columnsOf(db, key.table);
            return hasColumn(columns, key.source) &&
                   (!hasColumn(columns, key.key) || !hasTrigger(db, triggerName(key, "Insert")) ||
                    !hasTrigger(db, triggerName(key, "Update")));
        });
}

void restoreOrderKeys(QSqlDatabase& db) {
    TransactionGuard transaction(db);
    orderKeys(db);
    transaction.commit();
}

// Reports an upgrade's progress: each phase has a weight (its share of the time on a
// big store), and the engine calls back now and then within a long statement so that
// a display stays alive.
class Progress final {
public:
    Progress(QSqlDatabase& db, const UpgradeProgress& report, int totalWeight)
        : handle_(engineHandle(db)), report_(report), total_(std::max(1, totalWeight)) {
        if (report_ && handle_)
            sqlite3_progress_handler(handle_, 200000, &Progress::tick, this);
    }
    ~Progress() {
        if (report_ && handle_)
            sqlite3_progress_handler(handle_, 0, nullptr, nullptr);
    }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    void begin(const QString& step, int weight) {
        done_ += current_;
        current_ = weight;
        step_ = step;
        say();
    }
    void finish() {
        done_ = total_;
        current_ = 0;
        say();
    }

private:
    sqlite3* handle_;
    const UpgradeProgress& report_;
    int total_;
    int done_ = 0;
    int current_ = 0;
    QString step_;

    void say() const {
        if (report_)
            report_(step_, int(qint64(done_) * 100 / total_));
    }
    static int tick(void* self) {
        static_cast<Progress*>(self)->say();
        return 0; // never interrupts
    }
};

// Shares of the time each phase takes on a big store (velmora-bench's upgrade of a
// million clubs from version 2, in per cent).
namespace weight {
constexpr int copy = 2;
constexpr int drop = 1;
constexpr int orderKeys = 10;
constexpr int clubIndex = 7; // each index of Clubes
constexpr int counts = 7;
constexpr int search = 12;
constexpr int commit = 3;
} // namespace weight

// The engine settings a big rewrite runs faster with, and the ones it had before.
class BulkSettings final {
public:
    explicit BulkSettings(QSqlDatabase& db) : db_(db) {
        cacheSize_ = value(QStringLiteral("PRAGMA cache_size"));
        // Sorts for the indexes in memory and on both cores.
        run(db_, QStringLiteral("PRAGMA cache_size = -131072"));
        run(db_, QStringLiteral("PRAGMA temp_store = MEMORY"));
        run(db_, QStringLiteral("PRAGMA threads = 2"));
    }
    ~BulkSettings() {
        QSqlQuery query(db_);
        query.exec(QStringLiteral("PRAGMA cache_size = %1").arg(cacheSize_));
        query.exec(QStringLiteral("PRAGMA temp_store = DEFAULT"));
        query.exec(QStringLiteral("PRAGMA threads = 0"));
    }
    BulkSettings(const BulkSettings&) = delete;
    BulkSettings& operator=(const BulkSettings&) = delete;

private:
    QSqlDatabase& db_;
    QString cacheSize_;

    QString value(const QString& sql) {
        QSqlQuery query = run(db_, sql);
        return query.next() ? query.value(0).toString() : QString();
    }
};

int clubIndexCount() {
    return int(std::count_if(indexes().begin(), indexes().end(), [](const IndexDef& index) {
        return qstrcmp(index.table, "Clubes") == 0;
    }));
}

int totalWeight(int from) {
    int total = weight::copy + weight::drop + clubIndexCount() * weight::clubIndex +
                weight::counts + weight::search + weight::commit;
    for (int v = from; v < Schema::version; ++v)
        total += steps()[v].doing ? weight::orderKeys : 0;
    return total;
}

// The indexes, one by one for the progress display.
void createIndexes(QSqlDatabase& db, Progress& progress) {
    const int clubs = clubIndexCount();
    int made = 0;
    for (const IndexDef& index : indexes()) {
        if (qstrcmp(index.table, "Clubes") == 0)
            progress.begin(QStringLiteral("Criando os índices (%1 de %2)").arg(++made).arg(clubs),
                           weight::clubIndex);
        createIndex(db, index);
    }
}

void upgrade(QSqlDatabase& db, int from, Progress& progress) {
    Q_ASSERT(steps().size() == Schema::version);
    BulkSettings settings(db);
    TransactionGuard transaction(db);
    progress.begin(QStringLiteral("Removendo os índices antigos"), weight::drop);
    Schema::dropDerivedWithin(db);
    for (int v = from; v < Schema::version; ++v) {
        if (steps()[v].doing)
            progress.begin(QString::fromUtf8(steps()[v].doing), weight::orderKeys);
        steps()[v].run(db);
    }
    createIndexes(db, progress);
    progress.begin(QStringLiteral("Contando os clubes"), weight::counts);
    Counts::drop(db);
    Counts::build(db);
    progress.begin(QStringLiteral("Criando o índice de pesquisa por nome"), weight::search);
    Search::drop(db);
    Search::build(db);
    AgesYear::build(db);
    setUserVersion(db, Schema::version);
    progress.begin(QStringLiteral("Gravando o arquivo de dados atualizado"), weight::commit);
    transaction.commit();
}

qint64 pragmaNumber(QSqlDatabase& db, const char* pragma) {
    QSqlQuery query = run(db, QStringLiteral("PRAGMA %1").arg(QLatin1String(pragma)));
    return query.next() ? query.value(0).toLongLong() : 0;
}

qint64 systemFreeSpace(const QString& folder) {
    return QStorageInfo(folder).bytesAvailable();
}

QString megabytes(qint64 bytes) {
    constexpr qint64 mb = 1024 * 1024;
    return QLocale(QLocale::Portuguese, QLocale::Brazil).toString((bytes + mb - 1) / mb);
}

// Refuses, before anything is written, an upgrade the disk has no room for.
void requireSpace(QSqlDatabase& db, int from, const UpgradeOptions& options) {
    const qint64 pageSize = pragmaNumber(db, "page_size");
    const qint64 pages = pragmaNumber(db, "page_count");
    const qint64 needed = Schema::upgradeSpace(
        pages * pageSize, (pages - pragmaNumber(db, "freelist_count")) * pageSize);
    const QString folder = QFileInfo(db.databaseName()).absolutePath();
    const qint64 free = options.freeSpace ? options.freeSpace(folder) : systemFreeSpace(folder);
    if (free >= 0 && free < needed)
        throw StoreError(
            QStringLiteral("O arquivo de dados %1 é da versão %2 e precisa ser "
                           "atualizado para a versão %3, mas não há espaço livre "
                           "suficiente em %4: a atualização precisa de %5 MB (uma "
                           "cópia do arquivo anterior, o arquivo novo e o diário da "
                           "gravação) e há %6 MB livres. Libere espaço no disco e "
                           "abra de novo. Nada foi alterado.")
                .arg(db.databaseName())
                .arg(from)
                .arg(Schema::version)
                .arg(QDir::toNativeSeparators(folder), megabytes(needed), megabytes(free)));
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
        for (const OrderKeyDef& key : orderKeys()) {
            if (key.table == table.name)
                columns << quoted(key.key) + QLatin1String(" TEXT");
        }
        run(db, QStringLiteral("CREATE TABLE %1 (%2)")
                    .arg(quoted(table.name), columns.join(QLatin1String(", "))));
    }
    for (const OrderKeyDef& key : orderKeys())
        createOrderTriggers(db, key);
    createIndexes(db);
    Counts::build(db);
    Search::build(db);
    AgesYear::build(db);
    setUserVersion(db, version);
    transaction.commit();
}

void Schema::dropDerived(QSqlDatabase& db) {
    TransactionGuard transaction(db);
    dropDerivedWithin(db);
    transaction.commit();
}

void Schema::buildDerived(QSqlDatabase& db) {
    TransactionGuard transaction(db);
    buildDerivedWithin(db);
    transaction.commit();
}

void Schema::dropDerivedWithin(QSqlDatabase& db) {
    for (const IndexDef& index : indexes())
        run(db,
            QStringLiteral("DROP INDEX IF EXISTS %1").arg(quoted(QString::fromLatin1(index.name))));
    Counts::drop(db);
    Search::drop(db);
    AgesYear::drop(db);
}

void Schema::buildDerivedWithin(QSqlDatabase& db) {
    createIndexes(db);
    Counts::drop(db);
    Counts::build(db);
    Search::drop(db);
    Search::build(db);
    AgesYear::drop(db);
    AgesYear::build(db);
}

QString Schema::countStatement(const TableDef& table) {
    if (&table == &tables().first())
        return Counts::totalStatement();
    return QStringLiteral("select count(*) from %1").arg(quoted(table.name));
}

qint64 Schema::upgradeSpace(qint64 storeBytes, qint64 liveBytes) {
    // The kept copy is a copy of every page. The order keys, indexes and search tables
    // and the write-ahead log of the one transaction that writes them came, on a
    // generated million clubs, to 1.9 times the old store: room for 2.5 is asked.
    return storeBytes + liveBytes * 5 / 2;
}

QString Schema::check(QSqlDatabase& db, const UpgradeOptions& options) {
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
    QString notice;
    if (stored < version) {
        requireSpace(db, stored, options);
        Progress progress(db, options.progress, totalWeight(stored));
        progress.begin(QStringLiteral("Guardando uma cópia do arquivo de dados anterior"),
                       weight::copy);
        const QString copy = keepCopy(db, stored);
        try {
            upgrade(db, stored, progress);
            progress.finish();
        } catch (const StoreError& e) {
            QFile::remove(copy); // the store itself is as it was: no copy piles up per try
            throw StoreError(QStringLiteral("A atualização do arquivo de dados %1 da versão %2 "
                                            "para a versão %3 falhou; o arquivo ficou como "
                                            "estava: %4")
                                 .arg(db.databaseName())
                                 .arg(stored)
                                 .arg(version)
                                 .arg(e.text()));
        }
        notice = QStringLiteral("O arquivo de dados foi atualizado da versão %1 para a versão "
                                "%2. O arquivo anterior foi guardado em %3.")
                     .arg(stored)
                     .arg(version)
                     .arg(copy);
    } else if (orderKeysMissing(db)) {
        restoreOrderKeys(db);
    }
    for (const TableDef& table : tables())
        checkTable(db, table);
    return notice;
}

const QList<OrderKeyDef>& Schema::orderKeys() {
    static const QList<OrderKeyDef> list = {
        {"Clubes", "NomeClube", "NomeClubeOrdem"},
        {"Paises", "NomePais", "NomePaisOrdem"},
        {"UF", "NomeCompleto", "NomeCompletoOrdem"},
        {"Cidades", "Cidade", "CidadeOrdem"},
        {"Federacao", "NomeFederacao", "NomeFederacaoOrdem"},
    };
    return list;
}

QStringList Schema::triggerNames() {
    QStringList names;
    for (const OrderKeyDef& key : orderKeys())
        names << triggerName(key, "Insert") << triggerName(key, "Update");
    return names + Counts::triggerNames() + Search::triggerNames() + AgesYear::triggerNames();
}

QStringList Schema::indexNames() {
    QStringList names;
    for (const IndexDef& index : indexes())
        names << QString::fromLatin1(index.name);
    return names + Search::indexNames();
}

} // namespace velmora
