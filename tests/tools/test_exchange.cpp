// velmora-datadir's export and import of clubs as CSV, called as functions.
#include "core/Pictures.h"
#include "store/Counts.h"
#include "store/Database.h"
#include "store/Folding.h"
#include "store/Schema.h"
#include "store/Search.h"
#include "tests/support/Rows.h"
#include "tests/tools/DataDirTest.h"
#include "tools/datadir/CopyNew.h"
#include "tools/datadir/Csv.h"
#include "tools/datadir/DataDir.h"
#include "tools/datadir/Exchange.h"
#include "tools/datadir/Progress.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <csignal>

using namespace velmora;
using namespace velmora::datadir;
using namespace velmora::test;

namespace {

constexpr int year = 2024;

const QStringList pictureFields = {"EscudoClube", "BandeiraPais", "BandeiraUF", "LogoFederacao"};

// Every club as text, in code order; picture paths relative to the data directory.
QList<QStringList> clubsOf(const QString& dir) {
    Database db(dir);
    QList<QStringList> rows = rowsOf(db, QStringLiteral("select %1 from Clubes order by Codigo")
                                             .arg(declaredFields(QStringLiteral("Clubes"))));
    for (QStringList& row : rows)
        for (QString& value : row)
            if (value.startsWith(dir + QLatin1Char('/')))
                value = value.mid(dir.size() + 1);
    return rows;
}

// Everything the store keeps about its clubs, paths relative to dir: the rows with their
// order keys, the count tables, every trigram of each name search, and the tables,
// indexes and triggers themselves.
QList<QStringList> storeDump(const QString& dir) {
    Database db(dir);
    QList<QStringList> dump = rowsOf(db, QStringLiteral("select * from Clubes order by Codigo"));
    for (const CountTable& t : velmora::Counts::tables())
        dump += rowsOf(db, QStringLiteral("select * from %1 order by Chave").arg(t.name));
    for (const SearchIndex& index : Search::indexes()) {
        db.exec(QStringLiteral("create virtual table temp.Termos using fts5vocab(main, %1, "
                               "'instance')")
                    .arg(index.name));
        dump += rowsOf(db, QStringLiteral("select term, doc from temp.Termos order by 1, 2"));
        db.exec(QStringLiteral("drop table temp.Termos"));
    }
    dump += rowsOf(db, QStringLiteral("select * from %1 order by 1").arg(Search::piecesTable()));
    dump += rowsOf(db, QStringLiteral("select type, name, tbl_name, sql from sqlite_master "
                                      "order by type, name"));
    for (QStringList& row : dump)
        for (QString& value : row)
            if (value.startsWith(dir + QLatin1Char('/')))
                value = value.mid(dir.size() + 1);
    return dump;
}

// A CSV file written the way a spreadsheet might: columns in another order, either
// separator, with or without the byte-order mark.
QByteArray rewrite(const QByteArray& exported, QChar sep, bool bom, bool reversed) {
    const csv::Table table = csv::read(exported);
    QString text;
    for (csv::Record r : table.records) {
        if (reversed)
            std::reverse(r.fields.begin(), r.fields.end());
        csv::appendRecord(text, r.fields, sep);
    }
    return (bom ? QByteArray(csv::byteOrderMark) : QByteArray()) + text.toUtf8();
}

// A small JPEG whose header declares far more pixels than any badge has.
QByteArray hugeJpegHeader() {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    const qsizetype frame = bytes.indexOf("\xFF\xC0");
    for (qsizetype side : {frame + 5, frame + 7}) { // height, then width, big-endian
        bytes[side] = char(30000 >> 8);
        bytes[side + 1] = char(30000 & 0xFF);
    }
    return bytes;
}

// A JPEG whose scan stops half-way and is closed by an end marker: its header and its
// end look whole, only decoding its data shows the damage.
QByteArray jpegCutInTheScan() {
    QImage image(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 4, y * 4, (x * y) % 256));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 95);
    const qsizetype scan = bytes.indexOf("\xFF\xDA");
    return bytes.left(scan + (bytes.size() - scan) / 2) + "\xFF\xD9";
}

// The exported lines of a few sample clubs, as field maps, to build bad files from.
using Line = QHash<QString, QString>;

} // namespace

Q_DECLARE_METATYPE(velmora::datadir::IndexUpkeep)
Q_DECLARE_METATYPE(velmora::datadir::csv::Encoding)

class TestExchange final : public QObject {
    Q_OBJECT

private:
    QTemporaryDir tmp_;
    QString sample_; // a sample catalogue, never changed
    QByteArray exported_;
    int runs_ = 0;

    QString fresh(const QString& name) {
        return tmp_.path() + QStringLiteral("/%1-%2").arg(name).arg(++runs_);
    }

    QString emptyCatalogue() {
        const QString dir = fresh(QStringLiteral("vazio"));
        create({dir, false, year});
        return dir;
    }

    QString writeCsv(const QByteArray& bytes) {
        const QString path = fresh(QStringLiteral("clubes")) + QStringLiteral(".csv");
        writeFile(path, bytes);
        return path;
    }

    // The header and the first rows of the sample's export, as field maps.
    QList<Line> sampleLines(int count) const {
        const csv::Table table = csv::read(exported_);
        QList<Line> lines;
        for (int r = 1; r <= count; ++r) {
            Line line;
            for (qsizetype c = 0; c < table.records[0].fields.size(); ++c)
                line.insert(table.records[0].fields[c], table.records[r].fields[c]);
            lines.append(line);
        }
        return lines;
    }

    static QByteArray csvOf(const QList<Line>& lines) {
        QStringList header;
        for (const FieldDef& f : Schema::table(QStringLiteral("Clubes")).fields)
            header << f.name;
        QString text;
        csv::appendRecord(text, header, QLatin1Char(';'));
        for (const Line& line : lines) {
            QStringList fields;
            for (const QString& name : header)
                fields << line.value(name);
            csv::appendRecord(text, fields, QLatin1Char(';'));
        }
        return text.toUtf8();
    }

    ImportReport import(const QString& dir, const QString& csvPath) {
        return importClubs({dir, csvPath, QChar(), tmp_.path(), year});
    }

private slots:
    void initTestCase() {
        QVERIFY(tmp_.isValid());
        sample_ = tmp_.path() + QStringLiteral("/sample");
        QCOMPARE(create({sample_, true, year}).clubs, 40);
        const QString file = tmp_.path() + QStringLiteral("/export.csv");
        QCOMPARE(exportClubs({sample_, file, QLatin1Char(';')}).clubs, 40);
        exported_ = bytesOf(file);
    }

    void exportWritesEveryFieldRelative() {
        QVERIFY(exported_.startsWith(csv::byteOrderMark));
        const csv::Table table = csv::read(exported_);
        QVERIFY(table.errors.isEmpty());
        QCOMPARE(table.separator, QLatin1Char(';'));
        QCOMPARE(table.records.size(), 41);
        QStringList names;
        for (const FieldDef& f : Schema::table(QStringLiteral("Clubes")).fields)
            names << f.name;
        QCOMPARE(table.records[0].fields, names);
        const QList<QStringList> stored = clubsOf(sample_);
        const qsizetype badge = names.indexOf("EscudoClube");
        for (int r = 1; r < table.records.size(); ++r) {
            QStringList expected = stored[r - 1];
            // Badges are copied beside the CSV, their paths relative to it.
            expected[badge] = "export-distintivos/" + QFileInfo(expected[badge]).fileName();
            QCOMPARE(table.records[r].fields, expected);
            QCOMPARE(bytesOf(tmp_.path() + '/' + expected[badge]),
                     bytesOf(sample_ + '/' + stored[r - 1][badge]));
        }
        // Other paths inside the data directory are written relative to it.
        QVERIFY(!exported_.contains(sample_.toUtf8()));
        QVERIFY(exported_.contains("Bandeiras/"));
        // A file that exists is never replaced.
        const QString again = tmp_.path() + QStringLiteral("/export.csv");
        QVERIFY_THROWS_EXCEPTION(DataDirError, exportClubs({sample_, again, QLatin1Char(',')}));
        QCOMPARE(bytesOf(again), exported_);
    }

    void roundTrip_data() {
        QTest::addColumn<QChar>("sep");
        QTest::addColumn<bool>("bom");
        QTest::addColumn<bool>("reversed");
        row("ponto e vírgula, BOM", QChar(QLatin1Char(';')), true, false);
        row("vírgula, sem BOM", QChar(QLatin1Char(',')), false, false);
        row("vírgula, BOM, colunas invertidas", QChar(QLatin1Char(',')), true, true);
        row("ponto e vírgula, sem BOM, colunas invertidas", QChar(QLatin1Char(';')), false, true);
    }
    void roundTrip() {
        QFETCH(QChar, sep);
        QFETCH(bool, bom);
        QFETCH(bool, reversed);
        const QString target = emptyCatalogue();
        const ImportReport report =
            import(target, writeCsv(rewrite(exported_, sep, bom, reversed)));
        QVERIFY2(report.problems.isEmpty(),
                 qPrintable(report.problems.value(0).field + report.problems.value(0).reason));
        QCOMPARE(report.added, 40);
        QCOMPARE(report.renumbered, 0);
        QCOMPARE(clubsOf(target), clubsOf(sample_));
        QCOMPARE(treeOf(target + QStringLiteral("/Distintivos")),
                 treeOf(sample_ + QStringLiteral("/Distintivos")));
        for (const QString& name : treeOf(sample_ + QStringLiteral("/Distintivos")))
            QCOMPARE(bytesOf(target + QStringLiteral("/Distintivos/") + name),
                     bytesOf(sample_ + QStringLiteral("/Distintivos/") + name));
        QVERIFY(check(target).problems.isEmpty());
    }

    void codesKeptWhereFreeAndBadgesGetFreeNames() {
        const QString target = emptyCatalogue();
        QList<Line> lines = sampleLines(4);
        lines[0][QStringLiteral("Codigo")] = QStringLiteral("7");
        lines[1][QStringLiteral("Codigo")] = QStringLiteral("7"); // taken by the line above
        lines[2][QStringLiteral("Codigo")] = QString();           // numbered
        lines[3][QStringLiteral("Codigo")] = QStringLiteral("3");
        lines[3][QStringLiteral("EscudoClube")] = lines[0][QStringLiteral("EscudoClube")];
        const ImportReport report = import(target, writeCsv(csvOf(lines)));
        QVERIFY(report.problems.isEmpty());
        QCOMPARE(report.renumbered, 1);
        QCOMPARE(report.badgesRenamed, 1);
        Database db(target);
        QCOMPARE(columnOf(db, QStringLiteral("select Codigo || ' ' || NomeClube from Clubes "
                                             "order by Codigo")),
                 QStringList({"3 " + lines[3]["NomeClube"], "7 " + lines[0]["NomeClube"],
                              "8 " + lines[1]["NomeClube"], "9 " + lines[2]["NomeClube"]}));
        // The same badge file twice: each club gets a file of its own.
        const QStringList badges = columnOf(
            db, QStringLiteral("select EscudoClube from Clubes where Codigo in (3, 7) order by 1"));
        QCOMPARE(badges.size(), 2);
        QVERIFY(badges[0] != badges[1]);
        QCOMPARE(bytesOf(badges[0]), bytesOf(badges[1]));
        QCOMPARE(
            columnOf(db, QStringLiteral("select IdadeClube from Clubes where Codigo = 7")),
            QStringList(QStringLiteral("%1 anos").arg(year - lines[0]["AnoFundacao"].toInt())));
    }

    void refusals_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("reasonPart");
        QTest::addColumn<QString>("listedField"); // empty: the field changed
        row("nome vazio", "NomeClube", "", "obrigatório", QString());
        row("nome já cadastrado", "NomeClube", "@stored", "Existe cadastrado", QString());
        row("nome repetido no arquivo", "NomeClube", "@first", "linha 2", QString());
        row("Brasil sem estado", "UFClube", "", "ESTADO", QString());
        row("estado fora do Brasil", "PaisClube", "Argentina", "Brasil", "UFClube");
        row("país sem linha", "PaisClube", "Atlântida", "Paises.DB", QString());
        row("estado sem linha", "UFClube", "XX", "UF.DB", QString());
        row("federação sem linha", "Federacao", "FIFO", "Federacao.db", QString());
        row("ano fora da tabela", "AnoFundacao", "1700", "Anos.DB", QString());
        row("tipo inválido", "Identificador", "2", "seleção", QString());
        row("tipo vazio", "Identificador", "", "obrigatório", QString());
        row("extinto inválido", "Extinto", "sim", "extinto", QString());
        row("estádio largo demais", "Estadio", QString(36, 'E'), "35", QString());
        row("distintivo ausente", "EscudoClube", "Distintivos/nada.jpg", "não existe", QString());
        row("distintivo de tipo desconhecido", "EscudoClube", "@text", "tipo", QString());
        row("distintivo vazio", "EscudoClube", "", "obrigatório", QString());
        row("caminho do distintivo longo demais", "EscudoClube",
            "Distintivos/" + QString(100, 'x') + ".jpg", "caracteres", QString());
        row("código inválido", "Codigo", "12a", "código", QString());
        row("distintivo que é texto com nome de figura", "EscudoClube", "@fake", "danificado",
            QString());
        row("distintivo cortado no meio dos dados", "EscudoClube", "@cut", "danificado", QString());
        row("distintivo grande demais", "EscudoClube", "@huge", "grande demais", QString());
        row("distintivo de pixels demais", "EscudoClube", "@pixels", "grande demais", QString());
        row("NUL no nome", "NomeClube", "@nul", "NUL", QString());
        row("tabulação no estádio", "Estadio", "Arena\tNova", "tabulação", QString());
        row("escape na cidade", "CidadeClube", "Rio\x1b", "escape", QString());
        row("UTF-16 sem BOM", "", "@utf16", "UTF-16", QString());
        row("linha curta", "", "@short", "campos", QString());
        row("aspas sem fim", "", "@quote", "aspas", QString());
        row("texto que não é UTF-8", "", "@latin1", "UTF-8", QString());
        row("coluna desconhecida", "Apelido", "@header", "desconhecida", QString());
    }
    void refusals() {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, reasonPart);
        QFETCH(QString, listedField);
        if (listedField.isEmpty())
            listedField = field;
        // A Brazilian club first, the bad line second, a good line third.
        QList<Line> lines = sampleLines(40);
        const auto brazilian = [](const Line& l) { return l["PaisClube"] == "Brasil"; };
        Line first = *std::find_if(lines.begin(), lines.end(), brazilian);
        Line bad = *std::find_if(lines.rbegin(), lines.rend(), brazilian);
        const Line good =
            *std::find_if(lines.begin(), lines.end(), [&](const Line& l) { return !brazilian(l); });
        const QString target = emptyCatalogue();
        int line = 3;
        QByteArray bytes;
        if (value == "@stored") {
            QVERIFY(import(target, writeCsv(csvOf({first}))).problems.isEmpty());
            bad["NomeClube"] = first["NomeClube"];
            first["NomeClube"] += QStringLiteral(" B");
        } else if (value == "@first") {
            bad["NomeClube"] = first["NomeClube"];
        } else if (value == "@fake") {
            writeFile(tmp_.path() + QStringLiteral("/falso.jpg"), "isto não é uma figura");
            bad["EscudoClube"] = QStringLiteral("falso.jpg");
        } else if (value == "@cut") {
            writeFile(tmp_.path() + QStringLiteral("/cortado.jpg"), jpegCutInTheScan());
            bad["EscudoClube"] = QStringLiteral("cortado.jpg");
        } else if (value == "@huge") {
            QFile huge(tmp_.path() + QStringLiteral("/enorme.png"));
            QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(Pictures::maxFileBytes + 1));
            bad["EscudoClube"] = QStringLiteral("enorme.png");
        } else if (value == "@pixels") {
            writeFile(tmp_.path() + QStringLiteral("/imensa.jpg"), hugeJpegHeader());
            bad["EscudoClube"] = QStringLiteral("imensa.jpg");
        } else if (value == "@nul") {
            bad["NomeClube"] = QStringLiteral("Nome") + QChar(0) + QStringLiteral("Cortado");
        } else if (value == "@text") {
            writeFile(tmp_.path() + QStringLiteral("/escudo.txt"), "not a picture");
            bad["EscudoClube"] = QStringLiteral("escudo.txt");
        } else if (value.startsWith('@')) {
            bad["Estadio"] = QStringLiteral("@MARK@");
        } else {
            bad[field] = value;
        }
        bytes = csvOf({first, bad, good});
        if (value == "@short")
            bytes.replace(";@MARK@", "");
        else if (value == "@quote")
            bytes.replace("@MARK@", "\"Maracanã");
        else if (value == "@latin1")
            bytes.replace("@MARK@", QString::fromUtf8("Estádio").toLatin1());
        else if (value == "@header") {
            bytes.replace("Estadio", "Apelido");
            line = 1;
        } else if (value == "@utf16") {
            bytes = QStringEncoder(QStringConverter::Utf16LE).encode(QString::fromUtf8(bytes));
            line = 1;
        }
        const QList<QStringList> before = clubsOf(target);
        const QStringList badgesBefore = treeOf(target);
        const ImportReport report = import(target, writeCsv(bytes));
        QCOMPARE(report.added, 0);
        QVERIFY(!report.problems.isEmpty());
        const auto it =
            std::find_if(report.problems.begin(), report.problems.end(), [&](const LineProblem& p) {
                return p.line == line && p.field == listedField &&
                       p.reason.contains(reasonPart, Qt::CaseInsensitive);
            });
        QVERIFY2(it != report.problems.end(),
                 qPrintable(QStringLiteral("%1 %2 %3")
                                .arg(report.problems[0].line)
                                .arg(report.problems[0].field, report.problems[0].reason)));
        // Only the bad line is listed, and nothing was added or copied.
        for (const LineProblem& p : report.problems)
            QCOMPARE(p.line, line);
        QCOMPARE(clubsOf(target), before);
        QCOMPARE(treeOf(target), badgesBefore);
    }

    // Catalogues holding the same few clubs take the rest of the sample, one keeping its
    // indexes, counts and name search row by row, the other building them after the rows.
    void indexUpkeepGivesTheSameStore() {
        const QList<Line> lines = sampleLines(40);
        QList<QList<QStringList>> dumps;
        for (IndexUpkeep upkeep : {IndexUpkeep::PerRow, IndexUpkeep::Rebuild}) {
            const QString target = emptyCatalogue();
            QVERIFY(importClubs({target, writeCsv(csvOf(lines.mid(0, 6))), QChar(), tmp_.path(),
                                 year, IndexUpkeep::PerRow})
                        .problems.isEmpty());
            const ImportReport report = importClubs(
                {target, writeCsv(csvOf(lines.mid(6))), QChar(), tmp_.path(), year, upkeep});
            QVERIFY(report.problems.isEmpty());
            QCOMPARE(report.added, 34);
            dumps.append(storeDump(target));
            // The last club is found by its name through the rebuilt search too.
            Database db(target);
            const SearchIndex& byName = Search::indexes().first();
            const QString query =
                Search::trigramQuery(foldedText(lines.last()[QStringLiteral("NomeClube")]));
            const QString quoted =
                u'\'' + QString(query).replace(u'\'', QStringLiteral("''")) + u'\'';
            QCOMPARE(columnOf(db, Search::candidateCodes(byName, quoted)),
                     QStringList(lines.last()[QStringLiteral("Codigo")]));
        }
        QCOMPARE(dumps[1], dumps[0]);
    }

    // The store refuses a row half-way through (as a full disk would): no row is added,
    // the indexes, counts and searches are as they were and every badge copied is gone.
    void storeFailureMidwayLeavesNothing_data() {
        QTest::addColumn<IndexUpkeep>("upkeep");
        row("linha a linha", IndexUpkeep::PerRow);
        row("índices refeitos", IndexUpkeep::Rebuild);
    }
    void storeFailureMidwayLeavesNothing() {
        QFETCH(IndexUpkeep, upkeep);
        const QList<Line> lines = sampleLines(40);
        const QString target = emptyCatalogue();
        QVERIFY(import(target, writeCsv(csvOf(lines.mid(0, 3)))).problems.isEmpty());
        {
            Database db(target);
            db.exec(QStringLiteral("create trigger Recusa before insert on Clubes when "
                                   "new.Codigo = %1 begin select raise(abort, 'disco cheio'); "
                                   "end")
                        .arg(lines[25][QStringLiteral("Codigo")]));
        }
        const QList<QStringList> before = storeDump(target);
        const QStringList filesBefore = treeOf(target);
        const QString csvPath = writeCsv(csvOf(lines.mid(3)));
        try {
            importClubs({target, csvPath, QChar(), tmp_.path(), year, upkeep});
            QFAIL("the refused row did not stop the import");
        } catch (const DataDirError& e) {
            QVERIFY2(e.text().contains(QStringLiteral("disco cheio")), qPrintable(e.text()));
        }
        QCOMPARE(storeDump(target), before);
        QCOMPARE(treeOf(target), filesBefore);
    }

    // A copy that fails half-way stops the rest; what was copied before it is removed,
    // and a file that was already there is never replaced.
    void failedCopyRemovesTheOthers_data() {
        QTest::addColumn<bool>("targetTaken");
        row("origem ausente", false);
        row("destino já existe", true);
    }
    void failedCopyRemovesTheOthers() {
        QFETCH(bool, targetTaken);
        const QString from = fresh(QStringLiteral("origem")), to = fresh(QStringLiteral("destino"));
        QList<BackgroundCopies::File> files;
        for (int i = 1; i <= 6; ++i) {
            const QString name = QStringLiteral("escudo%1.jpg").arg(i);
            if (i != 3 || targetTaken)
                writeFile(from + QLatin1Char('/') + name, QByteArray(500 * i, char('a' + i)));
            files.append({from + QLatin1Char('/') + name, to + QLatin1Char('/') + name, i + 1});
        }
        if (targetTaken)
            writeFile(to + QStringLiteral("/escudo3.jpg"), "já estava aqui");
        QDir().mkpath(to);
        {
            BackgroundCopies copies(files);
            QString reason;
            const BackgroundCopies::File* failed = copies.finish(reason);
            QVERIFY(failed);
            QCOMPARE(failed->line, 4);
            QVERIFY2(reason.contains(QStringLiteral("escudo3.jpg")), qPrintable(reason));
        }
        QCOMPARE(treeOf(to),
                 targetTaken ? QStringList(QStringLiteral("escudo3.jpg")) : QStringList());
        if (targetTaken)
            QCOMPARE(bytesOf(to + QStringLiteral("/escudo3.jpg")), QByteArray("já estava aqui"));
        // Every file copied, byte for byte, and kept.
        files.removeAt(2);
        QDir(to).removeRecursively();
        QDir().mkpath(to);
        {
            BackgroundCopies copies(files);
            QString reason;
            QVERIFY(!copies.finish(reason));
            QVERIFY(reason.isEmpty());
            copies.keep();
        }
        for (const BackgroundCopies::File& f : files)
            QCOMPARE(bytesOf(f.target), bytesOf(f.source));
    }

    // Files a spreadsheet or another system writes: read in the encoding they carry or
    // the user names; a file that is not UTF-8 but holds UTF-8 sequences is refused
    // until the user says what it is.
    void encodings_data() {
        QTest::addColumn<QString>("written");
        QTest::addColumn<csv::Encoding>("told");
        QTest::addColumn<QString>("readAs");
        row("texto Unicode de planilha (UTF-16 com BOM)", "utf-16le", csv::Encoding::Automatic,
            "UTF-16");
        row("UTF-16 big-endian com BOM", "utf-16be", csv::Encoding::Automatic, "UTF-16");
        row("UTF-32 com BOM", "utf-32le", csv::Encoding::Automatic, "UTF-32");
        row("Windows-1252 sem dizer", "windows-1252", csv::Encoding::Automatic, "Windows-1252");
        row("Windows-1252 que parece UTF-8, dito", "windows-1252+", csv::Encoding::Windows1252,
            "Windows-1252");
    }
    void encodings() {
        QFETCH(QString, written);
        QFETCH(csv::Encoding, told);
        QFETCH(QString, readAs);
        QString text = QString::fromUtf8(exported_.mid(3));
        QList<QStringList> expected = clubsOf(sample_);
        if (written.endsWith('+')) {
            // "Ã©" in Windows-1252 is the bytes of "é" in UTF-8.
            const QString stadium = expected[0][15];
            text.replace(stadium, stadium + QStringLiteral("Ã©"));
            expected[0][15] += QStringLiteral("Ã©");
            written.chop(1);
            const QString file = writeCsv(QStringEncoder("windows-1252").encode(text));
            const ImportReport refused = import(emptyCatalogue(), file);
            QCOMPARE(refused.added, 0);
            QVERIFY2(refused.problems.value(0).reason.contains("--codificacao windows-1252"),
                     qPrintable(refused.problems.value(0).reason));
        }
        const QByteArray bytes =
            written.startsWith("utf")
                ? QStringEncoder(written.toUpper().toLatin1(), QStringConverter::Flag::WriteBom)
                      .encode(text)
                : QByteArray(QStringEncoder(written.toLatin1()).encode(text));
        const QString target = emptyCatalogue();
        ImportOptions options{target, writeCsv(bytes), QChar(), tmp_.path(), year};
        options.encoding = told;
        const ImportReport report = importClubs(options);
        QVERIFY2(report.problems.isEmpty(), qPrintable(report.problems.value(0).reason));
        QCOMPARE(report.encoding, readAs);
        QCOMPARE(clubsOf(target), expected);
    }

    // Once every line is found good the badges are copied; one that fails (its file
    // gone meanwhile) leaves the store as it was: no row is committed before every
    // copy is known to be on disk, and the copies made are removed.
    // The rows go in while the badges are copied: a copy that fails, or a row the store
    // refuses, leaves the store and the data folder as they were, and says so (not that
    // the store would not open).
    void failedWriteCommitsNothing_data() {
        QTest::addColumn<bool>("storeRefuses");
        QTest::newRow("um distintivo some antes da cópia") << false;
        QTest::newRow("o arquivo de dados recusa uma linha") << true;
    }
    void failedWriteCommitsNothing() {
        QFETCH(bool, storeRefuses);
        const QList<Line> lines = sampleLines(40);
        const QString target = emptyCatalogue();
        QVERIFY(import(target, writeCsv(csvOf(lines.mid(0, 3)))).problems.isEmpty());
        QList<Line> rest = lines.mid(3);
        const QString vanishing = tmp_.path() + QStringLiteral("/some.jpg");
        QVERIFY(QFile::copy(tmp_.path() + '/' + rest[30]["EscudoClube"], vanishing));
        rest[30]["EscudoClube"] = QStringLiteral("some.jpg");
        if (storeRefuses) {
            Database db(target);
            db.exec(QStringLiteral("create trigger Recusa before insert on Clubes when "
                                   "new.NomeClube = '%1' begin select raise(abort, 'recusado'); "
                                   "end")
                        .arg(rest[30]["NomeClube"]));
        }
        const QList<QStringList> before = storeDump(target);
        const QStringList filesBefore = treeOf(target);
        ImportOptions options{target, writeCsv(csvOf(rest)), QChar(), tmp_.path(), year};
        int copiesAsked = 0;
        options.beforeCopies = [&] {
            ++copiesAsked;
            if (!storeRefuses)
                QFile::remove(vanishing);
        };
        try {
            importClubs(options);
            QFAIL("the failure did not stop the import");
        } catch (const DataDirError& e) {
            QVERIFY2(e.text().contains(QStringLiteral("nada foi importado"), Qt::CaseInsensitive),
                     qPrintable(e.text()));
            QVERIFY2(!e.text().contains(QStringLiteral("não abre")), qPrintable(e.text()));
        }
        QCOMPARE(copiesAsked, 1);
        QCOMPARE(storeDump(target), before);
        QCOMPARE(treeOf(target), filesBefore);
    }

    // An import tells each step as it goes, and stopping it at any step (Ctrl+C in the
    // tool) leaves the store and the data folder as they were.
    void importTellsItsStepsAndStopsAtAny() {
        const QList<Line> lines = sampleLines(40);
        const QString file = writeCsv(csvOf(lines.mid(3)));
        const auto catalogueOfThree = [&] {
            const QString target = emptyCatalogue();
            return import(target, writeCsv(csvOf(lines.mid(0, 3)))).problems.isEmpty() ? target
                                                                                       : QString();
        };
        QList<QPair<QString, int>> told;
        ImportOptions options{catalogueOfThree(), file, QChar(), tmp_.path(), year};
        options.progress = [&](const QString& doing, int percent) {
            told.append({doing, percent});
            return true;
        };
        QVERIFY(importClubs(options).problems.isEmpty());
        QStringList steps;
        int last = -1;
        for (const auto& [doing, percent] : std::as_const(told)) {
            QVERIFY2(percent >= -1 && percent <= 100, qPrintable(doing));
            if (steps.isEmpty() || steps.last() != doing) {
                QVERIFY2(!steps.contains(doing), qPrintable(doing)); // each step comes once
                steps << doing;
            } else {
                QVERIFY2(percent >= last, qPrintable(doing)); // never backwards
            }
            last = percent;
        }
        QVERIFY2(steps.size() >= 5, qPrintable(steps.join(QStringLiteral(", "))));

        for (const QString& step : std::as_const(steps)) {
            options.dir = catalogueOfThree();
            const QList<QStringList> before = storeDump(options.dir);
            const QStringList filesBefore = treeOf(options.dir);
            options.progress = [&step](const QString& doing, int) { return doing != step; };
            try {
                importClubs(options);
                QFAIL(qPrintable(QStringLiteral("not stopped at \"%1\"").arg(step)));
            } catch (const DataDirError& e) {
                QVERIFY2(
                    e.text().contains(QStringLiteral("nada foi importado"), Qt::CaseInsensitive),
                    qPrintable(e.text()));
            }
            QCOMPARE(storeDump(options.dir), before);
            QCOMPARE(treeOf(options.dir), filesBefore);
        }
    }

    // Ctrl+C or a termination request during a long command becomes a stop at its next
    // step (the command then undoes itself); the handlers from before are back after it.
    void interruptStopsAtTheNextStep() {
        struct sigaction before {};
        sigaction(SIGINT, nullptr, &before);
        {
            TerminalProgress progress(false);
            QVERIFY(progress(QStringLiteral("Lendo as linhas"), 10));
            std::raise(SIGINT);
            QVERIFY(!progress(QStringLiteral("Lendo as linhas"), 11));
        }
        struct sigaction after {};
        sigaction(SIGINT, nullptr, &after);
        QVERIFY(after.sa_handler == before.sa_handler);
        TerminalProgress again(false);
        QVERIFY(again(QStringLiteral("Lendo as linhas"), 0));
        std::raise(SIGTERM);
        QVERIFY(!again(QStringLiteral("Lendo as linhas"), 1));
        // On a terminal each step is written over the last, a shorter one padded over it.
        const QString longer = again.line(QStringLiteral("Verificando os distintivos"), 40);
        const QString shorter = again.line(QStringLiteral("Gravando"), -1);
        QVERIFY(longer.startsWith(QLatin1Char('\r')) && longer.contains(QStringLiteral("40%")));
        QVERIFY(shorter.startsWith(QLatin1Char('\r')) && !shorter.contains(QLatin1Char('%')));
        QCOMPARE(shorter.size(), longer.size());
    }

    // A collector corrects clubs in an export and brings the file back with update:
    // the rows whose code is stored change those clubs (a new badge replaces the old
    // one, an unchanged one stays as it is), the others are added. Without update the
    // same file is refused, and a change the editor would refuse changes nothing.
    void editedExportUpdatesItsClubs() {
        const QString target = emptyCatalogue();
        QVERIFY(import(target, writeCsv(exported_)).problems.isEmpty());
        const QString file = fresh(QStringLiteral("editado")) + QStringLiteral(".csv");
        QCOMPARE(exportClubs({target, file}).clubs, 40);
        csv::Table table = csv::read(bytesOf(file));
        const QStringList header = table.records[0].fields;
        const auto at = [&](int r, const char* field) -> QString& {
            return table.records[r].fields[header.indexOf(field)];
        };
        at(1, "Estadio") = QStringLiteral("Estádio Novo");
        at(2, "NomeClube") += QStringLiteral(" FC");
        const QString otherBadge = tmp_.path() + '/' + at(9, "EscudoClube");
        at(3, "EscudoClube") = otherBadge;
        csv::Record added = table.records[4];
        added.fields[header.indexOf("Codigo")].clear();
        added.fields[header.indexOf("NomeClube")] = QStringLiteral("Clube Novo");
        table.records.append(added);
        const auto write = [&] {
            QString text;
            for (const csv::Record& r : table.records)
                csv::appendRecord(text, r.fields, ';');
            return writeCsv(text.toUtf8());
        };
        const auto update = [&](const QString& csvPath, bool on) {
            ImportOptions options{target, csvPath, QChar(), QString(), year};
            options.update = on;
            return importClubs(options);
        };
        const QList<QStringList> before = clubsOf(target);
        const QStringList badgesBefore = treeOf(target + "/Distintivos");
        const QString edited = write();
        QVERIFY(!update(edited, false).problems.isEmpty());
        QCOMPARE(clubsOf(target), before);

        at(2, "NomeClube") = at(1, "NomeClube"); // another stored club's name
        const ImportReport refused = update(write(), true);
        QVERIFY(std::any_of(refused.problems.begin(), refused.problems.end(),
                            [](const auto& p) { return p.reason.contains("Existe cadastrado"); }));
        for (const LineProblem& p : refused.problems)
            QCOMPARE(p.line, 3);
        QCOMPARE(clubsOf(target), before);
        QCOMPARE(treeOf(target + "/Distintivos"), badgesBefore);

        const ImportReport report = update(edited, true);
        QVERIFY2(report.problems.isEmpty(), qPrintable(report.problems.value(0).reason));
        QCOMPARE(report.updated, 40);
        QCOMPARE(report.added, 1);
        const QList<QStringList> after = clubsOf(target);
        const qsizetype badge = header.indexOf("EscudoClube");
        QList<QStringList> expected = before;
        expected[0][header.indexOf("Estadio")] = QStringLiteral("Estádio Novo");
        expected[1][header.indexOf("NomeClube")] += QStringLiteral(" FC");
        expected[2][badge] = after[2][badge];
        QCOMPARE(after.mid(0, 40), expected);
        QCOMPARE(after[40][header.indexOf("NomeClube")], QStringLiteral("Clube Novo"));
        // The replaced badge went, its successor and the new club's came; no other file.
        QVERIFY(after[2][badge] != before[2][badge]);
        QCOMPARE(bytesOf(target + '/' + after[2][badge]), bytesOf(otherBadge));
        QStringList badges = badgesBefore;
        badges.removeOne(QFileInfo(before[2][badge]).fileName());
        badges << QFileInfo(after[2][badge]).fileName() << QFileInfo(after[40][badge]).fileName();
        badges.sort();
        QCOMPARE(treeOf(target + "/Distintivos"), badges);
    }

    // A file of many megabytes is read a piece at a time; one byte that is not UTF-8 deep
    // inside it is listed at its line, and no line is read twice.
    void lateBadByteListedOnce() {
        Line line = sampleLines(1).first();
        QList<Line> lines;
        for (int i = 0; i < 30000; ++i) {
            line["NomeClube"] = QStringLiteral("Clube %1").arg(i);
            lines.append(line);
        }
        lines.last()["Estadio"] = QStringLiteral("@MARK@");
        QByteArray bytes = csvOf(lines);
        bytes.replace("@MARK@", QString::fromUtf8("Estádio").toLatin1());
        const QString target = emptyCatalogue();
        const ImportReport report = import(target, writeCsv(bytes));
        QCOMPARE(report.added, 0);
        QCOMPARE(report.problems.size(), 1);
        QCOMPARE(report.problems[0].line, int(lines.size()) + 1);
        QVERIFY(report.problems[0].reason.contains(QStringLiteral("UTF-8")));
        QVERIFY(clubsOf(target).isEmpty());
    }

    void everyBadLineListed() {
        QList<Line> lines = sampleLines(5);
        lines[1]["NomeClube"].clear();
        lines[3]["Federacao"] = QStringLiteral("NENHUMA");
        lines[3]["Identificador"] = QStringLiteral("9");
        const QString target = emptyCatalogue();
        const ImportReport report = import(target, writeCsv(csvOf(lines)));
        QCOMPARE(report.added, 0);
        QList<QPair<int, QString>> listed;
        for (const LineProblem& p : report.problems)
            listed.append({p.line, p.field});
        std::sort(listed.begin(), listed.end());
        QCOMPARE(listed, (QList<QPair<int, QString>>{
                             {3, "NomeClube"}, {5, "Federacao"}, {5, "Identificador"}}));
        QVERIFY(clubsOf(target).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestExchange)
#include "test_exchange.moc"
