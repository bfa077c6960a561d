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
#include "tools/datadir/PictureCheck.h"
#include "tools/datadir/Rows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QVariant>
#include <algorithm>
#include <cerrno>
#include <cstring>
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

// Text fields are quoted, so a spreadsheet told to keep quoted fields as text keeps
// "025" and "49.205" as they are; numbers are not.
QList<bool> quotedColumns() {
    QList<bool> quoted;
    for (const FieldDef& f : clubsTable().fields)
        quoted << (f.type == FieldType::Text);
    return quoted;
}

// The badge files of an export, each copied once beside the CSV under a free name.
class ExportPictures final {
public:
    ExportPictures(const QString& csvFile, Undo& undo)
        : folder_(exportPictureFolder(csvFile)), undo_(undo) {}

    const QString& folder() const { return folder_; }
    int copied() const { return copied_; }

    // The path to write for a badge file: relative to the CSV once copied; an empty
    // text when the file is not there to copy.
    QString relativeCopy(const QString& badge) {
        if (const auto it = written_.constFind(badge); it != written_.constEnd())
            return *it;
        if (!QFileInfo(badge).isFile())
            return QString();
        if (copied_ == 0)
            makeDir(folder_, undo_);
        stopIfAsked();
        const QString name = names_.next(QFileInfo(badge).fileName());
        const QString target = folder_ + QLatin1Char('/') + name;
        if (const QString fault = copyNew(badge, target); !fault.isEmpty())
            throw DataDirError(
                QFileInfo::exists(target) ? Exit::Refused : Exit::Failed,
                QStringLiteral("Distintivo não copiado: %1. Nada foi gravado.").arg(fault));
        undo_.addFile(target);
        ++copied_;
        return *written_.insert(badge, QFileInfo(folder_).fileName() + QLatin1Char('/') + name);
    }

private:
    QString folder_;
    Undo& undo_;
    FreeNames names_;
    QHash<QString, QString> written_; // badge file -> relative path of its copy
    int copied_ = 0;
};

} // namespace

QString exportPictureFolder(const QString& file) {
    const QFileInfo info(file);
    return info.path() + QLatin1Char('/') + info.completeBaseName() +
           QStringLiteral("-distintivos");
}

ExportReport exportClubs(const ExportOptions& options) {
    const QString root = absolute(options.dir);
    const QString file = absolute(options.file);
    refuseExisting(file);
    refuseExisting(exportPictureFolder(file));
    Undo undo;
    ExportPictures pictures(file, undo);
    ExportReport report;
    QString text;
    const QStringList names = fieldNames();
    const QList<bool> quoted = quotedColumns();
    csv::appendRecord(text, names, options.separator, quoted);
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
        const QList<int> pictureColumnsAt = [&] {
            QList<int> list;
            for (const QString& c : pictureColumns())
                list << int(names.indexOf(c));
            return list;
        }();
        const int badge = int(names.indexOf(QStringLiteral("EscudoClube")));
        QStringList row(names.size());
        while (query.next()) {
            for (int i = 0; i < names.size(); ++i)
                row[i] = csv::neutralised(query.value(i).toString());
            const QString copy = pictures.relativeCopy(query.value(badge).toString());
            if (copy.isEmpty() && !row[badge].isEmpty())
                report.missing << QStringLiteral("%1 - %2: %3").arg(row[0], row[1], row[badge]);
            for (int i : pictureColumnsAt)
                row[i] = relativeTo(root, row[i]);
            if (!copy.isEmpty())
                row[badge] = copy;
            csv::appendRecord(text, row, options.separator, quoted);
            ++report.clubs;
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
    undo.keep();
    report.pictures = pictures.copied();
    report.pictureFolder = pictures.folder();
    return report;
}

namespace {

// A line's texts, packed as UTF-8 behind their end offsets: a big file's lines are all
// held until they are written, at a fraction of the room of a QStringList each.
class PackedTexts final {
public:
    PackedTexts() = default;
    explicit PackedTexts(const QStringList& texts) {
        const qsizetype head = (texts.size() + 1) * qsizetype(sizeof(quint32));
        bytes_ = QByteArray(head, '\0');
        quint32 end = quint32(head);
        setEnd(0, end);
        for (qsizetype i = 0; i < texts.size(); ++i) {
            bytes_ += texts[i].toUtf8();
            setEnd(i + 1, end = quint32(bytes_.size()));
        }
        bytes_.squeeze();
    }
    qsizetype size() const { return bytes_.isEmpty() ? 0 : endOf(0) / sizeof(quint32) - 1; }
    QString operator[](qsizetype i) const {
        if (i < 0 || i >= size())
            return QString();
        return QString::fromUtf8(bytes_.constData() + endOf(i), endOf(i + 1) - endOf(i));
    }

private:
    void setEnd(qsizetype i, quint32 end) {
        std::memcpy(bytes_.data() + i * sizeof(quint32), &end, sizeof end);
    }
    qsizetype endOf(qsizetype i) const {
        quint32 end = 0;
        std::memcpy(&end, bytes_.constData() + i * sizeof(quint32), sizeof end);
        return end;
    }
    QByteArray bytes_;
};

// A line found good, its texts by field (in the order of fieldNames()).
struct Pending {
    int line = 0;
    PackedTexts values;
    // The badge's source is the line's own EscudoClube text, made absolute; its copy in
    // Distintivos/ is named as the source unless renamed (held apart: a big import would
    // otherwise hold two more paths per line).
    QString badgeRename;
    bool copyBadge = false; // false: no badge, or the stored one is kept (same content)
    QString replacedBadge;  // a changed club's old badge, trashed once the new one is in
    qint64 code = 0;
    qint64 changing = 0;     // the stored club this line changes, 0 when it adds one
    bool judgeBadge = false; // the badge file is there, its content still to be judged
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

bool sameContent(const QString& a, const QString& b) {
    QFile x(a), y(b);
    if (x.size() != y.size() || !x.open(QIODevice::ReadOnly) || !y.open(QIODevice::ReadOnly))
        return false;
    constexpr qint64 chunk = 1 << 16;
    while (!x.atEnd())
        if (x.read(chunk) != y.read(chunk))
            return false;
    return true;
}

class Importer final {
public:
    Importer(const ImportOptions& options, Database& db, int year)
        : badgeFolder_(absolute(options.dir) + QLatin1Char('/') + QLatin1String(badgesDir)),
          base_(options.pictures.isEmpty() ? QFileInfo(absolute(options.file)).path()
                                           : absolute(options.pictures)),
          options_(options), db_(db), rules_(db, year) {}

    // Each record is checked as it is read, so the file is never held whole as records.
    ImportReport run(QByteArray data) {
        std::optional<QList<int>> columns;
        qsizetype width = 0;
        const qsizetype lines = data.count('\n');
        pending_.reserve(lines);
        const csv::Table table = csv::read(
            std::move(data), options_.separator, options_.encoding, [&](csv::Record& record) {
                tell(QStringLiteral("Lendo as linhas"), record.line, lines);
                if (columns) {
                    if (width > 0)
                        readRecord(record, *columns, width);
                    return;
                }
                columns = mapHeader(record, report_.problems);
                if (!report_.problems.isEmpty())
                    return; // width stays 0: the lines cannot be read by this header
                width = record.fields.size();
                if (options_.update)
                    storedBadges_ = storedBadges();
            });
        report_.encoding = table.encoding;
        for (const csv::LineError& e : table.errors)
            report_.problems.append({e.line, QString(), e.reason});
        if (!columns)
            report_.problems.append(
                {1, QString(), QStringLiteral("arquivo sem linha de cabeçalho")});
        // A bad line is reported at once; the badges, the costly part, are judged only
        // for a file that could be imported.
        if (!report_.problems.isEmpty())
            return report_;
        judgeBadges();
        if (!report_.problems.isEmpty())
            return report_;
        assignCodes();
        planBadges();
        if (!report_.problems.isEmpty())
            return report_;
        if (options_.beforeCopies)
            options_.beforeCopies();
        write();
        return report_;
    }

private:
    // Each step is told when it starts and whenever its percentage moves; the answer
    // "stop" undoes everything, as any failure before the commit does.
    void tell(const QString& doing, qint64 done, qint64 total) {
        if (!options_.progress)
            return;
        const int percent = total > 0 ? int(std::clamp<qint64>(done * 100 / total, 0, 100)) : -1;
        if (doing == toldDoing_ && percent == toldPercent_)
            return;
        toldDoing_ = doing;
        toldPercent_ = percent;
        if (!options_.progress(doing, percent))
            throw DataDirError(Exit::Failed,
                               QStringLiteral("Importação interrompida: nada foi importado."));
    }

    void problem(int line, const QString& field, const QString& reason) {
        report_.problems.append({line, field, reason});
    }

    QString resolvedSource(const QString& path) const {
        if (path.isEmpty() || QDir::isAbsolutePath(path))
            return path;
        return QDir::cleanPath(base_ + QLatin1Char('/') + path);
    }

    QString badgeSource(const Pending& p) const { return value(p, QStringLiteral("EscudoClube")); }

    QString badgeTarget(const Pending& p) const {
        if (!p.copyBadge)
            return QString();
        return badgeFolder_ + QLatin1Char('/') +
               (p.badgeRename.isEmpty() ? QFileInfo(badgeSource(p)).fileName() : p.badgeRename);
    }

    // Every badge file is judged once, on every core, as the editor judges a picture; the
    // verdicts go when judged.
    void judgeBadges() {
        QStringList sources;
        sources.reserve(pending_.size());
        for (const Pending& p : std::as_const(pending_))
            if (p.judgeBadge)
                sources << badgeSource(p);
        PictureCheck pictures;
        // In slices, so that the check is told as it goes and can be stopped.
        constexpr qsizetype slice = 2048;
        const QString doing = QStringLiteral("Verificando os distintivos");
        for (qsizetype from = 0; from < sources.size(); from += slice) {
            tell(doing, from, sources.size());
            pictures.checkAll(sources.mid(from, slice));
        }
        qsizetype next = 0;
        for (const Pending& p : std::as_const(pending_))
            if (p.judgeBadge)
                if (const QString fault = pictures.fault(sources[next++]); !fault.isEmpty())
                    problem(p.line, QStringLiteral("EscudoClube"), fault);
    }

    void readRecord(csv::Record& record, const QList<int>& columns, qsizetype width) {
        if (record.fields.size() != width) {
            problem(record.line, QString(),
                    QStringLiteral("%1 campos em vez de %2").arg(record.fields.size()).arg(width));
            return;
        }
        Pending p;
        p.line = record.line;
        for (qsizetype f = 0; f < names_.size(); ++f)
            club_.insert(names_[f], csv::restored(record.fields[columns[f]]));
        record.fields = QStringList(); // clear() would keep its room
        readCode(p);
        const QString badge = QStringLiteral("EscudoClube");
        const QString source = resolvedSource(club_.value(badge));
        club_[badge] = source;
        if (!source.isEmpty())
            checkTargetWidth(p.line,
                             badgeFolder_ + QLatin1Char('/') + QFileInfo(source).fileName());
        p.judgeBadge = !source.isEmpty();
        for (const FieldProblem& fp : rules_.apply(club_, p.changing)) {
            problem(p.line, fp.field, fp.reason);
            if (fp.field == badge)
                p.judgeBadge = false; // missing: nothing to judge
        }
        const QString name = club_.value(QStringLiteral("NomeClube"));
        if (const auto seen = namesInFile_.constFind(name);
            !name.isEmpty() && seen != namesInFile_.cend())
            problem(p.line, QStringLiteral("NomeClube"),
                    QStringLiteral("nome repetido: a linha %1 já tem \"%2\"").arg(*seen).arg(name));
        else
            namesInFile_.insert(name, p.line);
        QStringList values;
        values.reserve(names_.size());
        for (const QString& n : names_)
            values << club_.value(n);
        p.values = PackedTexts(values);
        pending_.append(std::move(p));
    }

    QString value(const Pending& p, const QString& field) const {
        return p.values[names_.indexOf(field)];
    }

    void readCode(Pending& p) {
        const QString text = club_.value(QStringLiteral("Codigo"));
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
            return;
        }
        if (options_.update && rules_.storedCodes().contains(p.code)) {
            if (changed_.contains(p.code))
                problem(p.line, QStringLiteral("Codigo"),
                        QStringLiteral("o clube de código %1 já é alterado pela linha %2")
                            .arg(p.code)
                            .arg(changed_.value(p.code)));
            changed_.insert(p.code, p.line);
            p.changing = p.code;
        }
    }

    // A code is kept while free; the others are numbered as the editor numbers a new
    // club: one above the highest code.
    void assignCodes() {
        QSet<qint64> taken = rules_.storedCodes();
        QList<Pending*> numbered;
        for (Pending& p : pending_) {
            if (p.changing > 0)
                continue;
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

    QHash<qint64, QString> storedBadges() const {
        QHash<qint64, QString> badges;
        QSqlQuery query(db_.handle());
        query.setForwardOnly(true);
        if (!query.exec(QStringLiteral("select Codigo, EscudoClube from Clubes")))
            throw StoreError(query.lastError().text());
        while (query.next())
            badges.insert(query.value(0).toLongLong(), query.value(1).toString());
        return badges;
    }

    // Each club gets a badge file of its own in Distintivos/, under its own name while
    // that is free, else with "-2", "-3"... before the extension. A changed club whose
    // badge file has the same content keeps the one it has.
    void planBadges() {
        FreeNames names;
        for (const QString& name : QDir(badgeFolder_).entryList(QDir::Files | QDir::Hidden))
            names.take(name);
        for (Pending& p : pending_) {
            const QString source = badgeSource(p);
            if (source.isEmpty())
                continue;
            if (p.changing > 0) {
                const QString stored = storedBadges_.value(p.changing);
                if (QFileInfo(stored).absoluteFilePath() == QFileInfo(source).absoluteFilePath() ||
                    sameContent(stored, source))
                    continue;
                p.replacedBadge = stored;
            }
            const QString wanted = QFileInfo(source).fileName();
            const QString name = names.next(wanted);
            p.copyBadge = true;
            if (name == wanted)
                continue;
            ++report_.badgesRenamed;
            p.badgeRename = name;
            checkTargetWidth(p.line, badgeTarget(p));
        }
    }

    // The badge's path where it lands must fit its field, as the editor requires.
    void checkTargetWidth(int line, const QString& target) {
        if (characters(target) > maxPicturePath)
            problem(line, QStringLiteral("EscudoClube"),
                    QStringLiteral("o distintivo ficaria em %1, %2 caracteres; o campo aceita %3")
                        .arg(target)
                        .arg(characters(target))
                        .arg(maxPicturePath));
    }

    // The lines whose badge is copied, in order; each copy's paths are made when its
    // turn comes (on the copying thread, which only reads the lines).
    QList<qsizetype> linesWithCopies() const {
        QList<qsizetype> lines;
        for (qsizetype i = 0; i < pending_.size(); ++i)
            if (pending_[i].copyBadge)
                lines.append(i);
        if (!lines.isEmpty())
            QDir().mkpath(badgeFolder_);
        return lines;
    }

    // The rows go in while the badges are copied; they are committed only once every
    // copy is on disk, so no club ever names a badge that is not there. Any failure
    // removes the copies and leaves the store as it was.
    void write() {
        const QList<qsizetype> lines = linesWithCopies();
        BackgroundCopies copies(lines.size(), [this, &lines](qsizetype i) {
            const Pending& p = std::as_const(pending_)[lines[i]];
            return BackgroundCopies::File{badgeSource(p), badgeTarget(p), p.line};
        });
        Transaction transaction(db_);
        writeRows();
        for (;;) {
            tell(QStringLiteral("Copiando os distintivos"), copies.copied(), lines.size());
            if (!copies.copying())
                break;
            QThread::msleep(50);
        }
        QString reason;
        if (const BackgroundCopies::File* failed = copies.finish(reason))
            throw DataDirError(Exit::Failed,
                               QStringLiteral("Distintivo da linha %1: %2. Nada foi importado.")
                                   .arg(failed->line)
                                   .arg(reason));
        tell(QStringLiteral("Gravando no disco"), 0, 0);
        if (!syncToDisk(badgeFolder_))
            throw DataDirError(Exit::Failed,
                               QStringLiteral("Os distintivos copiados para %1 não puderam ser "
                                              "gravados no disco. Nada foi importado.")
                                   .arg(badgeFolder_));
        transaction.commit();
        copies.keep();
        // A replaced badge goes only once the row points to its successor, as in the editor.
        for (const Pending& p : pending_) {
            if (!p.replacedBadge.isEmpty() && QFileInfo(p.replacedBadge).absolutePath() ==
                                                  QFileInfo(badgeFolder_).absoluteFilePath())
                files::trash(p.replacedBadge);
            ++(p.changing > 0 ? report_.updated : report_.added);
        }
    }

    // Rows one by one keep every index, count and search index up to date as they go;
    // for an import as big as the catalogue (or bigger) dropping them and building
    // them once after the rows is several times cheaper, with the same content.
    bool rebuildIndexes() const {
        switch (options_.indexes) {
        case IndexUpkeep::PerRow:
            return false;
        case IndexUpkeep::Rebuild:
            return true;
        case IndexUpkeep::Automatic:
            break;
        }
        return pending_.size() >= rules_.storedCodes().size();
    }

    QVariant fieldValue(const Pending& p, const FieldDef& f, const OrderKeyDef& order) const {
        if (f.name == QLatin1String("Codigo"))
            return QVariant(p.code > 0 ? p.code : p.changing);
        if (f.name == QLatin1String("EscudoClube"))
            return QVariant(p.copyBadge ? badgeTarget(p) : storedBadges_.value(p.changing));
        if (f.name == order.key)
            return QVariant(foldedText(value(p, order.source)));
        const QString text = value(p, f.name);
        if (f.type == FieldType::Text)
            return QVariant(text);
        return text.isEmpty() ? QVariant(QMetaType(QMetaType::LongLong))
                              : QVariant(text.toLongLong());
    }

    void writeRows() {
        const OrderKeyDef& order = clubsOrderKey();
        // The order key is written with the row, so its trigger finds nothing to do.
        TableDef def = clubsTable();
        def.fields.append({order.key, FieldType::Text, 0});
        // Pages stay in memory while the indexes are built, within what a big import can
        // spare beside its rows (its peak memory is held below 150 MB at 100,000 rows).
        db_.exec(QStringLiteral("PRAGMA cache_size = -8192"));
        const bool rebuild = rebuildIndexes();
        if (rebuild)
            Schema::dropDerivedWithin(db_.handle());
        QList<const Pending*> added, changed;
        for (const Pending& p : pending_)
            (p.changing > 0 ? changed : added).append(&p);
        const auto valueOf = [&](const Pending* p, const FieldDef& f) {
            return fieldValue(*p, f, order);
        };
        // In slices, so that the writing is told as it goes and can be stopped.
        constexpr qsizetype slice = 4096;
        const QString doing = QStringLiteral("Gravando os clubes");
        const qsizetype total = added.size() + changed.size();
        for (qsizetype from = 0; from < added.size(); from += slice) {
            tell(doing, from, total);
            insertEach(db_, def, added.mid(from, slice), valueOf);
        }
        for (qsizetype from = 0; from < changed.size(); from += slice) {
            tell(doing, added.size() + from, total);
            updateEach(db_, def, changed.mid(from, slice), valueOf);
        }
        if (rebuild) {
            tell(QStringLiteral("Refazendo os índices"), 0, 0);
            Schema::buildDerivedWithin(db_.handle());
        }
    }

    const QStringList names_ = fieldNames();
    QString badgeFolder_; // Distintivos/ of the data directory
    QString base_;
    const ImportOptions& options_;
    Database& db_;
    ClubRules rules_;
    Club club_; // the line being checked
    QList<Pending> pending_;
    QHash<QString, int> namesInFile_;
    QHash<qint64, int> changed_;          // code -> the line that changes it
    QHash<qint64, QString> storedBadges_; // code -> badge path (update only)
    ImportReport report_;
    QString toldDoing_;
    int toldPercent_ = -2;
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
    QByteArray data = file.readAll();
    file.close();
    const int year = options.currentYear > 0 ? options.currentYear : Clock().currentYear();
    std::optional<TFrmDm> dm;
    try {
        dm.emplace(root);
    } catch (const StoreError& e) {
        storeFailed(root, e);
    }
    try {
        Importer importer(options, dm->database(), year);
        ImportReport report = importer.run(std::move(data));
        std::ranges::stable_sort(report.problems, {}, &LineProblem::line);
        return report;
    } catch (const StoreError& e) {
        // The store opened: what failed is the writing (a full disk, say), undone whole.
        throw DataDirError(Exit::Failed,
                           QStringLiteral("Não foi possível gravar no arquivo de dados de %1; "
                                          "nada foi importado. %2")
                               .arg(root, e.text()));
    }
}

} // namespace velmora::datadir
