#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <utility>

struct sqlite3;

namespace velmora {

class FastPaths;
class Statement;

// One SQLite connection on <dataDir>/Velmora.sqlite, set up for the program's
// statements: case-sensitive LIKE, an upper() that upper-cases accented letters and
// fold(), the upper-cased text without accents that names are ordered and searched by.
class Database final {
public:
    static constexpr const char* fileName = "Velmora.sqlite";
    // The program's fixed data directory: ~/Velmora (C:/Velmora on Windows).
    static QString defaultDir();

    // Opens an existing store; throws StoreError when the directory or the file is
    // missing (create = false) or cannot be opened. A store whose file or folder cannot
    // be written is opened for reading only (see readOnly()).
    explicit Database(const QString& dataDir, bool create = false);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    QSqlDatabase& handle() { return db_; }
    const QString& dataDir() const { return dataDir_; }
    QString filePath() const; // <dataDir>/Velmora.sqlite
    // True when the store file or its folder cannot be written: nothing may be saved.
    bool readOnly() const { return readOnly_; }

    // The engine's account of damage in dataDir's store, "" when it finds none (or
    // there is no store to look at). Reads only; used to explain a failed opening.
    static QString damage(const QString& dataDir);

    // Runs one SQLite statement (no result); throws StoreError.
    void exec(const QString& sql);
    // First column of the first row of one SQLite statement (invalid when no row).
    QVariant value(const QString& sql);
    // Changes whenever a row may have changed, through this connection or another.
    std::pair<qint64, qint64> changeStamp();
    // The same without running a statement: it moves with every write of this
    // connection at once, and with another's once a statement of this one has read
    // since (the engine looks at the file when a read begins).
    std::pair<qint64, qint64> writeStamp() const;

    // Called after every transaction this connection commits (one listener).
    void setCommitted(std::function<void()> listener) { committed_ = std::move(listener); }
    void committed() {
        if (committed_)
            committed_();
    }

    // Whether query objects may run a faster equivalent of a statement (FastPaths);
    // off, every statement runs exactly as written.
    bool fastPaths() const { return fastPaths_; }
    void setFastPaths(bool on) { fastPaths_ = on; }
    // The shortcuts' choices, kept while the store is unchanged.
    FastPaths& shortcuts() { return *shortcuts_; }
    // Told of every store statement (Statements) a query object runs, and whether it ran
    // through its shortcut: how the tests see that the windows keep their speed.
    using StatementWatcher = std::function<void(const Statement&, bool shortcut)>;
    void watchStatements(StatementWatcher watcher) { watcher_ = std::move(watcher); }
    void ran(const Statement& statement, bool shortcut) {
        if (watcher_)
            watcher_(statement, shortcut);
    }
    // Above this many matching clubs a listing walks the name index and filters;
    // up to it, it reads the matches through their own index and sorts them.
    int sortLimit() const { return sortLimit_; }
    void setSortLimit(int clubs) { sortLimit_ = clubs; }

private:
    static int transactionEnded(void* self); // the engine's commit and rollback hooks
    static void rolledBack(void* self);

    QString dataDir_;
    QString connection_;
    QSqlDatabase db_;
    bool readOnly_ = false;
    bool fastPaths_ = true;
    int sortLimit_ = 4000;
    std::unique_ptr<FastPaths> shortcuts_;
    StatementWatcher watcher_;
    std::function<void()> committed_;
    // Commits and rollbacks of this connection, told by the engine (a rollback undoes
    // changes without counting any).
    qint64 endedTransactions_ = 0;
};

// Rolls back unless commit() was called.
class Transaction final {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    void commit();

private:
    Database& db_;
    bool done_ = false;
};

} // namespace velmora
