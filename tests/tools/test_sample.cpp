// The sample catalogue of `velmora-datadir create --sample`: every row as the club
// editor would save it, and enough rows for every gallery (two pages where it matters).
#include "core/Pictures.h"
#include "gallery/Anos.h"
#include "gallery/FederSel.h"
#include "gallery/GalleryCommand.h"
#include "gallery/MenuGalleries.h"
#include "store/Database.h"
#include "store/Module.h"
#include "store/Schema.h"
#include "tests/support/Rows.h"
#include "tests/tools/DataDirTest.h"
#include "tools/datadir/DataDir.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace velmora;
using namespace velmora::datadir;
using namespace velmora::test;

namespace {

constexpr int year = 2024;
const QString brasil = QStringLiteral("Brasil");

QString u(const char* s) {
    return QString::fromUtf8(s);
}

} // namespace

class TestSampleCatalogue final : public QObject {
    Q_OBJECT

private:
    QTemporaryDir tmp_;
    QString dir_;
    std::unique_ptr<Database> db_;
    QList<QHash<QString, QString>> clubs_; // every row, by field name

    QStringList column(const char* field) const {
        QStringList values;
        for (const auto& c : clubs_)
            values << c.value(QLatin1String(field));
        return values;
    }

private slots:
    void initTestCase() {
        dir_ = tmp_.path() + "/sample";
        const Counts counts = create({dir_, true, year});
        QVERIFY(counts.clubs >= 30);
        db_ = std::make_unique<Database>(dir_);
        const TableDef& def = Schema::table("Clubes");
        QStringList fields;
        for (const FieldDef& f : def.fields)
            fields << '"' + f.name + '"';
        for (const QStringList& row :
             rowsOf(*db_, "select " + fields.join(", ") + " from Clubes order by Codigo")) {
            QHash<QString, QString> club;
            for (qsizetype i = 0; i < def.fields.size(); ++i)
                club.insert(def.fields[i].name, row[i]);
            clubs_.append(club);
        }
        QCOMPARE(clubs_.size(), counts.clubs);
    }
    void cleanupTestCase() { db_.reset(); }

    void codesRunFromOne() {
        for (qsizetype i = 0; i < clubs_.size(); ++i)
            QCOMPARE(clubs_[i]["Codigo"].toInt(), i + 1);
        TFrmDm dm(dir_);
        QCOMPARE(dm.nextClubCode(), int(clubs_.size()) + 1);
    }

    void shortNamesUnique() {
        const QStringList names = column("NomeClube");
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
    }

    // What the editor's save insists on, and every other field filled too.
    void requiredFieldsFilled() {
        for (const auto& c : clubs_)
            for (const FieldDef& f : Schema::table("Clubes").fields) {
                if (c["PaisClube"] != brasil && (f.name == "UFClube" || f.name == "BandeiraUF"))
                    continue;
                QVERIFY2(!c[f.name].isEmpty(), qPrintable(c["NomeClube"] + ": " + f.name));
            }
        QCOMPARE(valueOf(*db_, "select count(*) from Clubes where Identificador is null or "
                               "Extinto is null or AnoFundacao is null")
                     .toInt(),
                 0);
    }

    void textFitsItsField() {
        for (const auto& c : clubs_)
            for (const FieldDef& f : Schema::table("Clubes").fields)
                if (f.type == FieldType::Text)
                    QVERIFY2(c[f.name].size() <= f.width, qPrintable(c[f.name]));
    }

    void stateExactlyForBrasil() {
        for (const auto& c : clubs_) {
            const bool br = c["PaisClube"] == brasil;
            QCOMPARE(!c["UFClube"].isEmpty(), br);
            QCOMPARE(!c["BandeiraUF"].isEmpty(), br);
            if (br)
                QCOMPARE(c["BandeiraUF"], valueOf(*db_, "select BandeiraUF from UF where UF = '" +
                                                            c["UFClube"] + "'"));
        }
    }

    // Names refer to rows of the reference tables, and the picture paths are the
    // copies a pick in the selection dialogs would have made.
    void referencesResolve() {
        for (const auto& c : clubs_) {
            const QString what = c["NomeClube"];
            QCOMPARE(c["BandeiraPais"], valueOf(*db_, "select BandeiraPais from Paises where "
                                                      "NomePais = '" +
                                                          c["PaisClube"] + "'"));
            QCOMPARE(c["LogoFederacao"], valueOf(*db_, "select LogoFederacao from Federacao where "
                                                       "NomeFederacao = '" +
                                                           c["Federacao"] + "'"));
            QVERIFY2(!c["BandeiraPais"].isEmpty() && !c["LogoFederacao"].isEmpty(),
                     qPrintable(what));
            QVERIFY2(
                valueOf(*db_, QStringLiteral("select count(*) from Cidades where \"País\" = '%1' "
                                             "and Estado = '%2' and Cidade = '%3'")
                                  .arg(c["PaisClube"], c["UFClube"], c["CidadeClube"]))
                        .toInt() > 0,
                qPrintable(what + ": " + c["CidadeClube"]));
            QCOMPARE(valueOf(*db_, "select count(*) from Anos where Ano = " + c["AnoFundacao"]),
                     "1");
        }
    }

    void ageTextFromTheYear() {
        for (const auto& c : clubs_)
            QCOMPARE(c["IdadeClube"], QString::number(year - c["AnoFundacao"].toInt()) + " anos");
    }

    // Each badge lies in the badge directory, a file of its own, a 201 x 201 picture.
    void badgesInBadgeDirectory() {
        const QStringList badges = column("EscudoClube");
        QCOMPARE(QSet<QString>(badges.begin(), badges.end()).size(), badges.size());
        Pictures pictures;
        for (const QString& path : badges) {
            QCOMPARE(QFileInfo(path).path(), dir_ + "/Distintivos");
            QCOMPARE(pictures.load(path).size(), QSize(201, 201));
        }
        QCOMPARE(QDir(dir_ + "/Distintivos").entryList(QDir::Files).size(), badges.size());
    }

    void checkFindsNothingWrong() {
        const CheckReport report = check(dir_);
        QVERIFY(report.problems.isEmpty());
        QCOMPARE(report.counts.clubs, int(clubs_.size()));
    }

    void kindAndExtinctFlags() {
        for (const auto& c : clubs_) {
            QVERIFY(c["Identificador"] == "0" || c["Identificador"] == "1");
            QVERIFY(c["Extinto"] == "0" || c["Extinto"] == "1");
        }
        QVERIFY(valueOf(*db_, "select count(*) from Clubes where Identificador = 1 and Extinto = 1")
                    .toInt() >= 1);
        QVERIFY(valueOf(*db_, "select count(*) from Clubes where Identificador = 0 and Extinto = 1")
                    .toInt() >= 2);
    }

    // The variety the year, federation, state and country galleries show.
    void variety_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("atLeast");
        row("years of two or more clubs",
            "select count(*) from (select AnoFundacao from Clubes where Identificador = 0 "
            "group by AnoFundacao having count(*) >= 2)",
            3);
        row("federations", "select count(distinct Federacao) from Clubes", 6);
        row("states", "select count(distinct UFClube) from Clubes where UFClube <> ''", 5);
        row("foreign countries of clubs",
            "select count(distinct PaisClube) from Clubes where PaisClube <> 'Brasil' and "
            "Identificador = 0",
            5);
        row("foreign clubs",
            "select count(*) from Clubes where PaisClube <> 'Brasil' and Identificador = 0", 10);
        row("national teams", "select count(*) from Clubes where Identificador = 1", 6);
    }
    void variety() {
        QFETCH(QString, sql);
        QFETCH(int, atLeast);
        QVERIFY(valueOf(*db_, sql).toInt() >= atLeast);
    }

    // Every gallery's own listing statement, run through the data module, has rows;
    // the Brazilian and all-clubs galleries more than a page of twelve.
    void galleriesHaveRows_data() {
        QTest::addColumn<int>("gallery"); // a menu gallery, or -1 year, -2 federation
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("moreThan");
        row("Clubes Brasileiros", int(MenuGallery::ClubesBrasileiros), QString(), 12);
        row("Todos os Clubes Cadastrados", int(MenuGallery::TodosOsClubes), QString(), 12);
        row("Todas as Seleções Cadastradas", int(MenuGallery::TodasAsSelecoes), QString(), 0);
        row("Clubes/Seleções Extintos", int(MenuGallery::Extintos), QString(), 0);
        row("Clubes por País", int(MenuGallery::ClubesPorPais), u("ARGENTINA"), 0);
        row("Pesquisar por Nome", int(MenuGallery::PesquisarPorNome), u("GRÊMIO"), 0);
        row("Por Ano de Fundação", -1, u("1902"), 1);
        row("Clubes por Federação", -2, u("UEFA"), 1);
        for (const char* uf : {"SP", "RJ", "MG", "RS", "PR"})
            row(qPrintable(QStringLiteral("Clubes por Estado %1").arg(uf)),
                int(MenuGallery::ClubesPorEstado), u(uf), 0);
    }
    void galleriesHaveRows() {
        QFETCH(int, gallery);
        QFETCH(QString, value);
        QFETCH(int, moreThan);
        const GalleryDef& def = gallery == -1   ? TFrmAno::gallery()
                                : gallery == -2 ? TFrmSelFeder::gallery()
                                                : menuGalleryDef(MenuGallery(gallery));
        Query::Params params;
        if (def.paramKind == ParamKind::Pattern)
            params.append({def.parameter, QLatin1Char('%') + value + QLatin1Char('%')});
        else if (def.paramKind == ParamKind::Integer)
            params.append({def.parameter, value.toLongLong()});
        else if (def.paramKind == ParamKind::Text)
            params.append({def.parameter, value});
        TFrmDm dm(dir_);
        Query& q = dm.QueryConsulta;
        q.run(def.listing(), params);
        QVERIFY2(q.rowCount() > moreThan, qPrintable(QString::number(q.rowCount())));
    }
};

QTEST_GUILESS_MAIN(TestSampleCatalogue)
#include "test_sample.moc"
