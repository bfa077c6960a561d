#include "tools/datadir/StoreAccess.h"

#include "store/Schema.h"
#include "store/StoreError.h"
#include "tools/datadir/DataDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <sqlite3.h>

namespace velmora::datadir {

QString existingDir(const QString& dir) {
    if (dir.isEmpty())
        throw DataDirError(Exit::Usage, QStringLiteral("Pasta de dados não informada."));
    const QString root = QDir::cleanPath(QFileInfo(dir).absoluteFilePath());
    const QFileInfo info(root);
    if (!info.exists())
        throw DataDirError(Exit::BadDir, QStringLiteral("A pasta %1 não existe.").arg(root));
    if (!info.isDir())
        throw DataDirError(Exit::BadDir, QStringLiteral("%1 não é uma pasta.").arg(root));
    return root;
}

std::unique_ptr<Database> openStore(const QString& root, QString* notice) {
    try {
        auto db = std::make_unique<Database>(root);
        const QString upgraded = Schema::check(db->handle());
        if (notice)
            *notice = upgraded;
        return db;
    } catch (const StoreError& e) {
        throw DataDirError(
            Exit::Problems,
            QStringLiteral("O arquivo de dados de %1 não abre: %2").arg(root, e.text()));
    }
}

namespace {

// Closes a raw connection however the check ends.
struct Connection final {
    sqlite3* handle = nullptr;
    ~Connection() { sqlite3_close_v2(handle); }
    QString error() const { return QString::fromUtf8(sqlite3_errmsg(handle)); }
};

} // namespace

QStringList storeDamage(const QString& root) {
    const QString path = QDir(root).filePath(QLatin1String(Database::fileName));
    if (!QFileInfo(path).isFile())
        return {}; // nothing to damage: opening it says what is wrong
    QByteArray file = QFile::encodeName(path);
    Connection c;
    // Read-write, never create: a store in WAL mode opens even without its index
    // file, and SQLite falls back to reading a file it may not write. In a folder it
    // cannot write, with no journal left over, the file alone is the catalogue.
    int flags = SQLITE_OPEN_READWRITE;
    if (!QFileInfo(root).isWritable() && !QFileInfo::exists(path + QStringLiteral("-wal"))) {
        flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_URI;
        file = QUrl::fromLocalFile(path).toEncoded() + "?immutable=1";
    }
    // Only the engine's verdict of damage counts: a store it cannot open for other
    // reasons (no permission) is not damaged, and opening it as the program does says why.
    const auto damaged = [&] {
        const int code = sqlite3_errcode(c.handle) & 0xff;
        return code == SQLITE_CORRUPT || code == SQLITE_NOTADB;
    };
    if (sqlite3_open_v2(file.constData(), &c.handle, flags, nullptr) != SQLITE_OK)
        return damaged() ? QStringList{c.error()} : QStringList{};
    sqlite3_busy_timeout(c.handle, 5000);
    // The check reads every page several times over; mapped, the pages are read in
    // place instead of copied through a small cache one system call at a time.
    const QByteArray mapped =
        QByteArray("PRAGMA mmap_size = ") + QByteArray::number(QFileInfo(path).size());
    sqlite3_exec(c.handle, mapped.constData(), nullptr, nullptr, nullptr);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(c.handle, "PRAGMA integrity_check(20)", -1, &statement, nullptr) !=
        SQLITE_OK)
        return damaged() ? QStringList{c.error()} : QStringList{};
    QStringList faults;
    int step;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        const QString line =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        if (line != QLatin1String("ok"))
            faults << line;
    }
    // A check that stops half-way has not found the store healthy; only a file the
    // engine may not read (permissions) is no verdict at all.
    const int stopped = sqlite3_errcode(c.handle) & 0xff;
    if (step != SQLITE_DONE &&
        (damaged() || (stopped != SQLITE_CANTOPEN && stopped != SQLITE_READONLY &&
                       stopped != SQLITE_PERM && stopped != SQLITE_AUTH)))
        faults << c.error();
    sqlite3_finalize(statement);
    return faults;
}

QString quotedName(const QString& identifier) {
    return QLatin1Char('"') + QString(identifier).replace(QLatin1Char('"'), QLatin1String("\"\"")) +
           QLatin1Char('"');
}

} // namespace velmora::datadir
