// velmora-datadir's import of a Windows catalogue kept in Paradox tables. The tables
// are written here with pxlib, never taken from anywhere else.
#include "store/Database.h"
#include "store/Schema.h"
#include "tests/support/Rows.h"
#include "tests/tools/DataDirTest.h"
#include "tests/tools/ParadoxWriter.h"
#include "tools/datadir/DataDir.h"
#include "tools/datadir/ParadoxHeader.h"
#include "tools/datadir/ParadoxImport.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

using namespace velmora;
using namespace velmora::datadir;
using namespace velmora::test;

namespace {

QString u(const char* s) {
    return QString::fromUtf8(s);
}

using Rows = QList<QList<QVariant>>;

// One Windows catalogue: its tables as rows, pictures named by Windows paths.
struct ParadoxTables {
    Rows paises, uf, cidades, anos, federacao, clubes;
};

const QString estadioLongo = QString(50, QLatin1Char('E')); // wider than Estadio (35)

ParadoxTables windowsCatalogue() {
    ParadoxTables c;
    c.paises = {{"BRA", "Brasil", u("C:\\Velmora\\Bandeiras\\bra.jpg")},
                {"ARG", "Argentina", u("C:\\VELMORA\\BANDEIRAS\\ARG.JPG")},
                {"URU", "Uruguai", u("C:\\Velmora\\Bandeiras\\uru.jpg")}}; // file missing
    c.uf = {{1, "SP", u("São Paulo"), u("C:\\Velmora\\Estados\\sp.jpg")},
            {2, "RS", u("Rio Grande do Sul"), u("c:\\velmora\\estados\\rs.jpg")}};
    c.cidades = {{"SP", u("São Paulo"), "Brasil"},
                 {"RS", "Porto Alegre", "Brasil"},
                 {"", "Buenos Aires", "Argentina"},
                 {"", u("Assunção"), "Paraguai"}};
    for (int y = 1900; y <= 1905; ++y)
        c.anos.append(QList<QVariant>{y});
    c.federacao = {{"CBF", u("C:\\Velmora\\Federacoes\\cbf.jpg")},
                   {"AFA", u("C:\\Velmora\\Federacoes\\afa.jpg")}};
    const QString bra = u("C:\\Velmora\\Bandeiras\\bra.jpg");
    const QString cbf = u("C:\\Velmora\\Federacoes\\cbf.jpg");
    c.clubes = {
        {1, u("Grêmio"), u("Grêmio Foot-Ball Porto Alegrense"), 1903, "Brasil", "RS",
         "Porto Alegre", "121 anos", u("C:\\Velmora\\Distintivos\\gremio.jpg"), bra,
         u("C:\\Velmora\\Estados\\rs.jpg"), "CBF", cbf, 0, 0, u("Arena do Grêmio"), "55.662",
         u("nota à parte")},
        {2, u("São Paulo"), u("São Paulo Futebol Clube"), 1900, "Brasil", "SP", u("São Paulo"),
         "124 anos", u("C:\\Velmora\\Distintivos\\spfc.jpg"), bra,
         u("C:\\Velmora\\Estados\\sp.jpg"), "CBF", cbf, 0, 0, u("Morumbi"), "66.795", ""},
        {3, "Boca Juniors", "Club Atlético Boca Juniors", 1905, "Argentina", "", "Buenos Aires",
         "119 anos", u("C:\\Velmora\\Distintivos\\boca.jpg"), u("C:\\Velmora\\Bandeiras\\arg.jpg"),
         "", "AFA", u("C:\\Velmora\\Federacoes\\afa.jpg"), 0, 0, "La Bombonera", "54.000", ""},
        {3, "Repetido", "Outro com o mesmo código", 1901, "Argentina", "", "Buenos Aires", "",
         u("C:\\Velmora\\Distintivos\\boca.jpg"), u("C:\\Velmora\\Bandeiras\\arg.jpg"), "", "AFA",
         u("C:\\Velmora\\Federacoes\\afa.jpg"), 0, 0, "", "", ""},
        {4, "Largo", "Estádio largo demais", 1901, "Brasil", "SP", u("São Paulo"), "",
         u("C:\\Velmora\\Distintivos\\spfc.jpg"), bra, u("C:\\Velmora\\Estados\\sp.jpg"), "CBF",
         cbf, 0, 1, estadioLongo, "", ""},
        {5, "Brasil", u("Seleção Brasileira"), 1904, "Brasil", "RS", "Porto Alegre", "",
         u("D:\\Fotos\\perdido.jpg"), bra, u("C:\\Velmora\\Estados\\rs.jpg"), "CBF", cbf, 1, 0, "",
         "", ""},
    };
    return c;
}

void writePicture(const QString& path, QColor colour) {
    QDir().mkpath(QFileInfo(path).path());
    QImage image(24, 16, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(path, "JPG"));
}

QList<PxField> clubFields() {
    QList<PxField> fields = pxFieldsOf(Schema::table(QStringLiteral("Clubes")));
    for (PxField& f : fields)
        if (f.name == QLatin1String("Estadio"))
            f.size = 60; // the old table allowed more than the catalogue keeps
    fields.append({u("Observação"), char(pxfAlpha), 30});
    return fields;
}

void writeCatalogue(const QString& source, const ParadoxTables& c) {
    const auto table = [&](const char* name) { return Schema::table(QLatin1String(name)); };
    QVERIFY(QDir().mkpath(source));
    QVERIFY(writeParadox(source + "/Paises.DB", pxFieldsOf(table("Paises")), c.paises));
    QVERIFY(writeParadox(source + "/UF.DB", pxFieldsOf(table("UF")), c.uf));
    QVERIFY(writeParadox(source + "/Cidades.DB", pxFieldsOf(table("Cidades")), c.cidades));
    QVERIFY(writeParadox(source + "/Anos.DB", pxFieldsOf(table("Anos")), c.anos));
    QVERIFY(writeParadox(source + "/Federacao.db", pxFieldsOf(table("Federacao")), c.federacao));
    QVERIFY(writeParadox(source + "/Clubes.db", clubFields(), c.clubes));
    int shade = 0;
    for (const char* file :
         {"Bandeiras/bra.jpg", "Bandeiras/arg.jpg", "Estados/sp.jpg", "Estados/rs.jpg",
          "Federacoes/cbf.jpg", "Federacoes/afa.jpg", "Distintivos/gremio.jpg",
          "Distintivos/spfc.jpg", "Distintivos/boca.jpg"})
        writePicture(source + QLatin1Char('/') + QLatin1String(file), QColor(shade += 25, 90, 40));
}

Exit importExit(const ParadoxImportOptions& options, QString* message) {
    try {
        importParadox(options);
        return Exit::Ok;
    } catch (const DataDirError& e) {
        *message = e.text();
        return e.code();
    }
}

} // namespace

Q_DECLARE_METATYPE(velmora::datadir::Exit)

class TestParadox final : public QObject {
    Q_OBJECT

private:
    QTemporaryDir tmp_;
    QString source_;
    int runs_ = 0;

    QString fresh(const QString& name) {
        return tmp_.path() + QStringLiteral("/%1-%2").arg(name).arg(++runs_);
    }

private slots:
    void initTestCase() {
        QVERIFY(tmp_.isValid());
        source_ = tmp_.path() + QStringLiteral("/C_Velmora");
        writeCatalogue(source_, windowsCatalogue());
    }

    void importsEveryRowAsStored() {
        const QString dir = fresh(QStringLiteral("novo"));
        const ParadoxImportReport report = importParadox({source_, dir});
        Database db(dir);
        const ParadoxTables c = windowsCatalogue();
        // Pictures land in the data directory's folders, found in any letter case.
        const auto in = [&](const char* relative) { return dir + "/" + relative; };
        const QList<QPair<const char*, Rows>> expected = {
            {"Paises",
             {{"BRA", "Brasil", in("Bandeiras/bra.jpg")},
              {"ARG", "Argentina", in("Bandeiras/arg.jpg")},
              {"URU", "Uruguai", in("Bandeiras/uru.jpg")}}},
            {"UF",
             {{1, "SP", u("São Paulo"), in("Estados/sp.jpg")},
              {2, "RS", "Rio Grande do Sul", in("Estados/rs.jpg")}}},
            {"Cidades", c.cidades},
            {"Anos", c.anos},
            {"Federacao", {{"CBF", in("Federacoes/cbf.jpg")}, {"AFA", in("Federacoes/afa.jpg")}}},
            {"Clubes",
             {{1, u("Grêmio"), u("Grêmio Foot-Ball Porto Alegrense"), 1903, "Brasil", "RS",
               "Porto Alegre", "121 anos", in("Distintivos/gremio.jpg"), in("Bandeiras/bra.jpg"),
               in("Estados/rs.jpg"), "CBF", in("Federacoes/cbf.jpg"), 0, 0, u("Arena do Grêmio"),
               "55.662"},
              {2, u("São Paulo"), u("São Paulo Futebol Clube"), 1900, "Brasil", "SP",
               u("São Paulo"), "124 anos", in("Distintivos/spfc.jpg"), in("Bandeiras/bra.jpg"),
               in("Estados/sp.jpg"), "CBF", in("Federacoes/cbf.jpg"), 0, 0, "Morumbi", "66.795"},
              {3, "Boca Juniors", u("Club Atlético Boca Juniors"), 1905, "Argentina", "",
               "Buenos Aires", "119 anos", in("Distintivos/boca.jpg"), in("Bandeiras/arg.jpg"), "",
               "AFA", in("Federacoes/afa.jpg"), 0, 0, "La Bombonera", "54.000"},
              {5, "Brasil", u("Seleção Brasileira"), 1904, "Brasil", "RS", "Porto Alegre", "",
               in("Distintivos/perdido.jpg"), in("Bandeiras/bra.jpg"), in("Estados/rs.jpg"), "CBF",
               in("Federacoes/cbf.jpg"), 1, 0, "", ""}}},
        };
        for (const auto& [table, rows] : expected) {
            QList<QStringList> want;
            for (const QList<QVariant>& row : rows) {
                QStringList text;
                for (const QVariant& v : row)
                    text << v.toString();
                want << text;
            }
            QCOMPARE(rowsOf(db, QStringLiteral("select %1 from %2 order by rowid")
                                    .arg(declaredFields(QLatin1String(table)), table)),
                     want);
        }
        // Counts read and written, per table.
        QStringList counts;
        for (const TableCount& t : report.counts)
            counts << QStringLiteral("%1 %2/%3")
                          .arg(QFileInfo(t.file).fileName())
                          .arg(t.read)
                          .arg(t.written);
        QCOMPARE(counts, QStringList({"Paises.DB 3/3", "UF.DB 2/2", "Cidades.DB 4/4", "Anos.DB 6/6",
                                      "Federacao.db 2/2", "Clubes.db 6/4"}));
        // Everything left out is listed: the extra field, the missing pictures, the
        // repeated code, the value too wide.
        const QString listed = report.notBrought.join('\n');
        QCOMPARE(report.notBrought.size(), 5);
        for (const QString& part : {u("Observação"), u("uru.jpg"), u("perdido.jpg"),
                                    u("código 3 se repete"), estadioLongo})
            QVERIFY2(listed.contains(part), qPrintable(part + "\n" + listed));
        // The copied pictures are the source's bytes; a badge used twice is copied once
        // per club, and only the two missing pictures fail the check.
        QCOMPARE(bytesOf(in("Distintivos/gremio.jpg")),
                 bytesOf(source_ + "/Distintivos/gremio.jpg"));
        QCOMPARE(report.pictures, 9);
        QStringList failing;
        for (const Problem& p : check(dir).problems)
            failing << QFileInfo(p.path).fileName();
        failing.sort();
        QCOMPARE(failing, QStringList({"perdido.jpg", "uru.jpg"}));
    }

    // What the club editor would refuse is left out and listed: a badge file that is
    // not a picture (never copied; its path points where a good one can go) and a
    // text with a control character.
    void leavesOutWhatTheEditorRefuses() {
        ParadoxTables c = windowsCatalogue();
        c.clubes[0][15] = u("Arena\tdo Grêmio");
        const QString source = fresh(QStringLiteral("origem"));
        writeCatalogue(source, c);
        writeFile(source + "/Distintivos/spfc.jpg", "isto não é uma figura");
        const QString dir = fresh(QStringLiteral("novo"));
        const ParadoxImportReport report = importParadox({source, dir});
        const QString listed = report.notBrought.join('\n');
        for (const QString& part :
             {u("spfc.jpg (EscudoClube) foi recusada"), u("Grêmio"), u("tabulação")})
            QVERIFY2(listed.contains(part), qPrintable(part + "\n" + listed));
        QVERIFY(!QFileInfo::exists(dir + "/Distintivos/spfc.jpg"));
        Database db(dir);
        QCOMPARE(columnOf(db, "select NomeClube from Clubes where NomeClube like 'Gr%'"),
                 QStringList());
    }

    void refusesBrokenTables_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("reasonPart");
        row("tabela truncada", "truncated", "truncado");
        row("campo ausente", "field", "Estadio");
        row("JPEG com nome .db", "jpeg", u("não é uma tabela Paradox"));
        row("arquivo vazio", "empty", "vazio");
        row("blocos em laço", "loop", "volta ao bloco");
        row("tabela ausente", "missing", "Falta a tabela");
    }
    void refusesBrokenTables() {
        QFETCH(QString, damage);
        QFETCH(QString, reasonPart);
        const QString source = fresh(QStringLiteral("origem"));
        ParadoxTables c = windowsCatalogue();
        for (int i = 0; i < 40; ++i) // several data blocks, for the loop
            c.clubes.append(c.clubes[1]);
        writeCatalogue(source, c);
        const QString clubs = source + QStringLiteral("/Clubes.db");
        const QByteArray whole = bytesOf(clubs);
        if (damage == "truncated") {
            writeFile(clubs, whole.left(whole.size() - 100));
        } else if (damage == "field") {
            QList<PxField> fields = clubFields();
            QList<QList<QVariant>> rows = c.clubes;
            const qsizetype at =
                std::find_if(fields.begin(), fields.end(),
                             [](const PxField& f) { return f.name == "Estadio"; }) -
                fields.begin();
            fields.removeAt(at);
            for (QList<QVariant>& row : rows)
                row.removeAt(at);
            QFile::remove(clubs);
            QVERIFY(writeParadox(clubs, fields, rows));
        } else if (damage == "jpeg") {
            writeFile(clubs, bytesOf(source + QStringLiteral("/Distintivos/boca.jpg")));
        } else if (damage == "empty") {
            writeFile(clubs, QByteArray());
        } else if (damage == "loop") {
            paradox::Layout layout;
            QVERIFY(paradox::check(whole, &layout).isEmpty());
            QVERIFY(layout.records * layout.recordSize > 2 * layout.blockSize);
            QByteArray looped = whole;
            const qsizetype second = layout.headerSize + layout.blockSize; // block 2
            looped[second] = 1; // block 2 leads back to block 1
            looped[second + 1] = 0;
            writeFile(clubs, looped);
        } else if (damage == "password") {
            QByteArray locked = whole;
            locked.replace(0x25, 4, QByteArray("\x78\x56\x34\x12", 4)); // pxlib would spin
            writeFile(clubs, locked);
        } else {
            QFile::remove(clubs);
        }
        const QString dir = fresh(QStringLiteral("destino"));
        QString message;
        QCOMPARE(importExit({source, dir}, &message), Exit::Problems);
        QVERIFY2(message.contains(QStringLiteral("Clubes.db")), qPrintable(message));
        QVERIFY2(message.contains(reasonPart), qPrintable(message));
        QVERIFY(!QFileInfo::exists(dir)); // nothing created
    }

    void refusesAnExistingStore() {
        const QString dir = fresh(QStringLiteral("existente"));
        QCOMPARE(create({dir, false, 2024}).clubs, 0);
        const QStringList before = treeOf(dir);
        QString message;
        QCOMPARE(importExit({source_, dir}, &message), Exit::Refused);
        QCOMPARE(treeOf(dir), before);
    }
};

QTEST_GUILESS_MAIN(TestParadox)
#include "test_paradox.moc"
