#include "store/Database.h"

#include "store/FastPaths.h"
#include "store/Folding.h"
#include "store/Schema.h"
#include "store/Search.h"
#include "store/StoreError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <atomic>
#include <sqlite3.h>

namespace velmora {

namespace {

QString nextConnectionName() {
    static std::atomic<int> counter{0};
    return QStringLiteral("velmora-store-%1").arg(++counter);
}

// A call's argument as UTF-8, without a copy: valid while the call runs.
QByteArray argumentText(sqlite3_value* value) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return QByteArray::fromRawData(text, sqlite3_value_bytes(value));
}

// Applies a text function to a one-argument SQL call; NULL stays NULL.
template <QString (*transform)(const QString&)>
void textFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
    if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const QByteArray result = transform(QString::fromUtf8(argumentText(argv[0]))).toUtf8();
    sqlite3_result_text(context, result.constData(), int(result.size()), SQLITE_TRANSIENT);
}

// orderprefix(): where a folded name sorts, for the rowids of the name-ordered search
// index. NULL counts as the empty text, so a club without a name still gets a rowid.
void orderPrefixFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
    if (argc != 1) {
        sqlite3_result_null(context);
        return;
    }
    sqlite3_result_int64(context, Search::orderPrefix(argumentText(argv[0])));
}

// pieces(), joins(), wordpairs() and words(): what the search tables keep of a folded name, as a
// JSON array.
template <QByteArray (*json)(const QString&)>
void jsonFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
    if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const QByteArray array = json(QString::fromUtf8(argumentText(argv[0])));
    sqlite3_result_text(context, array.constData(), int(array.size()), SQLITE_TRANSIENT);
}

// upper() that upper-cases accented letters too ("são paulo" -> "SÃO PAULO").
QString unicodeUpper(const QString& text) {
    return text.toUpper();
}

// Deterministic and innocuous: fold() fills the name order keys from triggers, and
// the search triggers call the others.
void registerFunction(sqlite3* handle, const char* name,
                      void (*function)(sqlite3_context*, int, sqlite3_value**)) {
    if (sqlite3_create_function_v2(handle, name, 1,
                                   SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                                   function, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw StoreError(
            QStringLiteral("Não foi possível registrar a função %1: %2")
                .arg(QString::fromLatin1(name), QString::fromUtf8(sqlite3_errmsg(handle))));
}

// The program never lays out its data directory; the tool that does is named.
QString howToCreate(const QString& dataDir) {
    return QStringLiteral("Para criar a pasta de dados com as tabelas, execute:\n"
                          "velmora-datadir create %1\n"
                          "(ou bash scripts/run.sh, que a cria na primeira vez).")
        .arg(QDir::toNativeSeparators(dataDir));
}

// The program writes only to a store it made: a file that is not one (empty, another
// program's database) is refused before the engine writes a byte to it.
[[noreturn]] void notACatalogue(const QString& path, const QString& why, const QString& dataDir) {
    throw StoreError(
        QStringLiteral("O arquivo %1 não é um catálogo do Velmora: %2. O Velmora não grava "
                       "em um arquivo que ele não criou e o deixou como estava.\nSe o catálogo "
                       "foi trocado por engano, restaure a cópia de segurança mais recente "
                       "(velmora-datadir restore); para começar um catálogo novo, tire esse "
                       "arquivo da pasta e execute velmora-datadir create %3.")
            .arg(QDir::toNativeSeparators(path), why, QDir::toNativeSeparators(dataDir)));
}

bool holdsCatalogueTables(QSqlDatabase& db) {
    QStringList names;
    for (const TableDef& table : Schema::tables())
        names << QLatin1Char('\'') + table.name + QLatin1Char('\'');
    QSqlQuery query = runStatement(
        db, QStringLiteral("select count(*) from sqlite_master where type = 'table' and name in "
                           "(%1)")
                .arg(names.join(QLatin1Char(','))));
    return query.next() && query.value(0).toInt() > 0;
}

} // namespace

Database::Database(const QString& dataDir, bool create)
    : dataDir_(QDir::cleanPath(dataDir)), connection_(nextConnectionName()),
      shortcuts_(std::make_unique<FastPaths>(*this)) {
    if (dataDir.isEmpty() || !QFileInfo(dataDir_).isDir())
        throw StoreError(QStringLiteral("Diretório de dados não encontrado: %1\n%2")
                             .arg(dataDir, howToCreate(dataDir_)));
    const QString path = QDir(dataDir_).filePath(QString::fromLatin1(fileName));
    if (!create && !QFileInfo::exists(path)) {
        // Without the store every table is missing; name the first as a missing table would be.
        throw StoreError(QStringLiteral("Tabela não encontrada: %1 (o arquivo %2 não existe)\n%3")
                             .arg(Schema::tables().first().fileName, path, howToCreate(dataDir_)));
    }
    if (const QFileInfo store(path); !create && !store.isFile())
        notACatalogue(path, QStringLiteral("não é um arquivo comum"), dataDir_);
    else if (!create && store.size() == 0)
        notACatalogue(path, QStringLiteral("o arquivo está vazio (0 bytes)"), dataDir_);

    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db_.setDatabaseName(path);
    const QFileInfo folder(dataDir_);
    readOnly_ = !create && (!QFileInfo(path).isWritable() || !folder.isWritable());
    if (readOnly_) {
        QString options = QStringLiteral("QSQLITE_OPEN_READONLY");
        // In a folder it cannot write, the engine cannot make the shared-memory file a
        // WAL store needs; with no journal left over the file alone is the catalogue.
        if (!folder.isWritable() && !QFileInfo::exists(path + QStringLiteral("-wal"))) {
            options += QStringLiteral(";QSQLITE_OPEN_URI");
            db_.setDatabaseName(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) +
                                QStringLiteral("?immutable=1"));
        }
        db_.setConnectOptions(options);
    }
    if (!db_.open()) {
        const QString why = engineMessage(db_.lastError());
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection_);
        throw StoreError(QStringLiteral("Não foi possível abrir %1: %2").arg(path, why));
    }
    try {
        sqlite3* handle = engineHandle(db_);
        if (!handle)
            throw StoreError(
                QStringLiteral("O driver SQLite não expôs a conexão com %1.").arg(path));
        registerFunction(handle, "upper", textFunction<unicodeUpper>);
        registerFunction(handle, "fold", textFunction<foldedText>);
        registerFunction(handle, "orderprefix", orderPrefixFunction);
        registerFunction(handle, "pieces", jsonFunction<Search::piecesOf>);
        registerFunction(handle, "joins", jsonFunction<Search::joinsJson>);
        registerFunction(handle, "wordpairs", jsonFunction<Search::pairsJson>);
        registerFunction(handle, "words", jsonFunction<Search::wordsJson>);
        sqlite3_commit_hook(handle, &Database::transactionEnded, this);
        sqlite3_rollback_hook(handle, &Database::rolledBack, this);
        if (!create && !holdsCatalogueTables(db_))
            notACatalogue(path,
                          QStringLiteral("é um banco de dados sem nenhuma das tabelas do Velmora"),
                          dataDir_);
        exec(QStringLiteral("PRAGMA case_sensitive_like = ON"));
        // WAL lets a listing stay open while a row is posted; FULL makes every post
        // survive a power cut, not just a crash of the program.
        if (!readOnly_) {
            exec(QStringLiteral("PRAGMA journal_mode = WAL"));
            exec(QStringLiteral("PRAGMA synchronous = FULL"));
        }
    } catch (...) {
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection_);
        throw;
    }
}

Database::~Database() {
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connection_);
}

QString Database::filePath() const {
    return QDir(dataDir_).filePath(QString::fromLatin1(fileName));
}

void Database::exec(const QString& sql) {
    runStatement(db_, sql);
}

QVariant Database::value(const QString& sql) {
    QSqlQuery query = runStatement(db_, sql);
    return query.next() ? query.value(0) : QVariant();
}

std::pair<qint64, qint64> Database::changeStamp() {
    // data_version moves when another connection commits; total_changes when this one writes.
    const qint64 others = value(QStringLiteral("PRAGMA data_version")).toLongLong();
    sqlite3* handle = engineHandle(db_);
    return {others, handle ? qint64(sqlite3_total_changes64(handle)) : 0};
}

std::pair<qint64, qint64> Database::writeStamp() const {
    sqlite3* handle = engineHandle(db_);
    if (!handle)
        return {0, endedTransactions_};
    unsigned int version = 0;
    sqlite3_file_control(handle, "main", SQLITE_FCNTL_DATA_VERSION, &version);
    return {qint64(version), qint64(sqlite3_total_changes64(handle)) + endedTransactions_};
}

int Database::transactionEnded(void* self) {
    ++static_cast<Database*>(self)->endedTransactions_;
    return 0; // the commit goes on
}

void Database::rolledBack(void* self) {
    transactionEnded(self);
}

QString Database::damage(const QString& dataDir) {
    const QString path = QDir(dataDir).filePath(QString::fromLatin1(fileName));
    if (!QFileInfo(path).isFile())
        return {};
    sqlite3* handle = nullptr;
    const QByteArray name = QFile::encodeName(path);
    // Only the engine's own verdict counts: a file it cannot open for other reasons
    // (permissions, a folder it cannot write) is no damage.
    const auto damaged = [&] {
        const int code = sqlite3_errcode(handle) & 0xFF;
        return code == SQLITE_CORRUPT || code == SQLITE_NOTADB;
    };
    QString found;
    if (sqlite3_open_v2(name.constData(), &handle, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        if (damaged())
            found = QString::fromUtf8(sqlite3_errmsg(handle));
    } else {
        sqlite3_stmt* statement = nullptr;
        int rc = sqlite3_prepare_v2(handle, "PRAGMA quick_check(20)", -1, &statement, nullptr);
        QStringList lines;
        while (rc == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW)
            lines << QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        if (damaged())
            found = QString::fromUtf8(sqlite3_errmsg(handle));
        else if (lines != QStringList{QStringLiteral("ok")} && !lines.isEmpty())
            found = lines.join(u'\n');
        sqlite3_finalize(statement);
    }
    sqlite3_close(handle);
    return found;
}

QString Database::defaultDir() {
#ifdef Q_OS_WIN
    return QStringLiteral("C:/Velmora");
#else
    return QDir::homePath() + QStringLiteral("/Velmora");
#endif
}

Transaction::Transaction(Database& db) : db_(db) {
    if (!db_.handle().transaction())
        throw StoreError(QStringLiteral("Não foi possível iniciar a transação: %1")
                             .arg(engineMessage(db_.handle(), db_.handle().lastError())));
}

Transaction::~Transaction() {
    if (!done_)
        db_.handle().rollback();
}

void Transaction::commit() {
    if (!db_.handle().commit())
        throw StoreError(QStringLiteral("Não foi possível gravar a transação: %1")
                             .arg(engineMessage(db_.handle(), db_.handle().lastError())));
    done_ = true;
    db_.committed();
}

} // namespace velmora
