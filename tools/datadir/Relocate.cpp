#include "tools/datadir/Relocate.h"

#include "store/Schema.h"
#include "store/StoreError.h"
#include "tools/datadir/PicturePaths.h"
#include "tools/datadir/StoreAccess.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace velmora::datadir {

namespace {

// One table's rows whose picture paths change.
struct TableChanges {
    const TableDef* def = nullptr;
    QStringList columns;      // its picture columns
    QList<QVariantList> rows; // new values of columns, then the rowid
};

QSqlQuery run(Database& db, const QString& sql) {
    return runStatement(db.handle(), sql);
}

class Relocation final {
public:
    Relocation(Database& db, const RelocateOptions& options, RelocateReport& report)
        : db_(db), options_(options), report_(report), index_(report.dir) {}

    QList<TableChanges> plan() {
        QList<TableChanges> changes;
        for (const char* table : {"Paises", "UF", "Federacao", "Clubes"})
            changes.append(planTable(Schema::table(QLatin1String(table))));
        return changes;
    }

private:
    struct Mapped {
        QString target; // empty: no such file in the data directory
        QString root;   // the data directory the path pointed into
    };

    Database& db_;
    const RelocateOptions& options_;
    RelocateReport& report_;
    FolderIndex index_;
    QHash<QString, Mapped> mapped_;

    TableChanges planTable(const TableDef& def) {
        TableChanges t{&def, {}, {}};
        QStringList key;
        for (const PictureField& pf : pictureFields())
            if (def.name == QLatin1String(pf.table)) {
                t.columns << QLatin1String(pf.field);
                key = pf.key;
            }
        QStringList select = {QStringLiteral("rowid")};
        for (const QString& c : key + t.columns)
            select << quotedName(c);
        QSqlQuery query =
            run(db_, QStringLiteral("select %1 from %2 order by rowid")
                         .arg(select.join(QStringLiteral(", ")), quotedName(def.name)));
        const int first = 1 + int(key.size());
        while (query.next()) {
            QVariantList values;
            bool changed = false;
            for (int i = 0; i < t.columns.size(); ++i) {
                const QString path = query.value(first + i).toString();
                const QString moved = movedPath(def, query, int(key.size()), t.columns[i], path);
                changed |= moved != path;
                values << moved;
            }
            if (changed) {
                values << query.value(0);
                t.rows.append(values);
                ++report_.rows;
            }
        }
        return t;
    }

    Problem problem(const TableDef& def, const QSqlQuery& row, int keys, const QString& field,
                    const QString& path, const QString& reason) const {
        QStringList key;
        for (int i = 0; i < keys; ++i)
            key << row.value(1 + i).toString();
        return {def.fileName, key.join(QStringLiteral(" - ")), field, path, reason};
    }

    // The path inside the data directory for one stored path (the same path when it
    // stays: empty, already inside, or stopped).
    QString movedPath(const TableDef& def, const QSqlQuery& row, int keys, const QString& field,
                      const QString& path) {
        if (path.isEmpty() || insideDir(path, report_.dir))
            return path;
        Mapped mapped = map(path);
        if (mapped.target.isEmpty()) {
            const auto parts = splitPicturePath(path);
            const QString reason = parts ? QStringLiteral("falta o arquivo %1/%2 na pasta")
                                               .arg(parts->folder, parts->name)
                                         : QStringLiteral("não fica numa pasta de figuras (%1)")
                                               .arg(pictureFolders().join(QStringLiteral(", ")));
            if (!parts || !options_.pointMissing) {
                (options_.force ? report_.skipped : report_.blocking)
                    .append(problem(def, row, keys, field, path, reason));
                return path;
            }
            mapped.target = index_.folderPath(parts->folder) + QLatin1Char('/') + parts->name;
            report_.missing.append(problem(def, row, keys, field, mapped.target, reason));
        }
        const QString& target = mapped.target;
        const int width = widthOf(def, field);
        if (target.size() > width) {
            report_.blocking.append(
                problem(def, row, keys, field, path,
                        QStringLiteral("o novo caminho teria %1 caracteres, mais que os %2 do "
                                       "campo: %3")
                            .arg(target.size())
                            .arg(width)
                            .arg(target)));
            return path;
        }
        ++report_.from[mapped.root];
        ++report_.changed;
        return target;
    }

    // Flags and logos repeat on every club: each distinct path is looked up once.
    Mapped map(const QString& path) {
        if (const auto found = mapped_.constFind(path); found != mapped_.constEnd())
            return *found;
        const auto parts = splitPicturePath(path);
        Mapped m{parts ? index_.find(parts->folder, parts->name) : QString(), foreignRoot(path)};
        if (!m.target.isEmpty())
            mapped_.insert(path, m);
        return m;
    }

    static int widthOf(const TableDef& def, const QString& field) {
        for (const FieldDef& f : def.fields)
            if (f.name == field)
                return f.width;
        return 0;
    }
};

void apply(Database& db, const QList<TableChanges>& changes) {
    for (const TableChanges& t : changes) {
        if (t.rows.isEmpty())
            continue;
        QStringList sets;
        for (const QString& c : t.columns)
            sets << quotedName(c) + QStringLiteral(" = ?");
        QSqlQuery query(db.handle());
        if (!query.prepare(QStringLiteral("update %1 set %2 where rowid = ?")
                               .arg(quotedName(t.def->name), sets.join(QStringLiteral(", ")))))
            throw StoreError(engineMessage(db.handle(), query.lastError()));
        for (const QVariantList& row : t.rows) {
            for (const QVariant& v : row)
                query.addBindValue(v);
            if (!query.exec())
                throw StoreError(QStringLiteral("%1: %2").arg(
                    t.def->fileName, engineMessage(db.handle(), query.lastError())));
        }
    }
}

} // namespace

RelocateReport relocate(const RelocateOptions& options) {
    RelocateReport report;
    report.dir = existingDir(options.dir);
    std::unique_ptr<Database> db = openStore(report.dir, &report.upgradeNotice);
    try {
        // Read and written in one transaction: a row the program saves meanwhile
        // makes the commit fail instead of being overwritten.
        Transaction transaction(*db);
        Relocation relocation(*db, options, report);
        const QList<TableChanges> changes = relocation.plan();
        if (!report.blocking.isEmpty()) {
            report.changed = 0;
            report.rows = 0;
            report.from.clear();
            return report; // all or nothing
        }
        apply(*db, changes);
        transaction.commit();
        report.applied = true;
    } catch (const StoreError& e) {
        throw DataDirError(
            Exit::Failed,
            QStringLiteral("Erro ao corrigir os caminhos; nada foi alterado: %1").arg(e.text()));
    }
    return report;
}

} // namespace velmora::datadir
