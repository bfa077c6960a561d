// Opening a store: every way it can be wrong is named in Portuguese with its table
// file; older stores are upgraded, newer ones refused.
#include "store/Counts.h"
#include "store/Dialect.h"
#include "store/Module.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/Search.h"
#include "store/Statements.h"
#include "store/StoreError.h"
#include "tests/support/store/TestStore.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QtTest>

using namespace velmora;
using velmora::test::TestStore;

namespace {

// The message opening the data module gives, or "" when it opens.
QString openError(const QString& dir) {
    try {
        TFrmDm dm(dir);
    } catch (const StoreError& e) {
        return e.text();
    }
    return {};
}

// Clubes with every declared field, NomeClube before Codigo.
QString clubesWithNameFirst() {
    QStringList columns;
    for (const FieldDef& f : Schema::table(QStringLiteral("Clubes")).fields) {
        columns << QStringLiteral("\"%1\" %2")
                       .arg(f.name, f.type == FieldType::Integer
                                        ? QStringLiteral("INTEGER")
                                        : QStringLiteral("VARCHAR(%1)").arg(f.width));
    }
    columns.swapItemsAt(0, 1);
    return QStringLiteral("create table Clubes (%1)").arg(columns.join(", "));
}

QString u(const char* s) {
    return QString::fromUtf8(s);
}

// Names a byte order misplaces: an accent first or inside, letter case, a tie.
void addAwkwardNames(TestStore& store) {
    int code = 0;
    for (const char* name : {"Sport", "São Bento", "Íbis", "CRB", "Corinthians", "Avaí", "AVAÍ"})
        store.add(++code, u(name));
}
const QStringList awkwardInOrder = {"AVAÍ", "Avaí",      "Corinthians", "CRB",
                                    "Íbis", "São Bento", "Sport"};

QString clubsInOrder(TestStore& store) {
    return store.column(u("select NomeClube from Clubes order by NomeClubeOrdem, NomeClube"))
        .join(QLatin1Char('|'));
}

QStringList sortedSchemaNames(TestStore& store, const char* type) {
    return store.column(QStringLiteral("select name from sqlite_master where type = '%1' "
                                       "and name not like 'sqlite_%' order by name")
                            .arg(QLatin1String(type)));
}

// Stdout of the sqlite3 command-line shell on a store file, read only; fails the test
// when the shell is missing or reports an error.
QString shell(const QString& file, const QString& sql) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (program.isEmpty())
        return QStringLiteral("sqlite3 não instalado (scripts/deps.sh o instala)");
    QProcess p;
    p.start(program, {QStringLiteral("-readonly"), QStringLiteral("-bail"), file, sql});
    if (!p.waitForFinished(30000) || p.exitCode() != 0 || !p.readAllStandardError().isEmpty())
        return QStringLiteral("erro do sqlite3 em: ") + sql;
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

} // namespace

class TestSchema final : public QObject {
    Q_OBJECT

private slots:
    void declaredOnce() {
        const QStringList files = {"Clubes.db",  "Paises.DB", "UF.DB",
                                   "Cidades.DB", "Anos.DB",   "Federacao.db"};
        QStringList seen;
        for (const TableDef& t : Schema::tables())
            seen << t.fileName;
        QCOMPARE(seen, files);
        const TableDef& clubes = Schema::table(QStringLiteral("clubes.db"));
        QCOMPARE(clubes.fields.size(), 17);
        QCOMPARE(clubes.fields.first().name, QStringLiteral("Codigo"));
        QCOMPARE(&Schema::table(QStringLiteral("UF")), &Schema::table(QStringLiteral("uf.db")));
        QCOMPARE(Schema::table(QStringLiteral("Cidades")).fields.last().name,
                 QStringLiteral("País"));
        QVERIFY_THROWS_EXCEPTION(StoreError, Schema::table(QStringLiteral("Times.db")));
    }

    void createdStoreOpens() {
        TestStore store;
        QCOMPARE(store.value(QStringLiteral("PRAGMA user_version")),
                 QString::number(Schema::version));
        store.close();
        QCOMPARE(openError(store.dir()), QString());
    }

    void brokenStore_data() {
        QTest::addColumn<QStringList>("breakage");
        QTest::addColumn<QString>("message"); // start of the message; "" = opens
        const auto row = [](const char* tag, QStringList sql, const char* message) {
            QTest::newRow(tag) << sql << QString::fromUtf8(message);
        };
        row("missing Clubes", {"drop table Clubes"}, "Tabela não encontrada: Clubes.db (");
        row("missing Paises", {"drop table Paises"}, "Tabela não encontrada: Paises.DB (");
        row("missing UF", {"drop table UF"}, "Tabela não encontrada: UF.DB (");
        row("missing Cidades", {"drop table Cidades"}, "Tabela não encontrada: Cidades.DB (");
        row("missing Anos", {"drop table Anos"}, "Tabela não encontrada: Anos.DB (");
        row("missing Federacao", {"drop table Federacao"}, "Tabela não encontrada: Federacao.db (");
        row("missing field", {"alter table Clubes drop column Estadio"},
            "Campo ausente em Clubes.db: Estadio");
        row("missing accented field",
            {"drop index CidadesPaisEstado", "alter table Cidades drop column \"País\""},
            "Campo ausente em Cidades.DB: País");
        row("accented field in other case",
            {"drop table Cidades",
             "create table Cidades (Estado VARCHAR(2), Cidade VARCHAR(40), \"PAÍS\" VARCHAR(45))"},
            "Campo ausente em Cidades.DB: País");
        row("integer stored as text", {"drop table Anos", "create table Anos (Ano VARCHAR(4))"},
            "Campo de outro tipo em Anos.DB: Ano (esperado inteiro, encontrado VARCHAR(4))");
        row("untyped field", {"drop table Anos", "create table Anos (Ano)"},
            "Campo de outro tipo em Anos.DB: Ano (esperado inteiro, encontrado sem tipo)");
        row("text stored as integer",
            {"drop table UF", "create table UF (Codigo INTEGER, UF INTEGER, "
                              "NomeCompleto VARCHAR(40), BandeiraUF VARCHAR(100))"},
            "Campo de outro tipo em UF.DB: UF");
        row("other width",
            {"drop table Federacao",
             "create table Federacao (NomeFederacao VARCHAR(10), LogoFederacao VARCHAR(100))"},
            "Campo de outro tamanho em Federacao.db: NomeFederacao (esperado texto de 8 "
            "caracteres, encontrado texto de 10 caracteres)");
        row("code not first", {"drop table Clubes", clubesWithNameFirst()},
            "O primeiro campo de Clubes.db deve ser Codigo");
        row("extra field accepted", {"alter table Clubes add column Apelido VARCHAR(20)"}, "");
        row("ASCII case of a field accepted",
            {"drop table Anos", "create table Anos (ANO INTEGER)"}, "");
        row("other field order accepted",
            {"drop table Paises", "create table Paises (NomePais VARCHAR(45), "
                                  "BandeiraPais VARCHAR(100), CodPais VARCHAR(3))"},
            "");
    }
    void brokenStore() {
        QFETCH(QStringList, breakage);
        QFETCH(QString, message);
        TestStore store;
        for (const QString& sql : breakage)
            store.exec(sql);
        store.close();
        const QString error = openError(store.dir());
        if (message.isEmpty())
            QCOMPARE(error, QString());
        else
            QVERIFY2(error.startsWith(message), qPrintable(error));
    }

    void missingStoreFile() {
        TestStore store;
        store.close();
        QVERIFY(QFile::remove(store.storeFile()));
        const QString error = openError(store.dir());
        QVERIFY2(error.startsWith(QStringLiteral("Tabela não encontrada: Clubes.db (")),
                 qPrintable(error));
        QVERIFY(error.contains(store.storeFile()));
        QVERIFY2(error.contains(QStringLiteral("velmora-datadir create")), qPrintable(error));
        QVERIFY(!QFile::exists(store.storeFile())); // opening never creates a store
    }

    void missingDataDir() {
        QTemporaryDir parent;
        const QString dir = parent.filePath(QStringLiteral("Velmora"));
        const QString error = openError(dir);
        QVERIFY2(
            error.startsWith(QStringLiteral("Diretório de dados não encontrado: ") + dir + "\n"),
            qPrintable(error));
        // The user is told how to make one.
        QVERIFY2(error.contains(QStringLiteral("velmora-datadir create ") + dir),
                 qPrintable(error));
        QVERIFY(!QFileInfo::exists(dir));
    }

    void olderStoreIsUpgraded() {
        TestStore store;
        store.add(1, QStringLiteral("Flamengo"), QStringLiteral("Brasil"), QStringLiteral("RJ"));
        for (const QString& index : Schema::indexNames())
            store.exec(QStringLiteral("drop index \"%1\"").arg(index));
        store.exec(QStringLiteral("PRAGMA user_version = 0"));
        store.close();
        QCOMPARE(openError(store.dir()), QString());
        QCOMPARE(store.value(QStringLiteral("PRAGMA user_version")),
                 QString::number(Schema::version));
        QStringList indexes =
            store.column(QStringLiteral("select name from sqlite_master where type = 'index' "
                                        "and name not like 'sqlite_%' order by name"));
        QStringList expected = Schema::indexNames();
        expected.sort();
        QCOMPARE(indexes, expected);
        QCOMPARE(store.value(QStringLiteral("select NomeClube from Clubes")),
                 QStringLiteral("Flamengo"));
    }

    void versionOneGetsTheGalleryIndexes() {
        TestStore store;
        store.add(1, QStringLiteral("Flamengo"), QStringLiteral("Brasil"), QStringLiteral("RJ"));
        for (const char* index :
             {"ClubesUFPaisNome", "ClubesAnoNome", "ClubesFederacaoNome", "ClubesExtintoNome"})
            store.exec(
                QStringLiteral("drop index if exists \"%1\"").arg(QString::fromLatin1(index)));
        store.exec(QStringLiteral("create index ClubesAno on Clubes (AnoFundacao)"));
        store.exec(QStringLiteral("PRAGMA user_version = 1"));
        store.close();
        QCOMPARE(openError(store.dir()), QString());
        QStringList indexes =
            store.column(QStringLiteral("select name from sqlite_master where type = 'index' "
                                        "and name not like 'sqlite_%' order by name"));
        QStringList expected = Schema::indexNames();
        expected.sort();
        QCOMPARE(indexes, expected);
        QCOMPARE(store.value(QStringLiteral("select count(*) from Clubes")), QStringLiteral("1"));
    }

    // A store of version 1, as stores were before the gallery indexes.
    static void makeVersionOne(TestStore& store) {
        store.add(1, QStringLiteral("Flamengo"), QStringLiteral("Brasil"), QStringLiteral("RJ"));
        for (const char* index :
             {"ClubesUFNome", "ClubesAnoNome", "ClubesFederacaoNome", "ClubesExtintoNome"})
            store.exec(
                QStringLiteral("drop index if exists \"%1\"").arg(QString::fromLatin1(index)));
        store.exec(QStringLiteral("PRAGMA user_version = 1"));
    }

    void upgradeKeepsTheOldFile() {
        TestStore store;
        makeVersionOne(store);
        store.close();
        const QString kept = store.dir() + QStringLiteral("/Velmora-v1.sqlite");
        QString notice;
        {
            TFrmDm dm(store.dir());
            notice = dm.upgradeNotice();
        }
        QVERIFY2(notice.contains(kept), qPrintable(notice));
        QVERIFY2(notice.contains(QStringLiteral("versão 1")), qPrintable(notice));
        {
            QSqlDatabase copy = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "kept");
            copy.setDatabaseName(kept);
            QVERIFY(copy.open());
            QSqlQuery q(copy);
            QVERIFY(q.exec(QStringLiteral("select (select user_version from pragma_user_version), "
                                          "(select NomeClube from Clubes)")) &&
                    q.next());
            QCOMPARE(q.value(0).toInt(), 1);
            QCOMPARE(q.value(1).toString(), QStringLiteral("Flamengo"));
        }
        QSqlDatabase::removeDatabase("kept");
        // A current store is opened as it is: no notice, no further copy.
        {
            TFrmDm dm(store.dir());
            QCOMPARE(dm.upgradeNotice(), QString());
        }
        QCOMPARE(QDir(store.dir()).entryList({QStringLiteral("Velmora-v*")}),
                 QStringList{QStringLiteral("Velmora-v1.sqlite")});
    }

    void failedUpgradeLeavesTheFileAsItWas() {
        TestStore store;
        makeVersionOne(store);
        // A table holding the name of an index the upgrade adds makes the upgrade fail.
        store.exec(QStringLiteral("create table ClubesAnoNome (x INTEGER)"));
        store.close();
        QFile file(store.storeFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        const QString error = openError(store.dir());
        QVERIFY2(error.contains(QStringLiteral("falhou")), qPrintable(error));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        QCOMPARE(QDir(store.dir()).entryList({QStringLiteral("Velmora-v*")}), QStringList());
        QCOMPARE(store.value(QStringLiteral("PRAGMA user_version")), QStringLiteral("1"));
    }

    // Version 4 counts clubs by triggers and finds names through trigram indexes: an
    // older store gets them filled from its rows, and the triggers keep them from then on.
    void versionThreeGetsCountsAndSearch() {
        TestStore store;
        store.add(1, QStringLiteral("Flamengo"), QStringLiteral("Brasil"), QStringLiteral("RJ"));
        store.add(2, QStringLiteral("Santos"), QStringLiteral("Brasil"), QStringLiteral("SP"));
        store.insert(store.selecao(3, QStringLiteral("Argentina"), QStringLiteral("Argentina")));
        Counts::drop(store.database().handle());
        Search::drop(store.database().handle());
        store.exec(QStringLiteral("create index ClubesIdentificadorExtinto on Clubes "
                                  "(Identificador, Extinto)"));
        store.exec(QStringLiteral("PRAGMA user_version = 3"));
        store.close();
        {
            TFrmDm dm(store.dir());
            QCOMPARE(dm.TblClubes.rowCount(), 3);
        }
        QCOMPARE(store.column(QStringLiteral("select PaisClube || ' ' || Identificador || ' ' || "
                                             "Qtde from ContagemClubes order by 1")),
                 (QStringList{"Argentina 1 1", "Brasil 0 1", "Brasil 0 1"}));
        store.add(4, QStringLiteral("Palmeiras"), QStringLiteral("Brasil"), QStringLiteral("SP"));
        store.exec(QStringLiteral("delete from Clubes where Codigo = 3"));
        QCOMPARE(store.column(QStringLiteral("select UFClube || ' ' || Qtde from ContagemClubes "
                                             "order by 1")),
                 (QStringList{"RJ 1", "SP 2"}));
        QStringList indexes =
            store.column(QStringLiteral("select name from sqlite_master where type = 'index' "
                                        "and name not like 'sqlite_%' order by name"));
        QStringList expected = Schema::indexNames();
        expected.sort();
        QCOMPARE(indexes, expected);
        QCOMPARE(store.value(QStringLiteral("select count(*) from ClubesBuscaNome where "
                                            "ClubesBuscaNome match '\"ALM\" AND \"LME\"'")),
                 QStringLiteral("1"));
    }

    // Version 4 keyed the short-name index by code and kept no letter pairs: the upgrade
    // keys it in name order and counts the pairs, and the triggers keep both from then on.
    void versionFourGetsNameOrderedSearch() {
        TestStore store;
        store.add(7, QStringLiteral("Palmeiras"));
        store.add(3, QString::fromUtf8("Ñandú"), QStringLiteral("Argentina"), {});
        Search::drop(store.database().handle());
        store.exec(QStringLiteral("create virtual table ClubesBuscaNome using fts5(Busca, "
                                  "tokenize = 'trigram case_sensitive 1', detail = none, "
                                  "content = '')"));
        store.exec(QStringLiteral("insert into ClubesBuscaNome (rowid, Busca) select Codigo, "
                                  "NomeClubeOrdem from Clubes"));
        store.exec(QStringLiteral("PRAGMA user_version = 4"));
        store.close();
        QCOMPARE(openError(store.dir()), QString());
        QCOMPARE(store.value(QStringLiteral("PRAGMA user_version")),
                 QString::number(Schema::version));
        const auto firstPrefix = [&](const char* trigram) {
            return store.value(QStringLiteral("select rowid >> %1 from ClubesBuscaNome where "
                                              "ClubesBuscaNome match '\"%2\"' order by rowid "
                                              "limit 1")
                                   .arg(Search::codeBits)
                                   .arg(QLatin1String(trigram)));
        };
        QCOMPARE(firstPrefix("ALM"), QString::number(Search::orderPrefix("PALM")));
        const auto pairs = [&] {
            return store.column(
                QStringLiteral("select Trecho || Qtde from %1 where Trecho in ('N', 'AN', 'PA', "
                               "'SA') order by 1")
                    .arg(Search::piecesTable()));
        };
        QCOMPARE(pairs(), (QStringList{"AN1", "N1", "PA1"}));
        store.add(8, QStringLiteral("Santos"));
        store.exec(QStringLiteral("delete from Clubes where Codigo = 3"));
        QCOMPARE(pairs(), (QStringList{"AN1", "N1", "PA1", "SA1"}));
        QCOMPARE(firstPrefix("ANT"), QString::number(Search::orderPrefix("SANT")));
        QStringList expected = Schema::triggerNames();
        expected.sort();
        QCOMPARE(sortedSchemaNames(store, "trigger"), expected);
    }

    // Version 7 kept no words; some version-7 stores, upgraded by an early version 6,
    // still held the age index that made every age written cost two index writes.
    void versionSevenGetsWordsAndLosesTheAgeIndex() {
        TestStore store;
        store.add(7, QStringLiteral("Palmeiras Futebol"));
        Search::drop(store.database().handle());
        store.exec(QStringLiteral("create index ClubesAnoIdade on Clubes (AnoFundacao, "
                                  "IdadeClube)"));
        store.exec(QStringLiteral("PRAGMA user_version = 7"));
        store.close();
        QCOMPARE(openError(store.dir()), QString());
        QCOMPARE(store.value(QStringLiteral("PRAGMA user_version")),
                 QString::number(Schema::version));
        QCOMPARE(store.column(QStringLiteral("select name from sqlite_master where name like "
                                             "'%Idade' and type = 'index'")),
                 QStringList());
        QCOMPARE(store.column(QStringLiteral("select Palavra || Qtde from %1 order by 1")
                                  .arg(Search::wordListFor(u("NomeClube"))->table)),
                 (QStringList{"FUTEBOL1", "PALMEIRAS1"}));
    }

    // Version 2 had no order keys: names were listed in byte order.
    static void makeVersionTwo(TestStore& store) {
        addAwkwardNames(store);
        for (const QString& trigger : Schema::triggerNames())
            store.exec(QStringLiteral("drop trigger \"%1\"").arg(trigger));
        for (const QString& index : Schema::indexNames())
            store.exec(QStringLiteral("drop index \"%1\"").arg(index));
        for (const OrderKeyDef& key : Schema::orderKeys())
            store.exec(QStringLiteral("alter table %1 drop column %2").arg(key.table, key.key));
        store.exec(u("create index ClubesUFNome on Clubes (UFClube, Identificador, NomeClube)"));
        store.exec(QStringLiteral("PRAGMA user_version = 2"));
        store.close();
    }

    void versionTwoGetsOrderKeys() {
        TestStore store;
        makeVersionTwo(store);

        QCOMPARE(openError(store.dir()), QString());
        QCOMPARE(store.value(QStringLiteral("PRAGMA user_version")),
                 QString::number(Schema::version));
        QStringList expected = Schema::indexNames();
        expected.sort();
        QCOMPARE(sortedSchemaNames(store, "index"), expected);
        expected = Schema::triggerNames();
        expected.sort();
        QCOMPARE(sortedSchemaNames(store, "trigger"), expected);
        QVERIFY(store.column(u("select name from pragma_index_info('ClubesUFPaisNome')"))
                    .contains(u("NomeClubeOrdem")));
        QCOMPARE(clubsInOrder(store), awkwardInOrder.join(QLatin1Char('|')));
        QCOMPARE(store.column(u("select NomeCompleto from UF order by NomeCompletoOrdem, "
                                "NomeCompleto")),
                 QStringList({u("Minas Gerais"), u("Rio de Janeiro"), u("Rio Grande do Sul"),
                              u("São Paulo")}));
        QCOMPARE(store.count(QStringLiteral("Clubes")), int(awkwardInOrder.size()));
    }

    // An upgrade first makes sure the disk can take it (the kept copy, the new store,
    // the journal) and tells how far it is while it runs.
    void upgradeChecksSpaceAndReportsProgress_data() {
        QTest::addColumn<qint64>("missing"); // bytes missing from what the upgrade needs
        QTest::newRow("room enough") << qint64(0);
        QTest::newRow("one byte short") << qint64(1);
    }
    void upgradeChecksSpaceAndReportsProgress() {
        QFETCH(qint64, missing);
        TestStore store;
        makeVersionTwo(store);
        const qint64 pageSize = store.value(u("PRAGMA page_size")).toLongLong();
        const qint64 pages = store.value(u("PRAGMA page_count")).toLongLong();
        const qint64 live = pages - store.value(u("PRAGMA freelist_count")).toLongLong();
        store.close();
        const qint64 needed = Schema::upgradeSpace(pages * pageSize, live * pageSize);
        QVERIFY(needed > QFileInfo(store.storeFile()).size());

        QStringList asked;
        QList<QPair<QString, int>> reports;
        UpgradeOptions options;
        options.freeSpace = [&](const QString& folder) {
            asked << folder;
            return needed - missing;
        };
        options.progress = [&](const QString& step, int percent) {
            reports.append({step, percent});
        };
        QString error;
        try {
            TFrmDm dm(store.dir(), options);
        } catch (const StoreError& e) {
            error = e.text();
        }
        QCOMPARE(asked, QStringList{QFileInfo(store.storeFile()).absolutePath()});
        if (missing > 0) {
            const qint64 mb = 1024 * 1024;
            QVERIFY2(error.contains(QStringLiteral("%1 MB").arg((needed + mb - 1) / mb)),
                     qPrintable(error));
            QVERIFY(reports.isEmpty());
            QCOMPARE(store.value(u("PRAGMA user_version")), u("2"));
            QCOMPARE(QDir(store.dir()).entryList({QStringLiteral("*-v*")}, QDir::Files),
                     QStringList()); // no copy kept
            return;
        }
        QCOMPARE(error, QString());
        QCOMPARE(store.value(u("PRAGMA user_version")), QString::number(Schema::version));
        QSet<QString> steps;
        int last = -1;
        for (const auto& [step, percent] : reports) {
            QVERIFY2(percent >= last && percent <= 100, qPrintable(step));
            QVERIFY(!step.isEmpty());
            last = percent;
            steps.insert(step);
        }
        QCOMPARE(last, 100);
        QVERIFY(reports.first().second < 100);
        QVERIFY(steps.size() >= 3);
        QCOMPARE(clubsInOrder(store), awkwardInOrder.join(QLatin1Char('|')));
    }

    // However a name is written (a new row, a renamed one, a key set by hand), its key
    // follows it.
    void orderKeyFollowsTheName() {
        TestStore store;
        addAwkwardNames(store);
        store.exec(u("update Clubes set NomeClube = 'Ágape' where NomeClube = 'Sport'"));
        store.exec(u("update Clubes set NomeClubeOrdem = 'ZZZ' where NomeClube = 'CRB'"));
        store.exec(u("update Clubes set IdadeClube = '1 anos' where NomeClube = 'Íbis'"));
        store.exec(u("insert into Clubes (Codigo, NomeClube, NomeClubeOrdem) "
                     "values (99, 'zumbi', 'A')"));
        QCOMPARE(store.value(u("select NomeClubeOrdem from Clubes where Codigo = 99")), u("ZUMBI"));
        QStringList expected = awkwardInOrder;
        expected.removeOne(u("Sport"));
        expected.prepend(u("Ágape"));
        expected.append(u("zumbi"));
        QCOMPARE(clubsInOrder(store), expected.join(QLatin1Char('|')));
    }

    // A table made by hand without its key gets it (and its triggers) when opened.
    void missingOrderKeyIsRestored() {
        TestStore store;
        store.exec(u("drop table Paises"));
        store.exec(u("create table Paises (CodPais VARCHAR(3), NomePais VARCHAR(45), "
                     "BandeiraPais VARCHAR(100))"));
        store.exec(u("insert into Paises values ('URU', 'Uruguai', ''), ('AUT', 'Áustria', ''), "
                     "('ALE', 'Alemanha', '')"));
        store.close();
        QCOMPARE(openError(store.dir()), QString());
        store.exec(u("insert into Paises (CodPais, NomePais) values ('ARG', 'Argentina')"));
        QCOMPARE(store.column(u("select NomePais from Paises order by NomePaisOrdem, NomePais")),
                 QStringList({u("Alemanha"), u("Argentina"), u("Áustria"), u("Uruguai")}));
    }

    // The sqlite3 shell knows none of the program's functions: every table, the
    // name order and the integrity check must still be readable there.
    void sqliteShellReadsTheStore() {
        TestStore store;
        addAwkwardNames(store);
        store.close();
        for (const TableDef& table : Schema::tables()) {
            const QString count = shell(
                store.storeFile(), QStringLiteral("select count(*) from \"%1\"").arg(table.name));
            QCOMPARE(count, QString::number(store.count(table.name)));
            const QString rows =
                shell(store.storeFile(), QStringLiteral("select * from \"%1\"").arg(table.name));
            QCOMPARE(rows.count(QLatin1Char('\n')) + (rows.isEmpty() ? 0 : 1),
                     store.count(table.name));
        }
        QCOMPARE(shell(store.storeFile(), u("select NomeClube from Clubes where Identificador = 0 "
                                            "order by NomeClubeOrdem, NomeClube")),
                 awkwardInOrder.join(QLatin1Char('\n')));
        QCOMPARE(shell(store.storeFile(), QStringLiteral("pragma integrity_check")),
                 QStringLiteral("ok"));
    }

    void newerStoreIsRefused() {
        TestStore store;
        store.exec(QStringLiteral("PRAGMA user_version = %1").arg(Schema::version + 1));
        store.close();
        const QString error = openError(store.dir());
        QVERIFY2(error.contains(QStringLiteral("versão %1, mais nova").arg(Schema::version + 1)),
                 qPrintable(error));
        QCOMPARE(store.value(QStringLiteral("PRAGMA user_version")),
                 QString::number(Schema::version + 1));
    }

    // The counters and lookups run at every activation: each must be answered from an
    // index, never by reading every club.
    void statementsUseIndexes_data() {
        QTest::addColumn<QString>("sql");   // a statement written in place
        QTest::addColumn<QString>("named"); // or the store's own, by name
        QTest::addColumn<QString>("index");
        const auto row = [](const char* tag, const char* sql, const char* index) {
            QTest::newRow(tag) << QString::fromUtf8(sql) << QString() << QString::fromUtf8(index);
        };
        const auto named = [](const char* tag, const Statement& statement, const char* index) {
            QTest::newRow(tag) << QString() << statement.name() << QString::fromUtf8(index);
        };
        named("counter selecoes", Statements::nationalTeamCount(), "ContagemClubes");
        named("counter clubes", Statements::activeClubCount(), "ContagemClubes");
        named("counter brasil", Statements::brazilianClubCount(), "ContagemClubes");
        named("counter outros", Statements::foreignClubCount(), "ContagemClubes");
        named("counter extintos", Statements::extinctCount(), "ContagemClubes");
        row("featured club",
            "select c.NomeClube, p.codpais from clubes.db as c, paises.db as p "
            "where c.codigo = :C and c.PaisClube = p.NomePais",
            "PaisesNome");
        row("card",
            "select c.NomeClube from clubes.db as c, paises.db as p "
            "where c.PaisClube = p.NomePais and c.NomeClube = :N order by c.nomeclube",
            "ClubesNome");
        named("year count", Statements::yearClubCount(), "ContagemAnos");
        named("federation count", Statements::federationClubCount(), "ContagemFederacoes");
        row("year listing",
            "select c.NomeClube, p.codpais from clubes.db as c, paises.db as p "
            "where c.PaisClube = p.NomePais and c.AnoFundacao = :A and c.Identificador = 0 "
            "order by c.NomeClubeOrdem, c.NomeClube",
            "ClubesAnoNome");
        row("federation listing",
            "select c.NomeClube, p.codpais from clubes.db as c, paises.db as p "
            "where c.PaisClube = p.NomePais and Federacao = :F and c.Identificador = 0 "
            "order by c.NomeClubeOrdem, c.NomeClube",
            "ClubesFederacaoNome");
        row("state listing",
            "select c.NomeClube, u.NomeCompleto from clubes.db as c, paises.db as p, uf.db as "
            "u "
            "where c.PaisClube = \"Brasil\" and c.UFClube = fold(:E) "
            "and c.PaisClube = p.NomePais and c.UFClube = u.uf and c.identificador = 0 "
            "order by c.NomeClubeOrdem, c.NomeClube",
            "ClubesUFPaisNome");
        row("extinct listing",
            "select c.NomeClube, p.codpais from clubes.db as c, paises.db as p "
            "where c.PaisClube = p.NomePais and c.extinto = 1 "
            "order by c.NomeClubeOrdem, c.NomeClube",
            "ClubesExtintoNome");
        row("brazilian listing",
            "select c.NomeClube, p.codpais from clubes.db as c, paises.db as p "
            "where c.PaisClube = p.NomePais and c.PaisClube = \"Brasil\" "
            "and c.Identificador = 0 order by c.NomeClubeOrdem, c.NomeClube, c.UFClube",
            "ClubesPais");
        row("all clubs listing",
            "select c.NomeClube, p.codpais from clubes.db as c, paises.db as p "
            "where c.PaisClube = p.NomePais and c.Identificador = 0 "
            "order by c.NomeClubeOrdem, c.NomeClube",
            "ClubesIdentificadorNome");
        row("club chooser",
            "select NomeClube, PaisClube, UFClube from Clubes.db where Identificador = 1 "
            "order by NomeClubeOrdem, NomeClube",
            "ClubesIdentificadorNome");
        // A search by part of the name reads every name, in order, from the index.
        named("name search", Statements::clubsByName(), "SCAN c USING INDEX ClubesOrdem");
        row("countries by name",
            "select NomePais as pais from paises.db "
            "order by NomePaisOrdem, NomePais",
            "PaisesOrdem");
        row("states by name",
            "select UF, NomeCompleto as estado from uf.db "
            "order by NomeCompletoOrdem, estado",
            "UFOrdem");
        row("federations by name",
            "select NomeFederacao from Federacao.db "
            "order by NomeFederacaoOrdem, NomeFederacao",
            "FederacaoOrdem");
        row("state name", "select NomeCompleto as estados from UF.db where UF = :E", "UFSigla");
        row("cities of a state",
            "select cidade from cidades.db where país = :P and estado = :E "
            "order by CidadeOrdem, cidade",
            "CidadesPaisEstado");
        row("federation logo", "select LogoFederacao from Federacao.db where NomeFederacao = :F",
            "FederacaoNome");
    }
    void statementsUseIndexes() {
        QFETCH(QString, sql);
        QFETCH(QString, named);
        QFETCH(QString, index);
        TestStore store;
        const auto found = std::find_if(
            Statements::all().begin(), Statements::all().end(),
            [&](const Statement* s) { return !named.isEmpty() && s->name() == named; });
        const Statement statement = found != Statements::all().end() ? **found : Statement{sql};
        // Every parameter "x"; the statement the engine runs is its shortcut where it has one.
        Query::Params params;
        for (const QString& parameter : Dialect::prepare(statement.lines().join(u'\n')).parameters)
            params.append({parameter, QStringLiteral("x")});
        Query query(store.database(), QStringLiteral("Query"));
        query.run(statement, params);
        const QStringList plan = query.queryPlan();
        const QString text = plan.join(QLatin1String("; "));
        QVERIFY2(text.contains(index), qPrintable(text));
        if (!index.startsWith(QLatin1String("SCAN"))) {
            QVERIFY2(!text.contains(QRegularExpression(QStringLiteral("SCAN (Clubes|c)( |;|$)"))),
                     qPrintable(text));
        }
        // Lists take their name order from the index, not from a sort (the state
        // after the name only orders equal names).
        if (statement.lines().join(u' ').contains(QLatin1String("Ordem, ")))
            QVERIFY2(!text.contains(QLatin1String("TEMP B-TREE FOR ORDER BY")), qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "test_schema.moc"
