// The table cursor: key order, navigation flags, the row buffer and its refusals.
#include "store/StoreError.h"
#include "store/Table.h"
#include "tests/support/Rows.h"
#include "tests/support/store/TestStore.h"

#include <QSignalSpy>
#include <QtTest>

using namespace velmora;
using velmora::test::row;
using velmora::test::TestStore;

namespace {

QString errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const StoreError& e) {
        return e.text();
    }
    return {};
}

} // namespace

class TestTable final : public QObject {
    Q_OBJECT

private slots:
    void init() {
        store_ = std::make_unique<TestStore>();
        // Stored out of key order on purpose.
        for (int code : {5, 2, 9})
            store_->add(code, QStringLiteral("Clube %1").arg(code));
        db_ = std::make_unique<Database>(store_->dir());
        clubes_ = makeTable(QStringLiteral("Clubes"));
        clubes_->first();
    }
    void cleanup() {
        clubes_.reset();
        db_.reset();
        store_.reset();
    }

    void walksInKeyOrder() {
        QStringList codes;
        for (clubes_->first(); !clubes_->eof(); clubes_->next())
            codes << clubes_->fieldText(QStringLiteral("Codigo"));
        QCOMPARE(codes, (QStringList{"2", "5", "9"}));
        codes.clear();
        for (clubes_->last(); !clubes_->bof(); clubes_->prior())
            codes << clubes_->fieldText(QStringLiteral("codigo"));
        QCOMPARE(codes, (QStringList{"9", "5", "2"}));
    }

    void seekGoesStraightToAKey() {
        QSignalSpy moved(clubes_.get(), &Table::rowChanged);
        QVERIFY(clubes_->seek(9));
        QCOMPARE(clubes_->fieldText(QStringLiteral("Codigo")), QStringLiteral("9"));
        QVERIFY(!clubes_->eof());
        QCOMPARE(moved.count(), 1);
        // No such key: the cursor stays on its row.
        QVERIFY(!clubes_->seek(3));
        QCOMPARE(clubes_->fieldText(QStringLiteral("Codigo")), QStringLiteral("9"));
        QCOMPARE(moved.count(), 1);
        clubes_->prior();
        QCOMPARE(clubes_->fieldText(QStringLiteral("Codigo")), QStringLiteral("5"));
        // Not while a row is pending.
        clubes_->edit();
        QVERIFY(!errorOf([&] { clubes_->seek(2); }).isEmpty());
        clubes_->cancel();
    }

    void otherTablesInInsertionOrder() {
        auto anos = makeTable(QStringLiteral("Anos.DB"));
        anos->first();
        QCOMPARE(anos->fieldText(QStringLiteral("Ano")), QStringLiteral("1850"));
        anos->last();
        QCOMPARE(anos->fieldText(QStringLiteral("ANO")), QStringLiteral("2050"));
        QCOMPARE(anos->rowCount(), 201);
        auto cidades = makeTable(QStringLiteral("Cidades"));
        cidades->first();
        QCOMPARE(cidades->fieldText(QStringLiteral("Cidade")), QStringLiteral("São Paulo"));
        QCOMPARE(cidades->fieldText(QStringLiteral("país")), QStringLiteral("Brasil"));
    }

    void flags() {
        QVERIFY(clubes_->bof());
        QVERIFY(!clubes_->eof());
        QVERIFY(clubes_->atFirst());
        clubes_->prior(); // refused at the first row
        QVERIFY(clubes_->bof());
        QCOMPARE(clubes_->fieldText(QStringLiteral("Codigo")), QStringLiteral("2"));
        clubes_->next();
        QVERIFY(!clubes_->bof() && !clubes_->eof());
        QVERIFY(!clubes_->atFirst() && !clubes_->atLast());
        clubes_->next();
        QVERIFY(!clubes_->eof());
        QVERIFY(clubes_->atLast());
        clubes_->next(); // refused at the last row
        QVERIFY(clubes_->eof());
        QCOMPARE(clubes_->fieldText(QStringLiteral("Codigo")), QStringLiteral("9"));
        clubes_->last();
        QVERIFY(clubes_->eof() && !clubes_->bof());
    }

    void emptyTable() {
        store_->exec(QStringLiteral("delete from Clubes"));
        clubes_->first();
        QVERIFY(clubes_->bof() && clubes_->eof());
        QVERIFY(!clubes_->hasRow());
        QVERIFY(clubes_->isEmpty());
        QCOMPARE(clubes_->fieldText(QStringLiteral("NomeClube")), QString());
        clubes_->next();
        clubes_->prior();
        clubes_->last();
        QVERIFY(!clubes_->hasRow());
        QVERIFY_THROWS_EXCEPTION(StoreError, clubes_->edit());
        QVERIFY_THROWS_EXCEPTION(StoreError, clubes_->remove());
    }

    void appendAndPost() {
        QSignalSpy state(clubes_.get(), &Table::stateChanged);
        clubes_->append();
        QCOMPARE(clubes_->state(), Table::State::Insert);
        QCOMPARE(clubes_->fieldText(QStringLiteral("NomeClube")), QString());
        clubes_->setFieldText(QStringLiteral("Codigo"), QStringLiteral("10"));
        clubes_->setFieldText(QStringLiteral("nomeclube"), QStringLiteral("Novo Clube"));
        clubes_->setFieldText(QStringLiteral("AnoFundacao"), QStringLiteral("1930"));
        QCOMPARE(clubes_->fieldText(QStringLiteral("NomeClube")), QStringLiteral("Novo Clube"));
        QCOMPARE(store_->count(QStringLiteral("Clubes")), 3); // nothing stored before post
        clubes_->post();
        QCOMPARE(clubes_->state(), Table::State::Browse);
        QCOMPARE(state.count(), 2);
        QCOMPARE(clubes_->fieldText(QStringLiteral("Codigo")), QStringLiteral("10"));
        QCOMPARE(clubes_->rowCount(), 4);
        QCOMPARE(store_->value(QStringLiteral("select NomeClube || '/' || AnoFundacao from Clubes "
                                              "where Codigo = 10")),
                 QStringLiteral("Novo Clube/1930"));
        QCOMPARE(store_->value(QStringLiteral("select typeof(AnoFundacao) from Clubes "
                                              "where Codigo = 10")),
                 QStringLiteral("integer"));
    }

    void appendWithoutCodeTakesNextKey() {
        clubes_->append();
        clubes_->setFieldText(QStringLiteral("NomeClube"), QStringLiteral("Sem Código"));
        clubes_->post();
        QCOMPARE(clubes_->fieldText(QStringLiteral("Codigo")), QStringLiteral("10"));
    }

    void cancelOfAppendReturnsAndDiscards() {
        clubes_->next(); // on 5
        clubes_->append();
        clubes_->setFieldText(QStringLiteral("Codigo"), QStringLiteral("11"));
        clubes_->setFieldText(QStringLiteral("NomeClube"), QStringLiteral("Descartado"));
        clubes_->setFieldText(QStringLiteral("Extinto"), QStringLiteral("1"));
        clubes_->cancel();
        QCOMPARE(clubes_->state(), Table::State::Browse);
        QCOMPARE(clubes_->fieldText(QStringLiteral("Codigo")), QStringLiteral("5"));
        QCOMPARE(clubes_->fieldText(QStringLiteral("NomeClube")), QStringLiteral("Clube 5"));
        QCOMPARE(store_->count(QStringLiteral("Clubes")), 3);
        QCOMPARE(clubes_->rowCount(), 3);
        clubes_->append(); // a fresh buffer, nothing left from the cancelled one
        QCOMPARE(clubes_->fieldText(QStringLiteral("NomeClube")), QString());
        QCOMPARE(clubes_->fieldText(QStringLiteral("Extinto")), QString());
        clubes_->cancel();
    }

    void editCancelDiscardsEveryField() {
        const QStringList fields = {"NomeClube",     "EscudoClube", "BandeiraPais",
                                    "Identificador", "Extinto",     "IdadeClube"};
        QStringList before;
        for (const QString& f : fields)
            before << clubes_->fieldText(f);
        clubes_->edit();
        for (const QString& f : fields)
            clubes_->setFieldText(f, f == "Identificador" || f == "Extinto" ? "1" : "x");
        clubes_->cancel();
        QStringList after;
        for (const QString& f : fields)
            after << clubes_->fieldText(f);
        QCOMPARE(after, before);
        QCOMPARE(store_->value(QStringLiteral("select NomeClube from Clubes where Codigo = 2")),
                 QStringLiteral("Clube 2"));
    }

    void editAndPost() {
        clubes_->next();
        clubes_->edit();
        clubes_->setFieldText(QStringLiteral("Estadio"), QStringLiteral("Arena Nova"));
        clubes_->setFieldText(QStringLiteral("AnoFundacao"), QString()); // empty stores NULL
        clubes_->post();
        QCOMPARE(clubes_->fieldText(QStringLiteral("Codigo")), QStringLiteral("5"));
        QCOMPARE(store_->value(QStringLiteral("select Estadio from Clubes where Codigo = 5")),
                 QStringLiteral("Arena Nova"));
        QCOMPARE(store_->value(QStringLiteral("select AnoFundacao is null from Clubes "
                                              "where Codigo = 5")),
                 QStringLiteral("1"));
        QCOMPARE(clubes_->fieldText(QStringLiteral("AnoFundacao")), QString());
    }

    void refusals_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        row("short name too long", "NomeClube", QString(41, 'a'),
            "O campo NomeClube aceita no máximo 40 caracteres.");
        row("state code too long", "UFClube", "SPX",
            "O campo UFClube aceita no máximo 2 caracteres.");
        row("age text too long", "IdadeClube", "1234 anos",
            "O campo IdadeClube aceita no máximo 8 caracteres.");
        row("year not a number", "AnoFundacao", "19x0",
            "O campo AnoFundacao deve ser um número inteiro.");
        row("year with decimals", "AnoFundacao", "1910.5",
            "O campo AnoFundacao deve ser um número inteiro.");
        row("over 32 bits", "Extinto", "4294967296", "O campo Extinto deve ser um número inteiro.");
        row("unknown field", "Apelido", "x", "Campo não encontrado em Clubes.db: Apelido");
    }
    void refusals() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        clubes_->edit();
        const QString before = clubes_->fieldText(QStringLiteral("NomeClube"));
        QCOMPARE(errorOf([&] { clubes_->setFieldText(field, text); }), message);
        QCOMPARE(clubes_->state(), Table::State::Edit);
        clubes_->post();
        QCOMPARE(store_->value(QStringLiteral("select NomeClube || '|' || UFClube || '|' || "
                                              "AnoFundacao || '|' || IdadeClube || '|' || Extinto "
                                              "from Clubes where Codigo = 2")),
                 before + QStringLiteral("|SP|1910|114 anos|0"));
    }

    void widthCountsCharacters() {
        clubes_->edit();
        clubes_->setFieldText(QStringLiteral("NomeClube"), QString(40, QChar(0x00E3))); // ã x40
        clubes_->post();
        QCOMPARE(clubes_->fieldText(QStringLiteral("NomeClube")).size(), 40);
    }

    void writesOnlyWhileInsertingOrEditing() {
        QVERIFY_THROWS_EXCEPTION(
            StoreError, clubes_->setFieldText(QStringLiteral("NomeClube"), QStringLiteral("x")));
        clubes_->append();
        clubes_->setFieldText(QStringLiteral("NomeClube"), QStringLiteral("Pendente"));
        // Moving would store or lose the pending row: refused, the buffer kept.
        QVERIFY_THROWS_EXCEPTION(StoreError, clubes_->next());
        QVERIFY_THROWS_EXCEPTION(StoreError, clubes_->first());
        QCOMPARE(clubes_->fieldText(QStringLiteral("NomeClube")), QStringLiteral("Pendente"));
        clubes_->cancel();
    }

    void duplicateCodeIsRefusedAndNothingStored() {
        clubes_->append();
        clubes_->setFieldText(QStringLiteral("Codigo"), QStringLiteral("5"));
        clubes_->setFieldText(QStringLiteral("NomeClube"), QStringLiteral("Repetido"));
        QVERIFY(!errorOf([&] { clubes_->post(); }).isEmpty());
        QCOMPARE(clubes_->state(), Table::State::Insert); // still there to fix or cancel
        QCOMPARE(clubes_->fieldText(QStringLiteral("NomeClube")), QStringLiteral("Repetido"));
        QCOMPARE(store_->count(QStringLiteral("Clubes")), 3);
        clubes_->setFieldText(QStringLiteral("Codigo"), QStringLiteral("6"));
        clubes_->post();
        QCOMPARE(store_->count(QStringLiteral("Clubes")), 4);
    }

    void remove_data() {
        QTest::addColumn<int>("moves"); // next() calls from the first row
        QTest::addColumn<QString>("current");
        QTest::addColumn<int>("count");
        QTest::newRow("first") << 0 << "5" << 2;
        QTest::newRow("middle") << 1 << "9" << 2;
        QTest::newRow("last") << 2 << "5" << 2;
    }
    void remove() {
        QFETCH(int, moves);
        QFETCH(QString, current);
        QFETCH(int, count);
        for (int i = 0; i < moves; ++i)
            clubes_->next();
        clubes_->remove();
        QCOMPARE(clubes_->fieldText(QStringLiteral("Codigo")), current);
        QCOMPARE(clubes_->rowCount(), count);
        QCOMPARE(store_->count(QStringLiteral("Clubes")), count);
    }

    void removeOnlyRow() {
        store_->exec(QStringLiteral("delete from Clubes where Codigo <> 9"));
        clubes_->refresh();
        clubes_->first();
        clubes_->remove();
        QVERIFY(!clubes_->hasRow());
        QVERIFY(clubes_->bof() && clubes_->eof());
        QCOMPARE(clubes_->rowCount(), 0);
        QCOMPARE(clubes_->fieldText(QStringLiteral("Codigo")), QString());
    }

    void rowCountFollowsOtherWriters() {
        QCOMPARE(clubes_->rowCount(), 3);
        store_->add(20, QStringLiteral("Clube 20"));
        QCOMPARE(clubes_->rowCount(), 4);
        store_->exec(QStringLiteral("delete from Clubes where Codigo > 5"));
        QCOMPARE(clubes_->rowCount(), 2);
    }

    void refreshAfterCurrentRowWentAway() {
        clubes_->next(); // on 5
        store_->exec(QStringLiteral("delete from Clubes where Codigo = 5"));
        clubes_->refresh();
        QCOMPARE(clubes_->fieldText(QStringLiteral("Codigo")), QStringLiteral("9"));
    }

    void signalsReachTheDataSource() {
        DataSource source(*clubes_, QStringLiteral("DtsClubes"));
        QCOMPARE(source.objectName(), QStringLiteral("DtsClubes"));
        QCOMPARE(&source.table(), clubes_.get());
        QSignalSpy rows(&source, &DataSource::rowChanged);
        QSignalSpy states(&source, &DataSource::stateChanged);
        clubes_->next();
        clubes_->last();
        QCOMPARE(rows.count(), 2);
        clubes_->edit();
        clubes_->cancel();
        QCOMPARE(states.count(), 2);
    }

private:
    std::unique_ptr<Table> makeTable(const QString& name) {
        return std::make_unique<Table>(*db_, Schema::table(name), QStringLiteral("Tbl") + name);
    }

    std::unique_ptr<TestStore> store_;
    std::unique_ptr<Database> db_;
    std::unique_ptr<Table> clubes_;
};

QTEST_GUILESS_MAIN(TestTable)
#include "test_table.moc"
