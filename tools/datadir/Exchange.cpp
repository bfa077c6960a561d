#include "tools/datadir/Exchange.h"

#include "core/Files.h"
#include "core/System.h"
#include "store/Database.h"
#include "store/Folding.h"
#include "store/Module.h"
#include "store/Schema.h"
#include "store/StoreError.h"
#include "tools/datadir/ClubRules.h"
#include "tools/datadir/CopyNew.h"
#include "tools/datadir/Csv.h"
#include "tools/datadir/DataDir.h"
#include "tools/datadir/FileUndo.h"
#include "tools/datadir/FreeNames.h"
#include "tools/datadir/Rows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <cerrno>
#include <optional>

namespace velmora::datadir {

namespace {

constexpr int maxPicturePath = 100;

const QStringList& pictureColumns() {
    static const QStringList columns = {
        QStringLiteral("EscudoClube"), QStringLiteral("BandeiraPais"), QStringLiteral("BandeiraUF"),
        QStringLiteral("LogoFederacao")};
    return columns;
}

const OrderKeyDef& clubsOrderKey() {
    const QList<OrderKeyDef>& keys = Schema::orderKeys();
    return *std::find_if(keys.begin(), keys.end(),
                         [](const OrderKeyDef& k) { return k.table == QLatin1String("Clubes"); });
}

const TableDef& clubsTable() {
    return Schema::table(QStringLiteral("Clubes"));
}

QStringList fieldNames() {
    QStringList names;
    for (const FieldDef& f : clubsTable().fields)
        names << f.name;
    return names;
}

QString absolute(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

[[noreturn]] void storeFailed(const QString& root, const StoreError& e) {
    throw DataDirError(Exit::Problems,
                       QStringLiteral("O arquivo de dados de %1 não abre: %2").arg(root, e.text()));
}

// A path inside root, relative to it with '/'; any other path as it is.
QString relativeTo(const QString& root, const QString& path) {
    if (path.isEmpty())
        return path;
    const QString clean = QDir::cleanPath(path);
    if (clean.startsWith(root + QLatin1Char('/')))
        return clean.mid(root.size() + 1);
    return path;
}

void refuseExisting(const QString& file) {
    if (QFileInfo::exists(file))
        throw DataDirError(Exit::Refused,
                           QStringLiteral("O arquivo %1 já existe. Nada foi gravado: escolha "
                                          "outro nome (velmora-datadir nunca sobrescreve "
                                          "arquivos).")
                               .arg(file));
}

} // namespace

int exportClubs(const ExportOptions& options) {
    const QString root = absolute(options.dir);
    const QString file = absolute(options.file);
    refuseExisting(file);
    QString text;
    const QStringList names = fieldNames();
    csv::appendRecord(text, names, options.separator);
    int count = 0;
    try {
        TFrmDm dm(root); // the store opens, and is checked, as the program opens it
        QStringList columns;
        for (const QString& n : names)
            columns << QLatin1Char('"') + n + QLatin1Char('"');
        QSqlQuery query(dm.database().handle());
        query.setForwardOnly(true);
        if (!query.exec(QStringLiteral("select %1 from Clubes order by Codigo")
                            .arg(columns.join(QStringLiteral(", ")))))
            throw StoreError(query.lastError().text());
        const QList<int> pictures = [&] {
            QList<int> list;
            for (const QString& c : pictureColumns())
                list << int(names.indexOf(c));
            return list;
        }();
        QStringList row(names.size());
        while (query.next()) {
            for (int i = 0; i < names.size(); ++i)
                row[i] = query.value(i).toString();
            for (int i : pictures)
                row[i] = relativeTo(root, row[i]);
            csv::appendRecord(text, row, options.separator);
            ++count;
        }
    } catch (const StoreError& e) {
        storeFailed(root, e);
    }
    QSaveFile out(file);
    const QByteArray bytes = text.toUtf8();
    // A write cut short (a full disk) is a failure too: never half a file.
    if (!out.open(QIODevice::WriteOnly) || out.write(csv::byteOrderMark) < 0 ||
        out.write(bytes) != bytes.size() || !out.flush() || !out.commit())
        throw DataDirError(Exit::BadDir, QStringLiteral("Não foi possível gravar %1: %2")
                                             .arg(file, files::writeFailure(out, errno)));
    return count;
}

namespace {

struct Pending {
    int line = 0;
    Club club;
    QString badgeSource;
    QString badgeTarget;
    qint64 code = 0;
};

struct BadgePlan {
    int line = 0;
    QString source;
    QString target;
};

// The header names the columns; any order, any letter case, each of the seventeen once.
QList<int> mapHeader(const csv::Record& header, QList<LineProblem>& problems) {
    const QStringList names = fieldNames();
    QList<int> columnOf(names.size(), -1);
    for (qsizetype c = 0; c < header.fields.size(); ++c) {
        const QString& given = header.fields[c];
        const auto it = std::find_if(names.begin(), names.end(), [&](const QString& n) {
            return n.compare(given.trimmed(), Qt::CaseInsensitive) == 0;
        });
        if (it == names.end()) {
            problems.append({header.line, given, QStringLiteral("coluna desconhecida")});
            continue;
        }
        const qsizetype field = it - names.begin();
        if (columnOf[field] >= 0)
            problems.append({header.line, *it, QStringLiteral("coluna repetida")});
        columnOf[field] = int(c);
    }
    for (qsizetype f = 0; f < names.size(); ++f)
        if (columnOf[f] < 0)
            problems.append({header.line, names[f], QStringLiteral("falta esta coluna")});
    return columnOf;
}

class Importer final {
public:
    Importer(const ImportOptions& options, Database& db, int year)
        : badgeFolder_(absolute(options.dir) + QLatin1Char('/') + QLatin1String(badgesDir)),
          base_(options.pictures.isEmpty() ? QFileInfo(absolute(options.file)).path()
                                           : absolute(options.pictures)),
          upkeep_(options.indexes), db_(db), rules_(db, year) {}

    // Takes the records' texts over, so a big file is not held twice.
    ImportReport run(csv::Table& table) {
        for (const csv::LineError& e : table.errors)
            report_.problems.append({e.line, QString(), e.reason});
        if (table.records.isEmpty()) {
            report_.problems.append(
                {1, QString(), QStringLiteral("arquivo sem linha de cabeçalho")});
            return report_;
        }
        const QList<int> columns = mapHeader(table.records.first(), report_.problems);
        if (!report_.problems.isEmpty())
            return report_;
        // The badges start copying before the rows are checked: for a big import the
        // copies are the longest part, and on a refusal they are removed again.
        planBadges(table, columns);
        std::optional<BackgroundCopies> copies;
        if (report_.problems.isEmpty())
            copies.emplace(badgeCopies());
        pending_.reserve(table.records.size());
        for (qsizetype r = 1; r < table.records.size(); ++r)
            readRecord(table.records[r], columns, table.records.first().fields.size(), plans_[r]);
        table.records.clear();
        if (!report_.problems.isEmpty())
            return report_;
        assignCodes();
        if (!report_.problems.isEmpty())
            return report_;
        write(*copies);
        report_.added = int(pending_.size());
        return report_;
    }

private:
    void problem(int line, const QString& field, const QString& reason) {
        report_.problems.append({line, field, reason});
    }

    QString badgeSource(const QString& path) const {
        if (path.isEmpty() || QDir::isAbsolutePath(path))
            return path;
        return QDir::cleanPath(base_ + QLatin1Char('/') + path);
    }

    void readRecord(csv::Record& record, const QList<int>& columns, qsizetype width,
                    const BadgePlan& badge) {
        if (record.fields.size() != width) {
            problem(record.line, QString(),
                    QStringLiteral("%1 campos em vez de %2").arg(record.fields.size()).arg(width));
            return;
        }
        Pending p;
        p.line = record.line;
        for (qsizetype f = 0; f < names_.size(); ++f)
            p.club.insert(names_[f], std::move(record.fields[columns[f]]));
        p.badgeSource = badge.source;
        p.badgeTarget = badge.target;
        p.club[QStringLiteral("EscudoClube")] = p.badgeSource;
        for (const FieldProblem& fp : rules_.apply(p.club))
            problem(p.line, fp.field, fp.reason);
        const QString name = p.club.value(QStringLiteral("NomeClube"));
        if (const auto seen = namesInFile_.constFind(name);
            !name.isEmpty() && seen != namesInFile_.cend())
            problem(p.line, QStringLiteral("NomeClube"),
                    QStringLiteral("nome repetido: a linha %1 já tem \"%2\"").arg(*seen).arg(name));
        else
            namesInFile_.insert(name, p.line);
        readCode(p);
        pending_.append(std::move(p));
    }

    void readCode(Pending& p) {
        const QString text = p.club.value(QStringLiteral("Codigo"));
        if (text.isEmpty())
            return;
        bool ok = false;
        p.code = text.toLongLong(&ok);
        if (!ok || p.code < 1 || p.code > std::numeric_limits<qint32>::max()) {
            problem(p.line, QStringLiteral("Codigo"),
                    QStringLiteral("\"%1\" não é um código (número inteiro de 1 a %2)")
                        .arg(text)
                        .arg(std::numeric_limits<qint32>::max()));
            p.code = 0;
        }
    }

    // A code is kept while free; the others are numbered as the editor numbers a new
    // club: one above the highest code.
    void assignCodes() {
        QSet<qint64> taken = rules_.storedCodes();
        QList<Pending*> numbered;
        for (Pending& p : pending_) {
            if (p.code > 0 && !taken.contains(p.code)) {
                taken.insert(p.code);
                continue;
            }
            if (p.code > 0)
                ++report_.renumbered;
            numbered.append(&p);
        }
        qint64 highest = taken.isEmpty() ? 0 : *std::max_element(taken.begin(), taken.end());
        for (Pending* p : numbered)
            p->code = ++highest;
        if (highest > std::numeric_limits<qint32>::max())
            problem(numbered.last()->line, QStringLiteral("Codigo"),
                    QStringLiteral("não há mais códigos livres"));
    }

    // Each club gets a badge file of its own in Distintivos/, under its own name while
    // that is free, else with "-2", "-3"... before the extension. A line with the wrong
    // number of fields gets none (it is refused).
    void planBadges(const csv::Table& table, const QList<int>& columns) {
        const qsizetype column = columns[names_.indexOf(QStringLiteral("EscudoClube"))];
        const qsizetype width = table.records.first().fields.size();
        FreeNames names;
        for (const QString& name : QDir(badgeFolder_).entryList(QDir::Files | QDir::Hidden))
            names.take(name);
        plans_.resize(table.records.size());
        for (qsizetype r = 1; r < table.records.size(); ++r) {
            const csv::Record& record = table.records[r];
            if (record.fields.size() != width)
                continue;
            BadgePlan& plan = plans_[r];
            plan.line = record.line;
            plan.source = badgeSource(record.fields[column]);
            const QString wanted = QFileInfo(plan.source).fileName();
            const QString name = names.next(wanted);
            if (name != wanted)
                ++report_.badgesRenamed;
            plan.target = badgeFolder_ + QLatin1Char('/') + name;
            if (plan.target.size() > maxPicturePath)
                problem(record.line, QStringLiteral("EscudoClube"),
                        QStringLiteral("o distintivo ficaria em %1, %2 caracteres; o campo aceita "
                                       "%3")
                            .arg(plan.target)
                            .arg(plan.target.size())
                            .arg(maxPicturePath));
        }
    }

    QList<BackgroundCopies::File> badgeCopies() const {
        QDir().mkpath(badgeFolder_);
        QList<BackgroundCopies::File> files;
        files.reserve(plans_.size());
        for (const BadgePlan& plan : plans_) {
            if (!plan.target.isEmpty())
                files.append({plan.source, plan.target, plan.line});
        }
        return files;
    }

    // The rows go in while the badges are copied; they are committed only once every
    // copy is on disk, so a crash never leaves a club naming a badge that is not there.
    // Any failure removes the copies and writes no row.
    void write(BackgroundCopies& copies) {
        Transaction transaction(db_);
        insertRows();
        QString reason;
        if (const BackgroundCopies::File* failed = copies.finish(reason))
            throw DataDirError(Exit::Failed,
                               QStringLiteral("Distintivo da linha %1: %2. Nada foi importado.")
                                   .arg(failed->line)
                                   .arg(reason));
        if (!syncToDisk(badgeFolder_))
            throw DataDirError(Exit::Failed,
                               QStringLiteral("Os distintivos copiados para %1 não puderam ser "
                                              "gravados no disco. Nada foi importado.")
                                   .arg(badgeFolder_));
        transaction.commit();
        copies.keep();
    }

    // Rows one by one keep every index, count and search index up to date as they go;
    // for an import as big as the catalogue (or bigger) dropping them and building
    // them once after the rows is several times cheaper, with the same content.
    bool rebuildIndexes() const {
        switch (upkeep_) {
        case IndexUpkeep::PerRow:
            return false;
        case IndexUpkeep::Rebuild:
            return true;
        case IndexUpkeep::Automatic:
            break;
        }
        return pending_.size() >= rules_.storedCodes().size();
    }

    void insertRows() {
        const QString code = QStringLiteral("Codigo"), badge = QStringLiteral("EscudoClube");
        const OrderKeyDef& order = clubsOrderKey();
        // The order key is written with the row, so its trigger finds nothing to do.
        TableDef def = clubsTable();
        def.fields.append({order.key, FieldType::Text, 0});
        // The whole catalogue's pages stay in memory while the indexes are built.
        db_.exec(QStringLiteral("PRAGMA cache_size = -131072"));
        const bool rebuild = rebuildIndexes();
        if (rebuild)
            Schema::dropDerivedWithin(db_.handle());
        insertEach(db_, def, pending_, [&](const Pending& p, const FieldDef& f) {
            if (f.name == code)
                return QVariant(p.code);
            if (f.name == badge)
                return QVariant(p.badgeTarget);
            if (f.name == order.key)
                return QVariant(foldedText(p.club.value(order.source)));
            const QString text = p.club.value(f.name);
            if (f.type == FieldType::Text)
                return QVariant(text);
            return text.isEmpty() ? QVariant(QMetaType(QMetaType::LongLong))
                                  : QVariant(text.toLongLong());
        });
        if (rebuild)
            Schema::buildDerivedWithin(db_.handle());
    }

    const QStringList names_ = fieldNames();
    QString badgeFolder_; // Distintivos/ of the data directory
    QString base_;
    IndexUpkeep upkeep_;
    Database& db_;
    ClubRules rules_;
    QList<BadgePlan> plans_; // by record
    QList<Pending> pending_;
    QHash<QString, int> namesInFile_;
    ImportReport report_;
};

} // namespace

ImportReport importClubs(const ImportOptions& options) {
    const QString root = absolute(options.dir);
    const QString path = absolute(options.file);
    QFile file(path);
    if (!QFileInfo(path).isFile())
        throw DataDirError(Exit::Usage, QFileInfo::exists(path)
                                            ? QStringLiteral("%1 não é um arquivo CSV.").arg(path)
                                            : QStringLiteral("O arquivo %1 não existe.").arg(path));
    if (!file.open(QIODevice::ReadOnly))
        throw DataDirError(Exit::Problems,
                           QStringLiteral("Sem permissão para ler o arquivo %1.").arg(path));
    csv::Table table = csv::read(file.readAll(), options.separator);
    const int year = options.currentYear > 0 ? options.currentYear : Clock().currentYear();
    try {
        TFrmDm dm(root);
        Importer importer(options, dm.database(), year);
        ImportReport report = importer.run(table);
        // A badge path found too long is known before the lines' other checks.
        std::ranges::stable_sort(report.problems, {}, &LineProblem::line);
        return report;
    } catch (const StoreError& e) {
        storeFailed(root, e);
    }
}

} // namespace velmora::datadir
