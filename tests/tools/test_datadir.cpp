// velmora-datadir's create and check, called as functions on temporary folders.
#include "core/Pictures.h"
#include "store/Database.h"
#include "store/Module.h"
#include "tests/support/Rows.h"
#include "tests/tools/DataDirTest.h"
#include "tools/datadir/DataDir.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

using namespace velmora;
using namespace velmora::datadir;
using namespace velmora::test;

namespace {

// Runs create and returns the exit code it failed with (Ok when it did not).
Exit createExit(const CreateOptions& options, QString* message = nullptr) {
    try {
        create(options);
        return Exit::Ok;
    } catch (const DataDirError& e) {
        if (message)
            *message = e.text();
        return e.code();
    }
}

QString u(const char* s) {
    return QString::fromUtf8(s);
}

// Picture fields of the reference tables with the folder their files go to.
struct ReferencePictures {
    const char* table;
    const char* field;
    const char* folder;
};
const ReferencePictures referencePictures[] = {
    {"Paises", "BandeiraPais", "Bandeiras"},
    {"UF", "BandeiraUF", "Estados"},
    {"Federacao", "LogoFederacao", "Federacoes"},
};

// A small picture saved as PNG.
QByteArray pngBytes() {
    QImage image(48, 32, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 5, y * 7, (x * y) % 256));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

Q_DECLARE_METATYPE(velmora::datadir::Exit)

class TestDataDir final : public QObject {
    Q_OBJECT

private:
    QTemporaryDir tmp_;
    QString dir_; // created once, without the sample, for the read-only tests
    std::unique_ptr<Database> db_;
    int runs_ = 0; // numbers the folders of data-driven runs

    QString fresh(const QString& name) const { return tmp_.path() + QLatin1Char('/') + name; }

private slots:
    void initTestCase() {
        QVERIFY(tmp_.isValid());
        dir_ = fresh(QStringLiteral("ref"));
        const Counts counts = create({dir_, false, 2024});
        QCOMPARE(counts.countries, 218);
        QCOMPARE(counts.clubs, 0);
        db_ = std::make_unique<Database>(dir_);
    }
    void cleanupTestCase() { db_.reset(); }

    void tableCounts_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("rows");
        QTest::newRow("Paises") << "Paises" << 218;
        QTest::newRow("UF") << "UF" << 27;
        QTest::newRow("Anos") << "Anos" << 201;
        QTest::newRow("Federacao") << "Federacao" << 35;
        QTest::newRow("Cidades") << "Cidades" << 138;
        QTest::newRow("Clubes") << "Clubes" << 0;
    }
    void tableCounts() {
        QFETCH(QString, table);
        QFETCH(int, rows);
        QCOMPARE(valueOf(*db_, QStringLiteral("select count(*) from \"%1\"").arg(table)).toInt(),
                 rows);
    }

    void folders() {
        for (const char* folder : {"Bandeiras", "Estados", "Federacoes", "Distintivos"})
            QVERIFY2(QFileInfo(dir_ + QLatin1Char('/') + QLatin1String(folder)).isDir(), folder);
        QVERIFY(QDir(dir_ + QStringLiteral("/Distintivos")).isEmpty());
        QCOMPARE(QDir(dir_ + QStringLiteral("/Bandeiras")).count() - 2, 218u);
    }

    void brasilRow() {
        const auto rows = rowsOf(*db_, u("select CodPais, NomePais, BandeiraPais from Paises "
                                         "where NomePais = 'Brasil'"));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0], (QStringList{"BRA", "Brasil", dir_ + "/Bandeiras/bra.jpg"}));
        QVERIFY(QFileInfo(rows[0][2]).isFile());
    }

    // Rows follow the shipped tables one for one, in order.
    void countriesFollowShippedTable() {
        const auto rows = rowsOf(*db_, u("select CodPais, NomePais from Paises order by rowid"));
        const auto shipped = shippedTable(QStringLiteral("countries.tsv"));
        QCOMPARE(rows.size(), shipped.size());
        for (qsizetype i = 0; i < rows.size(); ++i)
            QCOMPARE(rows[i], (QStringList{shipped[i]["code3"], shipped[i]["name_pt"]}));
    }

    void statesNumberedInOrder() {
        const auto rows =
            rowsOf(*db_, u("select Codigo, UF, NomeCompleto, BandeiraUF from UF order by rowid"));
        const auto shipped = shippedTable(QStringLiteral("states.tsv"));
        QCOMPARE(rows.size(), shipped.size());
        for (qsizetype i = 0; i < rows.size(); ++i)
            QCOMPARE(rows[i],
                     (QStringList{QString::number(i + 1), shipped[i]["uf"], shipped[i]["name_pt"],
                                  dir_ + "/Estados/" + shipped[i]["uf"].toLower() + ".jpg"}));
        QCOMPARE(valueOf(*db_, u("select NomeCompleto from UF where UF = 'SP'")), u("São Paulo"));
    }

    void everyYearFrom1850To2050() {
        const QStringList years = columnOf(*db_, u("select Ano from Anos order by Ano"));
        QCOMPARE(years.size(), 201);
        for (int i = 0; i < years.size(); ++i)
            QCOMPARE(years[i].toInt(), 1850 + i);
    }

    void federationsFollowShippedTable() {
        const auto rows = rowsOf(*db_, u("select NomeFederacao from Federacao order by rowid"));
        const auto shipped = shippedTable(QStringLiteral("federations.tsv"));
        QCOMPARE(rows.size(), shipped.size());
        for (qsizetype i = 0; i < rows.size(); ++i)
            QCOMPARE(rows[i][0], shipped[i]["name"]);
        QCOMPARE(valueOf(*db_, u("select count(*) from Federacao where NomeFederacao = 'FPF-SP'"))
                     .toInt(),
                 1);
    }

    void citiesCarryStateExactlyForBrasil() {
        QCOMPARE(valueOf(*db_, u("select count(*) from Cidades where (\"País\" = 'Brasil') <> "
                                 "(Estado <> '')"))
                     .toInt(),
                 0);
        QCOMPARE(valueOf(*db_, u("select Estado from Cidades where Cidade = 'Campinas'")), u("SP"));
        const auto shipped = shippedTable(QStringLiteral("cities.tsv"));
        const auto rows = rowsOf(*db_, u("select \"País\", Estado, Cidade from Cidades order by "
                                         "rowid"));
        QCOMPARE(rows.size(), shipped.size());
        for (qsizetype i = 0; i < rows.size(); ++i)
            QCOMPARE(rows[i],
                     (QStringList{shipped[i]["country_pt"], shipped[i]["uf"], shipped[i]["city"]}));
    }

    // Each reference picture is a byte-for-byte copy of the shipped file, at a full
    // path inside its folder, short enough for its field, and it loads.
    void referencePicturesCopiedAndLoad_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("folder");
        for (const auto& p : referencePictures)
            row(p.table, QString::fromLatin1(p.table), QString::fromLatin1(p.field),
                QString::fromLatin1(p.folder));
    }
    void referencePicturesCopiedAndLoad() {
        QFETCH(QString, table);
        QFETCH(QString, field);
        QFETCH(QString, folder);
        Pictures pictures;
        const QStringList paths =
            columnOf(*db_, QStringLiteral("select \"%1\" from \"%2\"").arg(field, table));
        QVERIFY(!paths.isEmpty());
        QCOMPARE(QSet<QString>(paths.begin(), paths.end()).size(), paths.size());
        for (const QString& path : paths) {
            QVERIFY2(path.startsWith(dir_ + QLatin1Char('/') + folder + QLatin1Char('/')),
                     qPrintable(path));
            QVERIFY(path.size() <= 100);
            QVERIFY2(!pictures.load(path).isNull(), qPrintable(path));
        }
    }

    void shippedFlagBytesCopied() {
        QCOMPARE(bytesOf(dir_ + "/Bandeiras/eng.jpg"),
                 bytesOf(QString::fromLatin1(shippedData) + "/flags/countries/eng.jpg"));
        QVERIFY(!bytesOf(dir_ + "/Bandeiras/eng.jpg").isEmpty());
        // Copies are ordinary files the user may replace or delete.
        QVERIFY(QFileInfo(dir_ + "/Federacoes/cbf.jpg").permissions() & QFile::WriteOwner);
    }

    void dataModuleOpensCreatedStore() {
        TFrmDm dm(dir_);
        QCOMPARE(dm.TblPaises.rowCount(), 218);
        QCOMPARE(dm.TblEstados.rowCount(), 27);
        QCOMPARE(dm.TblAnos.rowCount(), 201);
        QCOMPARE(dm.TblFederacao.rowCount(), 35);
        QCOMPARE(dm.TblCidades.rowCount(), 138);
        QVERIFY(dm.TblClubes.isEmpty());
        QCOMPARE(dm.nextClubCode(), 1);
    }

    void checkPassesOnFreshDirectory() {
        const CheckReport report = check(dir_);
        QVERIFY(report.problems.isEmpty());
        QCOMPARE(report.pictures, 218 + 27 + 35);
        QCOMPARE(report.counts.years, 201);
    }

    void refusesDirectoryWithStore() {
        const QString store = dir_ + "/Velmora.sqlite";
        db_.reset(); // nothing holds the store open while its bytes are compared
        const QByteArray before = bytesOf(store);
        const QStringList tree = treeOf(dir_);
        QString message;
        QCOMPARE(createExit({dir_, true, 2024}, &message), Exit::Refused);
        QVERIFY2(message.contains(u("já tem um arquivo de dados")), qPrintable(message));
        QCOMPARE(bytesOf(store), before);
        QCOMPARE(treeOf(dir_), tree);
        db_ = std::make_unique<Database>(dir_);
    }

    // Any file in the way, store or picture, stops the run before it writes anything.
    void neverOverwritesAFile_data() {
        QTest::addColumn<QString>("existing");
        QTest::addColumn<bool>("sample");
        QTest::newRow("store") << "Velmora.sqlite" << false;
        QTest::newRow("store journal") << "Velmora.sqlite-wal" << false;
        QTest::newRow("country flag") << "Bandeiras/bra.jpg" << false;
        QTest::newRow("logo") << "Federacoes/uefa.jpg" << false;
        QTest::newRow("sample badge") << "Distintivos/flamengo.jpg" << true;
    }
    void neverOverwritesAFile() {
        QFETCH(QString, existing);
        QFETCH(bool, sample);
        const QString dir = fresh(QStringLiteral("existing%1").arg(++runs_));
        writeFile(dir + QLatin1Char('/') + existing, "mine");
        const QStringList tree = treeOf(dir);
        QCOMPARE(createExit({dir, sample, 2024}), Exit::Refused);
        QCOMPARE(bytesOf(dir + QLatin1Char('/') + existing), QByteArray("mine"));
        QCOMPARE(treeOf(dir), tree);
    }

    void badDirectory_data() {
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QString>("says");
        const QString file = fresh(QStringLiteral("a-file"));
        writeFile(file, "x");
        QTest::newRow("a file") << file << u("não é uma pasta");
        QTest::newRow("under a file") << file + "/Velmora" << u("Não foi possível criar a pasta");
        // Tests run as root: only a place no one may create folders in is unwritable.
        QTest::newRow("not writable") << u("/proc/velmora-test") << u("Não foi possível criar");
        QTest::newRow("path too long") << fresh(QString(90, QLatin1Char('x'))) << u("longo demais");
    }
    void badDirectory() {
        QFETCH(QString, dir);
        QFETCH(QString, says);
        const QStringList before = treeOf(tmp_.path());
        QString message;
        QCOMPARE(createExit({dir, false, 2024}, &message), Exit::BadDir);
        QVERIFY2(message.contains(says), qPrintable(message));
        QCOMPARE(treeOf(tmp_.path()), before);
    }

    // The longest picture path may be exactly 100 characters, not one more.
    void picturePathLimitIs100_data() {
        QTest::addColumn<int>("extra");
        QTest::addColumn<Exit>("exit");
        QTest::newRow("100") << 0 << Exit::Ok;
        QTest::newRow("101") << 1 << Exit::BadDir;
    }
    void picturePathLimitIs100() {
        QFETCH(int, extra);
        QFETCH(Exit, exit);
        qsizetype longest = 0; // the longest relative path any shipped picture gets
        const struct {
            const char* table;
            const char* column;
            const char* folder;
        } names[] = {{"countries.tsv", "code3", "/Bandeiras/.jpg"},
                     {"states.tsv", "uf", "/Estados/.jpg"},
                     {"federations.tsv", "name", "/Federacoes/.jpg"}};
        for (const auto& n : names)
            for (const TsvRow& r : shippedTable(QLatin1String(n.table)))
                longest = std::max(longest,
                                   qsizetype(strlen(n.folder)) + r[QLatin1String(n.column)].size());
        const QString base = fresh(QStringLiteral("limit%1-").arg(extra));
        const QString dir = base + QString(100 - longest - base.size() + extra, QLatin1Char('d'));
        QString message;
        QCOMPARE(createExit({dir, false, 2024}, &message), exit);
        if (exit == Exit::Ok) {
            Database db(dir);
            QCOMPARE(check(dir).problems.size(), 0);
            QCOMPARE(valueOf(db, u("select max(length(LogoFederacao)) from Federacao")).toInt(),
                     100);
        } else {
            QVERIFY2(message.contains(QStringLiteral("100")), qPrintable(message));
            QVERIFY(!QFileInfo::exists(dir));
        }
    }

    // A run that fails half-way removes what it made, and only that.
    void failedRunRemovesOnlyWhatItCreated_data() {
        QTest::addColumn<bool>("dirExisted");
        QTest::newRow("new folder") << false;
        QTest::newRow("existing folder") << true;
    }
    void failedRunRemovesOnlyWhatItCreated() {
        QFETCH(bool, dirExisted);
        const QString source = fresh(QStringLiteral("broken-source-%1").arg(dirExisted));
        copyShippedData(source);
        // The last country flag is missing: many files are copied before the run fails.
        QVERIFY(QFile::remove(source + "/flags/countries/zim.jpg"));
        const QString dir = fresh(QStringLiteral("half-%1").arg(dirExisted));
        if (dirExisted)
            writeFile(dir + "/notas.txt", "minhas notas");
        const QStringList before = dirExisted ? treeOf(dir) : QStringList();
        CreateOptions options{dir, true, 2024};
        options.source = source;
        QString message;
        QCOMPARE(createExit(options, &message), Exit::Failed);
        QVERIFY2(message.contains(QStringLiteral("zim.jpg")), qPrintable(message));
        QCOMPARE(QFileInfo::exists(dir), dirExisted);
        if (dirExisted) {
            QCOMPARE(treeOf(dir), before);
            QCOMPARE(bytesOf(dir + "/notas.txt"), QByteArray("minhas notas"));
        }
    }

    // Shipped data that would break an invariant is refused before anything is written.
    void invalidShippedDataRefused_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        row("stadium too long", "sample/clubs.tsv", u("\tNeo Química Arena\t"),
            u("\tNeo Química Arena do Sport Club Corinthians\t"));
        row("city without Brasil state", "cities.tsv", u("Brasil\tSP\tCampinas"),
            u("Brasil\t\tCampinas"));
        row("unknown country", "sample/clubs.tsv", u("\tUruguai\t"), u("\tUruguay\t"));
    }
    void invalidShippedDataRefused() {
        QFETCH(QString, file);
        QFETCH(QString, from);
        QFETCH(QString, to);
        const QString source = fresh(QStringLiteral("bad%1").arg(++runs_));
        copyShippedData(source);
        QString text = QString::fromUtf8(bytesOf(source + QLatin1Char('/') + file));
        QVERIFY(text.contains(from));
        writeFile(source + QLatin1Char('/') + file, text.replace(from, to).toUtf8());
        const QString dir = source + "-dir";
        CreateOptions options{dir, true, 2024};
        options.source = source;
        QCOMPARE(createExit(options), Exit::Failed);
        QVERIFY(!QFileInfo::exists(dir));
    }

    // check names every picture that does not load and why.
    void checkReportsBrokenPictures_data() {
        // on file: rm, cut, write (text), gif (a copy), huge (grown sparse, far beyond memory),
        // loop (an SVG that draws itself)
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("sql"); // then run on the store; %1 is the folder
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("path"); // reported; %1 is the folder
        QTest::addColumn<QString>("reason");
        row("removed flag", "rm", "Bandeiras/bra.jpg", "", "Paises.DB", "BRA - Brasil",
            "BandeiraPais", "%1/Bandeiras/bra.jpg", "arquivo ausente");
        row("same flag on a club", "rm", "Bandeiras/bra.jpg", "", "Clubes.db", "7 - Flamengo",
            "BandeiraPais", "%1/Bandeiras/bra.jpg", "arquivo ausente");
        row("truncated state flag", "cut", "Estados/sp.jpg", "", "UF.DB", "SP", "BandeiraUF",
            "%1/Estados/sp.jpg", "arquivo danificado");
        // The type is read from the content: a PNG named .jpg is no JPEG.
        row("picture of another type", "png", "Distintivos/santos.jpg", "", "Clubes.db",
            "4 - Santos", "EscudoClube", "%1/Distintivos/santos.jpg", "arquivo danificado");
        row("garbage badge", "write", "Distintivos/santos.jpg", "", "Clubes.db", "4 - Santos",
            "EscudoClube", "%1/Distintivos/santos.jpg", "arquivo danificado");
        row("badge larger than memory", "huge", "Distintivos/santos.jpg", "", "Clubes.db",
            "4 - Santos", "EscudoClube", "%1/Distintivos/santos.jpg", "arquivo grande demais");
        row("badge SVG that draws itself", "loop", "Distintivos/santos.svg",
            "update Clubes set EscudoClube = '%1/Distintivos/santos.svg' where Codigo = 4",
            "Clubes.db", "4 - Santos", "EscudoClube", "%1/Distintivos/santos.svg",
            "arquivo danificado");
        row("logo of unknown type", "gif", "Federacoes/uefa.jpg",
            "update Federacao set LogoFederacao = '%1/Federacoes/uefa.gif' "
            "where NomeFederacao = 'UEFA'",
            "Federacao.db", "UEFA", "LogoFederacao", "%1/Federacoes/uefa.gif", "tipo desconhecido");
        row("text file as badge", "write", "Distintivos/santos.txt",
            "update Clubes set EscudoClube = '%1/Distintivos/santos.txt' where Codigo = 4",
            "Clubes.db", "4 - Santos", "EscudoClube", "%1/Distintivos/santos.txt",
            "tipo desconhecido");
        row("empty badge", "", "", "update Clubes set EscudoClube = '' where Codigo = 3",
            "Clubes.db", u("3 - São Paulo"), "EscudoClube", "", "caminho vazio");
        row("Brazilian club without state flag", "", "",
            "update Clubes set BandeiraUF = '' where Codigo = 1", "Clubes.db", "1 - Corinthians",
            "BandeiraUF", "", "caminho vazio");
    }
    void checkReportsBrokenPictures() {
        QFETCH(QString, action);
        QFETCH(QString, file);
        QFETCH(QString, sql);
        QFETCH(QString, table);
        QFETCH(QString, key);
        QFETCH(QString, field);
        QFETCH(QString, path);
        QFETCH(QString, reason);
        const QString dir = fresh(QStringLiteral("check%1").arg(++runs_));
        create({dir, true, 2024});
        QVERIFY(check(dir).problems.isEmpty());
        const QString target = dir + QLatin1Char('/') + file;
        if (action == "rm") {
            QVERIFY(QFile::remove(target));
        } else if (action == "cut") {
            const QByteArray bytes = bytesOf(target);
            writeFile(target, bytes.left(bytes.size() / 2));
        } else if (action == "write") {
            writeFile(target, "isto não é uma figura");
        } else if (action == "png") {
            writeFile(target, pngBytes());
        } else if (action == "huge") {
            QFile grown(target);
            QVERIFY(grown.resize(qint64(1) << 40));
        } else if (action == "loop") {
            writeFile(target, "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                              "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"9\" "
                              "height=\"9\"><image width=\"9\" height=\"9\" "
                              "xlink:href=\"santos.svg\"/></svg>");
        } else if (action == "gif") {
            QVERIFY(QFile::copy(target, target.left(target.size() - 3) + "gif"));
        }
        if (!sql.isEmpty()) {
            Database db(dir);
            db.exec(sql.contains("%1") ? sql.arg(dir) : sql);
        }
        const CheckReport report = check(dir);
        const auto found =
            std::find_if(report.problems.begin(), report.problems.end(), [&](const Problem& p) {
                return p.table == table && p.key == key && p.field == field;
            });
        QVERIFY2(found != report.problems.end(), qPrintable(table + " " + key + " " + field));
        QCOMPARE(found->reason, reason);
        QCOMPARE(found->path, path.isEmpty() ? path : path.arg(dir));
    }

    // By default check reads what a load reads before decoding; a damage inside the
    // pixel data is found by the complete check, which decodes every picture.
    void completeCheckDecodesEveryPicture() {
        const QString dir = fresh(QStringLiteral("check%1").arg(++runs_));
        create({dir, true, 2024});
        QByteArray png = pngBytes();
        const qsizetype data = png.indexOf("IDAT") + 8;
        QVERIFY(data > 8 && data < png.size() - 16);
        png[data] = char(png[data] ^ 0x5a); // the chunk's checksum no longer matches
        const QString badge = dir + QStringLiteral("/Distintivos/santos.png");
        writeFile(badge, png);
        {
            Database db(dir);
            db.exec(
                QStringLiteral("update Clubes set EscudoClube = '%1' where Codigo = 4").arg(badge));
        }
        QVERIFY(check(dir).problems.isEmpty());
        const CheckReport report = check(dir, false, CheckDepth::Decode);
        QCOMPARE(report.problems.size(), 1);
        QCOMPARE(report.problems.first().path, badge);
        QCOMPARE(report.problems.first().reason, QStringLiteral("arquivo danificado"));
    }

    void checkFailsOnMissingTable() {
        const QString dir = fresh(QStringLiteral("no-table"));
        create({dir, false, 2024});
        {
            Database db(dir);
            db.exec(QStringLiteral("drop table Anos"));
        }
        try {
            check(dir);
            QFAIL("check accepted a store without Anos.DB");
        } catch (const DataDirError& e) {
            QCOMPARE(e.code(), Exit::Problems);
            QVERIFY2(e.text().contains(QStringLiteral("Anos.DB")), qPrintable(e.text()));
        }
    }

    void checkRejectsBadDirectory_data() {
        QTest::addColumn<QString>("dir");
        QTest::addColumn<Exit>("exit");
        const QString file = fresh(QStringLiteral("check-file"));
        writeFile(file, "x");
        QTest::newRow("missing") << fresh(QStringLiteral("nowhere")) << Exit::BadDir;
        QTest::newRow("a file") << file << Exit::BadDir;
        QTest::newRow("no store") << tmp_.path() << Exit::Problems;
    }
    void checkRejectsBadDirectory() {
        QFETCH(QString, dir);
        QFETCH(Exit, exit);
        try {
            check(dir);
            QFAIL("check accepted a bad directory");
        } catch (const DataDirError& e) {
            QCOMPARE(e.code(), exit);
        }
    }
};

QTEST_GUILESS_MAIN(TestDataDir)
#include "test_datadir.moc"
