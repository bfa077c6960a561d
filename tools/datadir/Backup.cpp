#include "tools/datadir/Backup.h"

#include "store/Database.h"
#include "store/StoreError.h"
#include "tools/datadir/FileUndo.h"
#include "tools/datadir/PicturePaths.h"
#include "tools/datadir/StoreAccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <sqlite3.h>

namespace velmora::datadir {

namespace {

QString storeOf(const QString& root) {
    return QDir(root).filePath(QLatin1String(Database::fileName));
}

// A raw connection, closed however the copy ends.
class Connection final {
public:
    Connection(const QString& path, int flags) {
        const int rc =
            sqlite3_open_v2(QFile::encodeName(path).constData(), &handle_, flags, nullptr);
        if (rc != SQLITE_OK)
            throw DataDirError(Exit::Failed,
                               QStringLiteral("Não foi possível abrir %1: %2").arg(path, error()));
        sqlite3_busy_timeout(handle_, 10000);
    }
    ~Connection() { sqlite3_close_v2(handle_); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    sqlite3* handle() const { return handle_; }
    QString error() const {
        if (!handle_)
            return QStringLiteral("sem memória");
        return engineMessage(sqlite3_extended_errcode(handle_),
                             QString::fromUtf8(sqlite3_errmsg(handle_)),
                             sqlite3_system_errno(handle_));
    }
    void exec(const char* sql) {
        if (sqlite3_exec(handle_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            throw DataDirError(Exit::Failed, error());
    }

private:
    sqlite3* handle_ = nullptr;
};

// Copies the store file from into the new file to with SQLite's online backup:
// one read snapshot, so a program writing meanwhile neither waits long nor leaves
// half a transaction in the copy. The copy is a single file (no write-ahead log).
void copyStore(const QString& from, const QString& to) {
    Connection source(from, SQLITE_OPEN_READWRITE);
    Connection target(to, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXCLUSIVE);
    sqlite3_backup* backup = sqlite3_backup_init(target.handle(), "main", source.handle(), "main");
    if (!backup)
        throw DataDirError(
            Exit::Failed,
            QStringLiteral("Não foi possível copiar %1: %2").arg(from, target.error()));
    int rc;
    for (int tries = 0;; ++tries) {
        rc = sqlite3_backup_step(backup, -1);
        if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) || tries == 50)
            break;
        QThread::msleep(100);
    }
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        throw DataDirError(Exit::Failed,
                           QStringLiteral("Não foi possível copiar %1: %2")
                               .arg(from, engineMessage(rc, QString::fromUtf8(sqlite3_errstr(rc)),
                                                        sqlite3_system_errno(target.handle()))));
    target.exec("PRAGMA journal_mode = DELETE");
}

int countClubs(const QString& root) {
    Connection c(storeOf(root), SQLITE_OPEN_READONLY);
    sqlite3_stmt* statement = nullptr;
    int clubs = 0;
    if (sqlite3_prepare_v2(c.handle(), "select count(*) from Clubes", -1, &statement, nullptr) ==
            SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        clubs = sqlite3_column_int(statement, 0);
    sqlite3_finalize(statement);
    return clubs;
}

void refuseDamaged(const QString& root, const QString& what) {
    if (const QStringList damage = storeDamage(root); !damage.isEmpty())
        throw DataDirError(Exit::Problems,
                           QStringLiteral("O arquivo de dados %1 está danificado "
                                          "e não serve como %2: %3")
                               .arg(storeOf(root), what, damage.join(QStringLiteral("; "))));
}

// A new folder under dest, named with the date and time; a name already taken
// (two backups in one second) gets a number, nothing is reused.
QString newBackupFolder(const QString& dest, const QDateTime& now, Undo& undo) {
    makeDir(dest, undo);
    const QString stem = QDir(dest).filePath(QStringLiteral("Velmora-copia-") +
                                             now.toString(QStringLiteral("yyyy-MM-dd-HHmmss")));
    QString folder = stem;
    for (int n = 2; !QDir().mkdir(folder); ++n) {
        if (!QFileInfo::exists(folder))
            throw DataDirError(
                Exit::BadDir, QFileInfo(dest).isWritable()
                                  ? QStringLiteral("Não foi possível criar a pasta %1.").arg(folder)
                                  : QStringLiteral("Não foi possível criar a pasta %1: sem "
                                                   "permissão de escrita.")
                                        .arg(folder));
        folder = stem + QStringLiteral("-%1").arg(n);
    }
    undo.addDir(folder);
    return folder;
}

// Copies the four picture folders of from (as spelled there) into to.
int copyPictures(const QString& from, const QString& to, Undo& undo) {
    const FolderIndex index(from);
    int copied = 0;
    for (const QString& folder : pictureFolders()) {
        const QString source = index.folderPath(folder);
        const QString target = to + QLatin1Char('/') + folder;
        if (QFileInfo(source).isDir())
            copied += copyFolder(source, target, undo);
        else
            makeDir(target, undo);
    }
    return copied;
}

// Files an upgrade keeps beside the store ("Velmora-v1.sqlite").
QStringList keptCopies(const QString& root) {
    return QDir(root).entryList(
        {QFileInfo(QLatin1String(Database::fileName)).completeBaseName() + QStringLiteral("-v*")},
        QDir::Files);
}

void requireStore(const QString& root, const QString& what) {
    if (!QFileInfo(storeOf(root)).isFile())
        throw DataDirError(Exit::BadDir, QStringLiteral("%1 não é %2: falta o arquivo %3.")
                                             .arg(root, what, QLatin1String(Database::fileName)));
}

} // namespace

BackupReport backup(const QString& dir, const QString& dest, const QDateTime& now) {
    const QString root = existingDir(dir);
    requireStore(root, QStringLiteral("uma pasta de dados do Velmora"));
    const QString target = QDir::cleanPath(QFileInfo(dest).absoluteFilePath());
    // A destination reaching the folder through a symbolic link would copy it into itself.
    if (sameOrInside(target, root))
        throw DataDirError(Exit::BadDir, QStringLiteral("A cópia de segurança não pode ficar "
                                                        "dentro da própria pasta de dados (%1).")
                                             .arg(root));
    refuseDamaged(root, QStringLiteral("origem de uma cópia de segurança; restaure uma cópia "
                                       "anterior"));
    Undo undo;
    BackupReport report;
    report.folder = newBackupFolder(target, now, undo);
    const QString store = storeOf(report.folder);
    undo.addFile(store);
    undo.addFile(store + QStringLiteral("-journal"));
    copyStore(storeOf(root), store);
    report.pictures = copyPictures(root, report.folder, undo);
    report.clubs = countClubs(report.folder);
    syncToDisk(report.folder);
    undo.keep();
    return report;
}

RestoreReport restore(const QString& backupFolder, const QString& dir) {
    const QString from = existingDir(backupFolder);
    requireStore(from, QStringLiteral("uma cópia de segurança do Velmora"));
    const QString root = QDir::cleanPath(QFileInfo(dir).absoluteFilePath());
    if (QFileInfo::exists(storeOf(root)))
        throw DataDirError(Exit::Refused,
                           QStringLiteral("A pasta %1 já tem um arquivo de dados (%2). Nada foi "
                                          "alterado: restaure numa pasta nova ou vazia.")
                               .arg(root, QLatin1String(Database::fileName)));
    if (sameOrInside(root, from))
        throw DataDirError(Exit::BadDir,
                           QStringLiteral("A pasta de dados %1 não pode ficar dentro da própria "
                                          "cópia de segurança (%2).")
                               .arg(root, from));
    refuseDamaged(from, QStringLiteral("cópia de segurança"));
    Undo undo;
    makeDir(root, undo);
    RestoreReport report;
    const QString store = storeOf(root);
    for (const QString& suffix :
         {QString(), QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm")})
        undo.addFile(store + suffix);
    report.pictures = copyPictures(from, root, undo);
    copyStore(storeOf(from), store);
    const QStringList keptBefore = keptCopies(root);
    // A picture the backup lacks is pointed into root anyway: check then names the
    // missing file instead of sending the user to relocate.
    report.relocation = relocate({root, true, true});
    if (!report.relocation.applied) {
        // Opening may have upgraded an older store and kept its old file: that goes too.
        for (const QString& kept : keptCopies(root))
            if (!keptBefore.contains(kept))
                undo.addFile(QDir(root).filePath(kept));
        const Problem& p = report.relocation.blocking.first();
        throw DataDirError(Exit::BadDir,
                           QStringLiteral("Não foi possível restaurar em %1: %2 (%3, %4, %5). "
                                          "Nada ficou na pasta.")
                               .arg(root, p.reason, p.table, p.key, p.field));
    }
    report.clubs = countClubs(root);
    syncToDisk(root);
    undo.keep();
    return report;
}

} // namespace velmora::datadir
