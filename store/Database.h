#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <utility>

namespace velmora {

// One SQLite connection on <dataDir>/Velmora.sqlite, set up for the program's
// statements: case-sensitive LIKE, an upper() that upper-cases accented letters and
// fold(), the upper-cased text without accents that names are ordered and searched by.
class Database final {
public:
    static constexpr const char* fileName = "Velmora.sqlite";
    // The program's fixed data directory: ~/Velmora (C:/Velmora on Windows).
    static QString defaultDir();

    // Opens an existing store; throws StoreError when the directory or the file is
    // missing (create = false) or cannot be opened.
    explicit Database(const QString& dataDir, bool create = false);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    QSqlDatabase& handle() { return db_; }
    const QString& dataDir() const { return dataDir_; }
    QString filePath() const; // <dataDir>/Velmora.sqlite

    // Runs one SQLite statement (no result); throws StoreError.
    void exec(const QString& sql);
    // First column of the first row of one SQLite statement (invalid when no row).
    QVariant value(const QString& sql);
    // Changes whenever a row may have changed, through this connection or another.
    std::pair<qint64, qint64> changeStamp();

private:
    QString dataDir_;
    QString connection_;
    QSqlDatabase db_;
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
