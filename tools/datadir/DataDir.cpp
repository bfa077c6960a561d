#include "tools/datadir/DataDir.h"

#include "core/Files.h"
#include "core/Pictures.h"
#include "core/System.h"
#include "store/Database.h"
#include "store/Module.h"
#include "store/Names.h"
#include "store/Schema.h"
#include "store/StoreError.h"
#include "tools/datadir/EveryCore.h"
#include "tools/datadir/FileUndo.h"
#include "tools/datadir/PicturePaths.h"
#include "tools/datadir/Progress.h"
#include "tools/datadir/StoreAccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>
#include <QVariant>
#include <algorithm>
#include <cerrno>
#include <new>

namespace velmora::datadir {

namespace {

constexpr int firstYear = 1850;
constexpr int lastYear = 2050;
constexpr int maxPicturePath = 100; // width of every picture path field

using Row = QHash<QString, QString>;
using Values = QHash<QString, QVariant>;

[[noreturn]] void fail(Exit code, const QString& message) {
    throw DataDirError(code, message);
}

[[noreturn]] void badData(const QString& message) {
    fail(Exit::Failed, QStringLiteral("Dados embutidos inválidos: %1").arg(message));
}

// A shipped table: UTF-8 TSV with a header line.
QList<Row> readTsv(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        badData(QStringLiteral("não foi possível ler %1").arg(path));
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    const QStringList header = in.readLine().split(QLatin1Char('\t'));
    QList<Row> rows;
    for (int line = 2; !in.atEnd(); ++line) {
        const QString text = in.readLine();
        if (text.isEmpty())
            continue;
        const QStringList cells = text.split(QLatin1Char('\t'));
        if (cells.size() != header.size())
            badData(QStringLiteral("%1, linha %2: %3 colunas em vez de %4")
                        .arg(path)
                        .arg(line)
                        .arg(cells.size())
                        .arg(header.size()));
        Row row;
        for (qsizetype i = 0; i < header.size(); ++i)
            row.insert(header[i], cells[i]);
        rows.append(row);
    }
    return rows;
}

int toInt(const Row& row, const QString& column) {
    bool ok = false;
    const int value = row.value(column).toInt(&ok);
    if (!ok)
        badData(QStringLiteral("%1 não é um número: \"%2\"").arg(column, row.value(column)));
    return value;
}

struct Copy {
    QString source; // inside the shipped data
    QString target; // full path in the data directory
};

struct TableRows {
    const TableDef* def;
    QList<Values> rows;
};

// Everything a create writes, worked out before the disk is touched.
struct Plan {
    QString root;
    QList<Copy> copies;
    QList<TableRows> tables;
    Counts counts;
};

// Full path of a picture copied from the shipped data into a folder of the data directory.
QString addPicture(Plan& plan, const QString& source, const char* folder, const QString& name) {
    const QString target =
        plan.root + QLatin1Char('/') + QLatin1String(folder) + QLatin1Char('/') + name;
    plan.copies.append({source, target});
    return target;
}

TableRows tableRows(const char* name) {
    return TableRows{&Schema::table(QLatin1String(name)), {}};
}

void planCountries(Plan& plan, const QString& src, QHash<QString, QString>& flags) {
    TableRows t = tableRows("Paises");
    for (const Row& r : readTsv(src + QStringLiteral("/countries.tsv"))) {
        const QString file = r["code3"].toLower() + QStringLiteral(".jpg");
        const QString flag = addPicture(plan, src + QStringLiteral("/flags/countries/") + file,
                                        countryFlagsDir, file);
        flags.insert(r["name_pt"], flag);
        t.rows.append(
            Values{{"CodPais", r["code3"]}, {"NomePais", r["name_pt"]}, {"BandeiraPais", flag}});
    }
    plan.counts.countries = int(t.rows.size());
    plan.tables.append(t);
}

void planStates(Plan& plan, const QString& src, QHash<QString, QString>& flags) {
    TableRows t = tableRows("UF");
    for (const Row& r : readTsv(src + QStringLiteral("/states.tsv"))) {
        const QString file = r["uf"].toLower() + QStringLiteral(".jpg");
        const QString flag =
            addPicture(plan, src + QStringLiteral("/flags/states/") + file, stateFlagsDir, file);
        flags.insert(r["uf"], flag);
        t.rows.append(Values{{"Codigo", int(t.rows.size()) + 1},
                             {"UF", r["uf"]},
                             {"NomeCompleto", r["name_pt"]},
                             {"BandeiraUF", flag}});
    }
    plan.counts.states = int(t.rows.size());
    plan.tables.append(t);
}

void planYears(Plan& plan) {
    TableRows t = tableRows("Anos");
    for (int year = firstYear; year <= lastYear; ++year)
        t.rows.append(Values{{"Ano", year}});
    plan.counts.years = int(t.rows.size());
    plan.tables.append(t);
}

void planFederations(Plan& plan, const QString& src, QHash<QString, QString>& logos) {
    TableRows t = tableRows("Federacao");
    for (const Row& r : readTsv(src + QStringLiteral("/federations.tsv"))) {
        const QString file = r["name"].toLower() + QStringLiteral(".jpg");
        const QString logo =
            addPicture(plan, src + QStringLiteral("/logos/") + file, logosDir, file);
        logos.insert(r["name"], logo);
        t.rows.append(Values{{"NomeFederacao", r["name"]}, {"LogoFederacao", logo}});
    }
    plan.counts.federations = int(t.rows.size());
    plan.tables.append(t);
}

// "Brasil" is the one country whose rows carry a state; any other has none.
void checkState(const QString& what, const QString& country, const QString& uf,
                const QHash<QString, QString>& stateFlags) {
    if (country == brasil ? !stateFlags.contains(uf) : !uf.isEmpty())
        badData(QStringLiteral("%1: estado \"%2\" não combina com o país \"%3\"")
                    .arg(what, uf, country));
}

QSet<QString> planCities(Plan& plan, const QString& src, const QHash<QString, QString>& countries,
                         const QHash<QString, QString>& states) {
    TableRows t = tableRows("Cidades");
    QSet<QString> keys;
    for (const Row& r : readTsv(src + QStringLiteral("/cities.tsv"))) {
        if (!countries.contains(r["country_pt"]))
            badData(QStringLiteral("cidade %1 de um país sem linha: %2")
                        .arg(r["city"], r["country_pt"]));
        checkState(r["city"], r["country_pt"], r["uf"], states);
        t.rows.append(Values{
            {"Estado", r["uf"]}, {"Cidade", r["city"]}, {QStringLiteral("País"), r["country_pt"]}});
        keys.insert(r["country_pt"] + QLatin1Char('|') + r["uf"] + QLatin1Char('|') + r["city"]);
    }
    plan.counts.cities = int(t.rows.size());
    plan.tables.append(t);
    return keys;
}

QString lookup(const QHash<QString, QString>& paths, const QString& key, const QString& what) {
    const auto it = paths.find(key);
    if (it == paths.end())
        badData(QStringLiteral("%1 sem linha de referência: \"%2\"").arg(what, key));
    return *it;
}

// The sample catalogue, filled as the club editor would save each row.
void planSample(Plan& plan, const QString& src, int currentYear,
                const QHash<QString, QString>& countryFlags,
                const QHash<QString, QString>& stateFlags, const QHash<QString, QString>& logos,
                const QSet<QString>& cities) {
    TableRows t = tableRows("Clubes");
    QSet<QString> names;
    for (const Row& r : readTsv(src + QStringLiteral("/sample/clubs.tsv"))) {
        const QString name = r["NomeClube"];
        const QString country = r["PaisClube"];
        const QString uf = r["UFClube"];
        const int year = toInt(r, QStringLiteral("AnoFundacao"));
        if (name.isEmpty() || names.contains(name))
            badData(QStringLiteral("nome de clube vazio ou repetido: \"%1\"").arg(name));
        names.insert(name);
        if (year < firstYear || year > lastYear)
            badData(QStringLiteral("%1: ano de fundação fora da tabela de anos").arg(name));
        checkState(name, country, uf, stateFlags);
        if (!cities.contains(country + QLatin1Char('|') + uf + QLatin1Char('|') + r["CidadeClube"]))
            badData(QStringLiteral("%1: cidade sem linha: %2").arg(name, r["CidadeClube"]));
        const QString badge = addPicture(
            plan, src + QStringLiteral("/sample/badges/") + r["Escudo"], badgesDir, r["Escudo"]);
        t.rows.append(Values{
            {"Codigo", int(t.rows.size()) + 1},
            {"NomeClube", name},
            {"NomeCompletoClube", r["NomeCompletoClube"]},
            {"AnoFundacao", year},
            {"PaisClube", country},
            {"UFClube", uf},
            {"CidadeClube", r["CidadeClube"]},
            {"IdadeClube", QStringLiteral("%1 anos").arg(currentYear - year)},
            {"EscudoClube", badge},
            {"BandeiraPais", lookup(countryFlags, country, QStringLiteral("país"))},
            {"BandeiraUF", country == brasil ? stateFlags.value(uf) : QString()},
            {"Federacao", r["Federacao"]},
            {"LogoFederacao", lookup(logos, r["Federacao"], QStringLiteral("federação"))},
            {"Identificador", toInt(r, QStringLiteral("Identificador"))},
            {"Extinto", toInt(r, QStringLiteral("Extinto"))},
            {"Estadio", r["Estadio"]},
            {"Capacidade", r["Capacidade"]},
        });
    }
    plan.counts.clubs = int(t.rows.size());
    plan.tables.append(t);
}

Plan makePlan(const QString& root, const CreateOptions& options) {
    Plan plan;
    plan.root = root;
    const QString& src = options.source;
    QHash<QString, QString> countryFlags, stateFlags, logos;
    planCountries(plan, src, countryFlags);
    planStates(plan, src, stateFlags);
    planYears(plan);
    planFederations(plan, src, logos);
    const QSet<QString> cities = planCities(plan, src, countryFlags, stateFlags);
    const int year = options.currentYear > 0 ? options.currentYear : Clock().currentYear();
    if (options.sample)
        planSample(plan, src, year, countryFlags, stateFlags, logos, cities);
    else
        plan.tables.append(tableRows("Clubes")); // the table exists, empty
    return plan;
}

// Picture paths longer than their fields would be cut: refuse the folder instead.
void checkPathWidths(const Plan& plan) {
    const auto longest =
        std::max_element(plan.copies.begin(), plan.copies.end(), [](const Copy& a, const Copy& b) {
            return a.target.size() < b.target.size();
        });
    if (longest != plan.copies.end() && longest->target.size() > maxPicturePath)
        fail(Exit::BadDir,
             QStringLiteral("O caminho da pasta %1 é longo demais: o caminho de uma figura "
                            "ficaria com %2 caracteres (%3), mas o limite é %4. Escolha uma "
                            "pasta de caminho mais curto.")
                 .arg(plan.root)
                 .arg(longest->target.size())
                 .arg(longest->target)
                 .arg(maxPicturePath));
}

void checkTextWidths(const Plan& plan) {
    for (const TableRows& t : plan.tables)
        for (const Values& row : t.rows)
            for (const FieldDef& f : t.def->fields) {
                if (!row.contains(f.name))
                    badData(QStringLiteral("falta o campo %1 em %2").arg(f.name, t.def->fileName));
                const QString text = row.value(f.name).toString();
                if (f.type == FieldType::Text && text.size() > f.width)
                    badData(QStringLiteral("\"%1\" passa de %2 caracteres (campo %3 de %4)")
                                .arg(text)
                                .arg(f.width)
                                .arg(f.name, t.def->fileName));
            }
}

QStringList storeFiles(const QString& root) {
    const QString store = root + QLatin1Char('/') + QLatin1String(Database::fileName);
    return {store, store + QStringLiteral("-journal"), store + QStringLiteral("-wal"),
            store + QStringLiteral("-shm")};
}

// Nothing that exists is ever overwritten: refuse before anything is written.
void checkNothingExists(const Plan& plan) {
    QStringList targets = storeFiles(plan.root);
    for (const Copy& c : plan.copies)
        targets << c.target;
    for (const QString& target : targets)
        if (QFileInfo::exists(target))
            fail(Exit::Refused, QStringLiteral("O arquivo %1 já existe. Nada foi alterado: "
                                               "velmora-datadir nunca sobrescreve arquivos.")
                                    .arg(target));
}

void copyNew(const Copy& c, Undo& undo) {
    stopIfAsked();
    QFile source(c.source);
    if (!source.open(QIODevice::ReadOnly))
        badData(QStringLiteral("falta a figura %1").arg(c.source));
    const QByteArray bytes = source.readAll();
    QFile target(c.target);
    // NewOnly: an existing file is never replaced, even one that appeared meanwhile.
    if (!target.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        fail(QFileInfo::exists(c.target) ? Exit::Refused : Exit::BadDir,
             QStringLiteral("Não foi possível criar o arquivo %1: %2")
                 .arg(c.target, target.errorString()));
    undo.addFile(c.target);
    if (target.write(bytes) != bytes.size() || !target.flush())
        fail(Exit::Failed, QStringLiteral("Não foi possível gravar o arquivo %1: %2")
                               .arg(c.target, files::writeFailure(target, errno)));
}

QString quoted(const QString& identifier) {
    return QLatin1Char('"') + identifier + QLatin1Char('"');
}

void insertRows(Database& db, const TableRows& t) {
    QStringList columns, marks;
    for (const FieldDef& f : t.def->fields) {
        columns << quoted(f.name);
        marks << QStringLiteral("?");
    }
    QSqlQuery query(db.handle());
    if (!query.prepare(QStringLiteral("insert into %1 (%2) values (%3)")
                           .arg(quoted(t.def->name), columns.join(QStringLiteral(", ")),
                                marks.join(QStringLiteral(", ")))))
        throw StoreError(engineMessage(query.lastError()));
    for (const Values& row : t.rows) {
        for (const FieldDef& f : t.def->fields)
            query.addBindValue(row.value(f.name));
        if (!query.exec())
            throw StoreError(
                QStringLiteral("%1: %2").arg(t.def->fileName, engineMessage(query.lastError())));
    }
}

void writeStore(const Plan& plan, Undo& undo) {
    for (const QString& f : storeFiles(plan.root))
        undo.addFile(f); // none existed (checked): whatever SQLite makes goes on failure
    try {
        Database db(plan.root, true);
        Schema::create(db.handle());
        Transaction transaction(db);
        for (const TableRows& t : plan.tables)
            insertRows(db, t);
        transaction.commit();
    } catch (const StoreError& e) {
        fail(Exit::Failed, QStringLiteral("Erro ao criar o arquivo de dados: %1").arg(e.text()));
    }
}

QString absoluteDir(const QString& dir) {
    if (dir.isEmpty())
        fail(Exit::Usage, QStringLiteral("Pasta de dados não informada."));
    return QDir::cleanPath(QFileInfo(dir).absoluteFilePath());
}

} // namespace

Counts create(const CreateOptions& options) {
    const QString root = absoluteDir(options.dir);
    const QFileInfo info(root);
    if (info.exists() && !info.isDir())
        fail(Exit::BadDir, QStringLiteral("%1 não é uma pasta.").arg(root));
    if (QFileInfo::exists(root + QLatin1Char('/') + QLatin1String(Database::fileName)))
        fail(Exit::Refused, QStringLiteral("A pasta %1 já tem um arquivo de dados (%2). Nada foi "
                                           "alterado: velmora-datadir nunca sobrescreve uma "
                                           "pasta de dados.")
                                .arg(root, QLatin1String(Database::fileName)));
    const Plan plan = makePlan(root, options);
    checkPathWidths(plan);
    checkTextWidths(plan);
    checkNothingExists(plan);

    Undo undo;
    makeDir(root, undo);
    for (const char* folder : {countryFlagsDir, stateFlagsDir, logosDir, badgesDir})
        makeDir(root + QLatin1Char('/') + QLatin1String(folder), undo);
    for (const Copy& c : plan.copies)
        copyNew(c, undo);
    writeStore(plan, undo);
    undo.keep();
    return plan.counts;
}

namespace {

QSqlQuery select(Database& db, const QString& sql) {
    return runStatement(db.handle(), sql);
}

// Why a picture path does not load; empty when it does. A header check reads only
// what a load reads before decoding (enough for a copied or truncated file); a
// decode reads all of the picture's data, as a load would.
QString pictureFault(const QString& path, CheckDepth depth) {
    if (path.isEmpty())
        return QStringLiteral("caminho vazio");
    const QFileInfo info(path);
    if (!info.isFile())
        return QStringLiteral("arquivo ausente");
    if (!Pictures::extensions().contains(info.suffix().toLower()))
        return QStringLiteral("tipo desconhecido");
    try {
        if (depth == CheckDepth::Decode)
            Pictures::verify(path);
        else
            Pictures::checkHeader(path);
    } catch (const PictureError& e) {
        return e.kind() == PictureError::Kind::TooBig ? QStringLiteral("arquivo grande demais")
                                                      : QStringLiteral("arquivo danificado");
    } catch (const std::bad_alloc&) {
        return QStringLiteral("arquivo grande demais");
    }
    return {};
}

// A picture path check looks at, and the row it is on.
struct PictureUse {
    const PictureField* field;
    qint64 row;
    QString path;
};

QString tableOf(const PictureField& pf) {
    return quoted(Schema::table(QLatin1String(pf.table)).name);
}

// The row's key as the report names it (read again only for a row with a problem).
QString keyOf(Database& db, const PictureUse& use) {
    QStringList columns = use.field->key;
    for (QString& c : columns)
        c = quoted(c);
    QSqlQuery query = select(db, QStringLiteral("select %1 from %2 where rowid = %3")
                                     .arg(columns.join(QStringLiteral(", ")), tableOf(*use.field))
                                     .arg(use.row));
    QStringList key;
    if (query.next())
        for (int i = 0; i < columns.size(); ++i)
            key << query.value(i).toString();
    return key.join(QStringLiteral(" - "));
}

// The picture paths of one column, counted; a path outside the data directory is only
// counted by the folder it points into (one summary: relocate mends them all).
void gatherPictures(Database& db, const PictureField& pf, QList<PictureUse>& uses,
                    QSet<QString>& seen, CheckReport& report) {
    QStringList columns{QStringLiteral("rowid"), quoted(QLatin1String(pf.field))};
    if (pf.onlyBrasil)
        columns << quoted(QStringLiteral("PaisClube"));
    QSqlQuery query = select(db, QStringLiteral("select %1 from %2 order by rowid")
                                     .arg(columns.join(QStringLiteral(", ")), tableOf(pf)));
    const bool repeats = qstrcmp(pf.field, "EscudoClube") != 0;
    while (query.next()) {
        QString path = query.value(1).toString();
        if (pf.onlyBrasil && path.isEmpty() && query.value(2).toString() != brasil)
            continue; // no state flag outside Brasil
        ++report.pictures;
        if (!path.isEmpty() && !insideDir(path, db.dataDir())) {
            ++report.outside[foreignRoot(path)];
            continue;
        }
        if (repeats) // a flag on many clubs is held once
            path = *seen.insert(path);
        uses.append({&pf, query.value(0).toLongLong(), path});
    }
}

// Flags and logos repeat on every club: each distinct one is looked at once. A badge is
// each club's own. The files are looked at on every core.
void checkPictures(Database& db, const QList<PictureUse>& uses, CheckDepth depth,
                   CheckReport& report) {
    QStringList files;
    QHash<QString, qsizetype> shared; // flag or logo path -> its place in files
    QList<qsizetype> fileOf(uses.size());
    for (qsizetype i = 0; i < uses.size(); ++i) {
        const PictureUse& use = uses[i];
        if (qstrcmp(use.field->field, "EscudoClube") != 0) {
            if (const auto it = shared.constFind(use.path); it != shared.constEnd()) {
                fileOf[i] = *it;
                continue;
            }
            shared.insert(use.path, files.size());
        }
        fileOf[i] = files.size();
        files << use.path;
    }
    QList<QString> faults(files.size());
    onEveryCore(files.size(), [&](qsizetype f) { faults[f] = pictureFault(files[f], depth); });
    for (qsizetype i = 0; i < uses.size(); ++i)
        if (const QString& fault = faults[fileOf[i]]; !fault.isEmpty())
            report.problems.append({Schema::table(QLatin1String(uses[i].field->table)).fileName,
                                    keyOf(db, uses[i]), QLatin1String(uses[i].field->field),
                                    uses[i].path, fault});
}

QString damagedStore(const QString& root, const QStringList& damage) {
    return QStringLiteral("O arquivo de dados %1 está danificado; o programa não pode confiar "
                          "nele. O que a verificação do SQLite encontrou:\n  %2\nRestaure uma "
                          "cópia de segurança: renomeie a pasta %3 (para guardá-la como está) "
                          "e use velmora-datadir restore CÓPIA %3.")
        .arg(QDir(root).filePath(QLatin1String(Database::fileName)),
             damage.join(QStringLiteral("\n  ")), root);
}

// Files of the badge folder that no club names. A path into another data
// directory names the file of the same name here (what relocate would point it
// at), and names are compared in any letter case: a file that may still be
// someone's badge is never reported.
QStringList strayBadges(Database& db, const QString& root) {
    const FolderIndex index(root);
    const QString badges = QLatin1String(badgesDir);
    QSet<QString> named;
    QSqlQuery query = select(db, QStringLiteral("select \"EscudoClube\" from \"Clubes\""));
    while (query.next()) {
        const QString path = query.value(0).toString();
        if (insideDir(path, root)) {
            const QFileInfo info(QDir::cleanPath(path));
            if (QDir::cleanPath(info.path())
                    .compare(index.folderPath(badges), Qt::CaseInsensitive) == 0)
                named.insert(info.fileName().toLower());
        } else if (const auto parts = splitPicturePath(path); parts && parts->folder == badges) {
            named.insert(parts->name.toLower());
        }
    }
    QStringList strays;
    for (const QString& name : index.files(badges))
        if (!named.contains(name.toLower()))
            strays << index.folderPath(badges) + QLatin1Char('/') + name;
    strays.sort();
    return strays;
}

int countRows(Database& db, const char* table) {
    QSqlQuery query = select(db, QStringLiteral("select count(*) from %1")
                                     .arg(quoted(Schema::table(QLatin1String(table)).name)));
    return query.next() ? query.value(0).toInt() : 0;
}

} // namespace

CheckReport check(const QString& dir, bool fix, CheckDepth depth) {
    const QString root = existingDir(dir);
    if (const QStringList damage = storeDamage(root); !damage.isEmpty())
        fail(Exit::Problems, damagedStore(root, damage));
    CheckReport report;
    try {
        TFrmDm dm(root); // opens and checks the store exactly as the program does
        report.upgradeNotice = dm.upgradeNotice();
        Database& db = dm.database();
        // Every club row is read once per picture column: mapped, in place.
        db.exec(QStringLiteral("PRAGMA mmap_size = %1")
                    .arg(QFileInfo(QDir(root).filePath(QLatin1String(Database::fileName))).size()));
        report.readOnly = db.readOnly();
        report.counts = {countRows(db, "Paises"),  countRows(db, "UF"),
                         countRows(db, "Anos"),    countRows(db, "Federacao"),
                         countRows(db, "Cidades"), countRows(db, "Clubes")};
        QList<PictureUse> uses;
        QSet<QString> seen;
        for (const PictureField& pf : pictureFields())
            gatherPictures(db, pf, uses, seen, report);
        checkPictures(db, uses, depth, report);
        report.strays = strayBadges(db, root);
    } catch (const StoreError& e) {
        fail(Exit::Problems,
             QStringLiteral("O arquivo de dados de %1 não abre: %2").arg(root, e.text()));
    }
    if (fix)
        for (const QString& stray : std::as_const(report.strays))
            if (files::trash(stray))
                report.trashed << stray;
    return report;
}

} // namespace velmora::datadir
