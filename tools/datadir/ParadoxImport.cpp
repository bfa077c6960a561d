#include "tools/datadir/ParadoxImport.h"

#include "store/Database.h"
#include "store/Schema.h"
#include "store/StoreError.h"
#include "tools/datadir/ClubRules.h"
#include "tools/datadir/CopyNew.h"
#include "tools/datadir/DataDir.h"
#include "tools/datadir/FileUndo.h"
#include "tools/datadir/FreeNames.h"
#include "tools/datadir/Paradox.h"
#include "tools/datadir/ParadoxHeader.h"
#include "tools/datadir/PictureCheck.h"
#include "tools/datadir/Progress.h"
#include "tools/datadir/Rows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <cmath>

namespace velmora::datadir {

namespace {

constexpr int maxPicturePath = 100;

[[noreturn]] void fail(Exit code, const QString& message) {
    throw DataDirError(code, message);
}

// Where each picture column's files go in the new data directory, and which columns
// name a row in the list of what was left out.
struct TableInfo {
    const char* table;
    QStringList keys;
    QHash<QString, const char*> pictureFolders; // field -> folder
};

const QList<TableInfo>& tableInfo() {
    static const QList<TableInfo> list = {
        {"Paises", {"NomePais"}, {{"BandeiraPais", countryFlagsDir}}},
        {"UF", {"UF"}, {{"BandeiraUF", stateFlagsDir}}},
        {"Cidades", {"Cidade", QString::fromUtf8("País")}, {}},
        {"Anos", {"Ano"}, {}},
        {"Federacao", {"NomeFederacao"}, {{"LogoFederacao", logosDir}}},
        {"Clubes",
         {"Codigo", "NomeClube"},
         {{"EscudoClube", badgesDir},
          {"BandeiraPais", countryFlagsDir},
          {"BandeiraUF", stateFlagsDir},
          {"LogoFederacao", logosDir}}},
    };
    return list;
}

// Finds files under a folder by a path in any letter case, as Windows would.
class CaseFolder final {
public:
    explicit CaseFolder(const QString& root) : root_(root) {}

    // The file under root that a picture path of the old data directory names: the
    // longest tail of its components found there ("C:\Velmora\Bandeiras\bra.jpg" is
    // looked for as Velmora/Bandeiras/bra.jpg, then Bandeiras/bra.jpg, then bra.jpg).
    QString locate(const QString& path) {
        static const QRegularExpression separators(QStringLiteral("[\\\\/]+"));
        QStringList parts = path.split(separators, Qt::SkipEmptyParts);
        if (!parts.isEmpty() && parts.first().endsWith(QLatin1Char(':')))
            parts.removeFirst(); // the drive
        for (qsizetype from = 0; from < parts.size(); ++from) {
            const QString found = resolve(parts.mid(from));
            if (!found.isEmpty())
                return found;
        }
        return QString();
    }

    QString resolve(const QStringList& parts) {
        QString at = root_;
        for (qsizetype i = 0; i < parts.size(); ++i) {
            const QString name = entries(at).value(parts[i].toLower());
            if (name.isEmpty())
                return QString();
            at += QLatin1Char('/') + name;
            if ((i + 1 < parts.size()) != QFileInfo(at).isDir())
                return QString();
        }
        return at;
    }

private:
    const QHash<QString, QString>& entries(const QString& dir) {
        auto it = listings_.find(dir);
        if (it == listings_.end()) {
            QHash<QString, QString> names;
            for (const QString& n :
                 QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
                names.insert(n.toLower(), n);
            it = listings_.insert(dir, names);
        }
        return *it;
    }

    QString root_;
    QHash<QString, QHash<QString, QString>> listings_;
};

struct Copy {
    QString source;
    QString target;
    QString label; // the first row that names it, and the field
    QString field;
};

class ParadoxImporter final {
public:
    ParadoxImporter(const QString& source, const QString& root)
        : source_(source), root_(root), folder_(source) {}

    ParadoxImportReport run() {
        QList<QPair<const TableDef*, QList<Values>>> tables;
        for (const TableInfo& info : tableInfo()) {
            const TableDef& def = Schema::table(QLatin1String(info.table));
            const paradox::Table table = paradox::readFile(tableFile(def));
            tables.append({&def, convert(def, info, table)});
        }
        refusePictures();
        checkPathWidths();
        write(tables);
        report_.pictures = int(copies_.size());
        return report_;
    }

private:
    QString tableFile(const TableDef& def) {
        const QString path = folder_.resolve({def.fileName});
        if (path.isEmpty())
            fail(Exit::Problems, QStringLiteral("Falta a tabela %1 em %2. Nada foi criado.")
                                     .arg(def.fileName, source_));
        return path;
    }

    // The source columns of the catalogue's fields; a missing or mistyped field stops
    // the import, extra fields are listed as left out.
    QList<int> mapFields(const TableDef& def, const paradox::Table& table) {
        QList<int> columns;
        for (const FieldDef& f : def.fields) {
            const int c = table.column(f.name);
            if (c < 0)
                fail(Exit::Problems, QStringLiteral("%1 não tem o campo %2, de que o catálogo "
                                                    "precisa. Nada foi criado.")
                                         .arg(table.file, f.name));
            const bool text = table.types[c] == paradox::Alpha;
            if (text != (f.type == FieldType::Text))
                fail(Exit::Problems,
                     QStringLiteral("O campo %1 de %2 é %3, mas o catálogo o guarda como %4. Nada "
                                    "foi criado.")
                         .arg(f.name, table.file,
                              text ? QStringLiteral("texto") : QStringLiteral("número"),
                              text ? QStringLiteral("número") : QStringLiteral("texto")));
            columns << c;
        }
        for (const QString& name : table.names)
            if (!columns.contains(int(table.names.indexOf(name))))
                report_.notBrought << QStringLiteral("%1: o campo %2 não é trazido (o catálogo não "
                                                     "tem esse campo).")
                                          .arg(table.file, name);
        return columns;
    }

    QString rowLabel(const TableInfo& info, const paradox::Table& table, int index,
                     const QList<QVariant>& row) const {
        QStringList key;
        for (const QString& k : info.keys)
            key << row.value(table.column(k)).toString();
        return QStringLiteral("%1, registro %2 (%3)")
            .arg(table.file)
            .arg(index + 1)
            .arg(key.join(QStringLiteral(" - ")));
    }

    QList<Values> convert(const TableDef& def, const TableInfo& info, const paradox::Table& table) {
        const QList<int> columns = mapFields(def, table);
        QList<Values> rows;
        rows.reserve(table.rows.size());
        QSet<qlonglong> codes;
        for (int r = 0; r < table.rows.size(); ++r) {
            const QList<QVariant>& source = table.rows[r];
            Values row;
            QString fault;
            for (qsizetype i = 0; i < def.fields.size() && fault.isEmpty(); ++i)
                fault = convertField(def.fields[i], source[columns[i]], row);
            const bool isClubs = def.name == QLatin1String("Clubes");
            const qlonglong code = row.value(QStringLiteral("Codigo")).toLongLong();
            if (fault.isEmpty() && isClubs && row.value(QStringLiteral("Codigo")).isNull())
                fault = QStringLiteral("registro sem código");
            else if (fault.isEmpty() && isClubs && codes.contains(code))
                fault = QStringLiteral("o código %1 se repete").arg(code);
            if (!fault.isEmpty()) {
                report_.notBrought << QStringLiteral("%1: não trazido, %2.")
                                          .arg(rowLabel(info, table, r, source), fault);
                continue;
            }
            codes.insert(code);
            for (auto it = info.pictureFolders.cbegin(); it != info.pictureFolders.cend(); ++it)
                row[it.key()] = picture(row.value(it.key()).toString(), it.value(),
                                        def.name == QLatin1String("Clubes") &&
                                            it.key() == QLatin1String("EscudoClube"),
                                        rowLabel(info, table, r, source), it.key());
            rows.append(row);
        }
        report_.counts.append({table.file, int(table.rows.size()), int(rows.size())});
        return rows;
    }

    // Empty text when the value fits its field; else why the row cannot come in.
    static QString convertField(const FieldDef& f, const QVariant& value, Values& row) {
        if (f.type == FieldType::Text) {
            const QString text = value.toString();
            if (characters(text) > f.width)
                return QStringLiteral("%1 tem %2 caracteres e o campo aceita %3 (\"%4\")")
                    .arg(f.name)
                    .arg(characters(text))
                    .arg(f.width)
                    .arg(text);
            if (const QString fault = controlCharacterFault(text); !fault.isEmpty())
                return QStringLiteral("%1: %2").arg(f.name, fault);
            row.insert(f.name, text);
            return QString();
        }
        if (value.isNull()) {
            row.insert(f.name, QVariant(QMetaType(QMetaType::LongLong)));
            return QString();
        }
        const double number = value.toDouble();
        if (number != std::floor(number) || std::fabs(number) > 2147483647.0)
            return QStringLiteral("%1 = %2 não é um número inteiro de 32 bits")
                .arg(f.name, value.toString());
        row.insert(f.name, qlonglong(number));
        return QString();
    }

    // The new path of a picture: the copy inside the data directory. Flags and logos
    // are copied once per file; every club gets a badge file of its own.
    QString picture(const QString& path, const char* folder, bool badge, const QString& label,
                    const QString& field) {
        if (path.isEmpty())
            return path;
        const QString found = folder_.locate(path);
        const QString key = QLatin1String(folder) + QLatin1Char('|') + found;
        if (!found.isEmpty() && !badge && targets_.contains(key))
            return targets_.value(key);
        const QString name =
            freeName(QLatin1String(folder),
                     QFileInfo(found.isEmpty() ? windowsName(path) : found).fileName());
        const QString target =
            root_ + QLatin1Char('/') + QLatin1String(folder) + QLatin1Char('/') + name;
        if (found.isEmpty()) {
            report_.notBrought << QStringLiteral("%1: a figura %2 (%3) não está em %4; o "
                                                 "caminho aponta para %5, onde ela pode ser "
                                                 "posta depois.")
                                      .arg(label, path, field, source_, target);
            return target;
        }
        copies_.append({found, target, label, field});
        if (!badge)
            targets_.insert(key, target);
        return target;
    }

    // A picture the club editor would refuse is not copied: it is listed, and its
    // path points where a good one can be put later, as for a missing one.
    void refusePictures() {
        QStringList sources;
        for (const Copy& c : std::as_const(copies_))
            sources << c.source;
        pictures_.checkAll(sources);
        copies_.removeIf([&](const Copy& c) {
            const QString fault = pictures_.fault(c.source);
            if (!fault.isEmpty())
                report_.notBrought << QStringLiteral("%1: a figura %2 (%3) foi recusada, %4 O "
                                                     "caminho aponta para %5, onde uma figura "
                                                     "boa pode ser posta depois.")
                                          .arg(c.label, c.source, c.field, fault, c.target);
            return !fault.isEmpty();
        });
    }

    static QString windowsName(const QString& path) {
        return path.section(QRegularExpression(QStringLiteral("[\\\\/]")), -1);
    }

    QString freeName(const QString& folder, const QString& name) {
        return names_[folder].next(name);
    }

    void checkPathWidths() const {
        for (const Copy& c : copies_)
            if (c.target.size() > maxPicturePath)
                fail(Exit::BadDir,
                     QStringLiteral("O caminho da pasta %1 é longo demais: o caminho de uma "
                                    "figura ficaria com %2 caracteres (%3), mas o limite é %4. "
                                    "Escolha uma pasta de caminho mais curto. Nada foi criado.")
                         .arg(root_)
                         .arg(c.target.size())
                         .arg(c.target)
                         .arg(maxPicturePath));
    }

    void makeDir(const QString& path, Undo& undo) {
        QStringList missing;
        for (QString p = path; !QFileInfo::exists(p) && QFileInfo(p).path() != p;
             p = QFileInfo(p).path())
            missing.prepend(p);
        for (const QString& dir : missing) {
            if (!QDir().mkdir(dir))
                fail(Exit::BadDir, QStringLiteral("Não foi possível criar a pasta %1.").arg(dir));
            undo.addDir(dir);
        }
        if (!QFileInfo(path).isDir())
            fail(Exit::BadDir, QStringLiteral("%1 não é uma pasta.").arg(path));
    }

    void write(const QList<QPair<const TableDef*, QList<Values>>>& tables) {
        Undo undo;
        makeDir(root_, undo);
        for (const char* folder : {countryFlagsDir, stateFlagsDir, logosDir, badgesDir})
            makeDir(root_ + QLatin1Char('/') + QLatin1String(folder), undo);
        for (const Copy& c : copies_) {
            stopIfAsked();
            if (const QString fault = copyNew(c.source, c.target); !fault.isEmpty())
                fail(QFileInfo::exists(c.target) ? Exit::Refused : Exit::Failed,
                     QStringLiteral("Figura não copiada: %1. Nada foi criado.").arg(fault));
            undo.addFile(c.target);
        }
        const QString store = root_ + QLatin1Char('/') + QLatin1String(Database::fileName);
        for (const QString& suffix : {QString(), QStringLiteral("-journal"), QStringLiteral("-wal"),
                                      QStringLiteral("-shm")})
            undo.addFile(store + suffix);
        try {
            Database db(root_, true);
            Schema::create(db.handle());
            Transaction transaction(db);
            for (const auto& [def, rows] : tables)
                insertRows(db, *def, rows);
            transaction.commit();
        } catch (const StoreError& e) {
            fail(Exit::Failed,
                 QStringLiteral("Erro ao criar o arquivo de dados: %1. Nada foi criado.")
                     .arg(e.text()));
        }
        undo.keep();
    }

    QString source_;
    QString root_;
    CaseFolder folder_;
    QList<Copy> copies_;
    PictureCheck pictures_;
    QHash<QString, QString> targets_; // folder|source file -> target
    QHash<QString, FreeNames> names_; // folder -> the names handed out there
    ParadoxImportReport report_;
};

} // namespace

ParadoxImportReport importParadox(const ParadoxImportOptions& options) {
    if (options.source.isEmpty() || options.dir.isEmpty())
        fail(Exit::Usage, QStringLiteral("Pasta de origem ou de dados não informada."));
    const QString source = QDir::cleanPath(QFileInfo(options.source).absoluteFilePath());
    const QString root = QDir::cleanPath(QFileInfo(options.dir).absoluteFilePath());
    if (!QFileInfo(source).isDir())
        fail(Exit::BadDir, QStringLiteral("A pasta de origem %1 não existe.").arg(source));
    if (QFileInfo::exists(root) && !QFileInfo(root).isDir())
        fail(Exit::BadDir, QStringLiteral("%1 não é uma pasta.").arg(root));
    if (QFileInfo::exists(root + QLatin1Char('/') + QLatin1String(Database::fileName)))
        fail(Exit::Refused, QStringLiteral("A pasta %1 já tem um arquivo de dados (%2). Nada foi "
                                           "alterado: velmora-datadir nunca sobrescreve uma "
                                           "pasta de dados.")
                                .arg(root, QLatin1String(Database::fileName)));
    return ParadoxImporter(source, root).run();
}

} // namespace velmora::datadir
