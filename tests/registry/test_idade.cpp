// Club ages: the age text, the age set when a year is picked in the editor, and the
// recomputation of every stored age.
#include "registry/Idade.h"
#include "tests/support/EditorRig.h"
#include "tests/support/Rows.h"

#include <QComboBox>
#include <QFrame>
#include <QProgressBar>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QThread>

using namespace velmora;
using velmora::test::Club;
using velmora::test::EditorRig;
using velmora::test::row;

namespace {

// Picks a year in the editor's year box as the user does.
bool pickYear(DbComboBox* box, const QString& year) {
    const int index = box->findText(year);
    if (index < 0)
        return false;
    box->setCurrentIndex(index);
    emit box->activated(index);
    return true;
}

// A catalogue of `rows` clubs with random codes, years (some none, some still to
// come) and stored ages: right for some year, stale, missing or not an age at all.
void fillRandom(test::TestStore& store, int rows, quint32 seed) {
    QRandomGenerator random(seed);
    const QStringList odd = {"?", "", "007 anos", "12", "anos"};
    store.exec(QStringLiteral("begin"));
    int code = 0;
    for (int i = 0; i < rows; ++i) {
        code += 1 + int(random.bounded(5));
        const bool withYear = random.bounded(10) != 0;
        const int year = 1850 + int(random.bounded(200));
        QString age;
        switch (random.bounded(4)) {
        case 0:
            age = ageText(1990 + int(random.bounded(40)), year);
            break;
        case 1:
            age = odd[random.bounded(odd.size())];
            break;
        case 2:
            break; // none
        default:
            age = ageText(2024, year);
        }
        store.exec(QStringLiteral("insert into Clubes (Codigo, NomeClube, AnoFundacao, IdadeClube, "
                                  "Identificador, Extinto) values (%1, 'Clube %1', %2, %3, %4, 0)")
                       .arg(code)
                       .arg(withYear ? QString::number(year) : QStringLiteral("null"))
                       .arg(random.bounded(4) == 2 ? QStringLiteral("null")
                                                   : QLatin1Char('\'') + age + QLatin1Char('\''))
                       .arg(random.bounded(2)));
    }
    store.exec(QStringLiteral("commit"));
}

// Every column of every club, one line a club, in code order.
QStringList everyRow(test::TestStore& store) {
    return store.column(QStringLiteral("select quote(Codigo) || '|' || quote(NomeClube) || '|' || "
                                       "quote(AnoFundacao) || '|' || quote(IdadeClube) || '|' || "
                                       "quote(Identificador) from Clubes order by Codigo"));
}

// The ages as the editor's row-by-row recomputation would leave them.
QStringList recomputedOneByOne(test::TestStore& store, int year) {
    QStringList rows;
    const QStringList codes =
        store.column(QStringLiteral("select Codigo from Clubes order by Codigo"));
    for (const QString& code : codes) {
        const QString founded = store.value(
            QStringLiteral("select AnoFundacao from Clubes where Codigo = %1").arg(code));
        const QString age = founded.isEmpty() ? QStringLiteral("IdadeClube")
                                              : QLatin1Char('\'') + ageText(year, founded.toInt()) +
                                                    QLatin1Char('\'');
        rows << store.value(QStringLiteral("select quote(Codigo) || '|' || quote(NomeClube) || '|' "
                                           "|| quote(AnoFundacao) || '|' || quote(%1) || '|' || "
                                           "quote(Identificador) from Clubes where Codigo = %2")
                                .arg(age, code));
    }
    return rows;
}

} // namespace

class TestIdade final : public QObject {
    Q_OBJECT
private slots:
    void text_data();
    void text();
    void yearPicked_data();
    void yearPicked();
    void recomputeAfterYearChange();
    void recomputeShowsLastRow();
    void recomputeOnEmptyTable();
    void rowWithoutYear_data();
    void rowWithoutYear();
    void ageTooLongWritesNothing();
    void storeAgesCountsRows();
    void onlyTheYearsTriggersWatchTheAge();
    void storeAgesWritesOnlyWrongRows_data();
    void storeAgesWritesOnlyWrongRows();
    void storeAgesSameAsRowByRow_data();
    void storeAgesSameAsRowByRow();
    void storeAgesStoppedWritesNothing_data();
    void storeAgesStoppedWritesNothing();
    void asideLikeHere_data();
    void asideLikeHere();
    void sameYearAfterWrites_data();
    void sameYearAfterWrites();
    void savedInAnotherYearIsRecounted();
    void recomputeShowsProgressInEditor();
    void recomputeCancelledChangesNothing();
};

void TestIdade::text_data() {
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("founded");
    QTest::addColumn<QString>("expected");
    QTest::newRow("1900 in 2024") << 2024 << 1900 << "124 anos";
    QTest::newRow("this year") << 2024 << 2024 << "0 anos";
    QTest::newRow("still to come") << 2024 << 2030 << "-6 anos";
    QTest::newRow("no padding") << 2024 << 2019 << "5 anos";
}

void TestIdade::text() {
    QFETCH(int, current);
    QFETCH(int, founded);
    QFETCH(QString, expected);
    QCOMPARE(ageText(current, founded), expected);
}

void TestIdade::yearPicked_data() {
    QTest::addColumn<bool>("inserting");
    QTest::newRow("insert") << true;
    QTest::newRow("edit") << false;
}

void TestIdade::yearPicked() {
    QFETCH(bool, inserting);
    EditorRig rig;
    rig.store.add(1, QStringLiteral("Santos"));
    TFrmClubes& editor = rig.open();
    (inserting ? editor.Novo1 : editor.Alterar1)->trigger();
    QVERIFY(pickYear(editor.ComboAno, QStringLiteral("1900")));
    QCOMPARE(rig.clubs().fieldText(QStringLiteral("AnoFundacao")), QStringLiteral("1900"));
    QCOMPARE(rig.clubs().fieldText(QStringLiteral("IdadeClube")), QStringLiteral("124 anos"));
    QCOMPARE(editor.EdtIdade->text(), QStringLiteral("124 anos"));
    QVERIFY(rig.dialogs().shown().isEmpty());

    // The clock, not the stored age, decides.
    rig.fx.clock.setYear(2030);
    QVERIFY(pickYear(editor.ComboAno, QStringLiteral("1930")));
    QCOMPARE(editor.EdtIdade->text(), QStringLiteral("100 anos"));

    rig.click(editor.BtnCancelar);
    QCOMPARE(rig.stored(1, QStringLiteral("IdadeClube")), QStringLiteral("114 anos"));
    QCOMPARE(rig.store.count(QStringLiteral("Clubes")), 1);
    QCOMPARE(editor.EdtIdade->text(), QStringLiteral("114 anos"));
}

void TestIdade::recomputeAfterYearChange() {
    EditorRig rig;
    rig.store.add(1, QStringLiteral("Santos")); // 1910, "114 anos"
    Club later = rig.store.club(2, QStringLiteral("Palmeiras"));
    later.anoFundacao = 1950;
    later.idadeClube = QStringLiteral("74 anos");
    rig.store.insert(later);
    Club odd = rig.store.selecao(3, QStringLiteral("Antiga"), QStringLiteral("Uruguai"));
    odd.anoFundacao = 1700; // not a year the year box lists
    odd.idadeClube = QStringLiteral("324 anos");
    odd.extinto = 1;
    rig.store.insert(odd);
    TFrmClubes& editor = rig.open();

    rig.fx.clock.setYear(2030);
    editor.RecalcularIdadedosClubes1->trigger();
    QCOMPARE(rig.stored(1, QStringLiteral("IdadeClube")), QStringLiteral("120 anos"));
    QCOMPARE(rig.stored(2, QStringLiteral("IdadeClube")), QStringLiteral("80 anos"));
    QCOMPARE(rig.stored(3, QStringLiteral("IdadeClube")), QStringLiteral("330 anos"));
    QCOMPARE(rig.dialogs().messages(), QStringList{"Idades atualizadas com sucesso!"});
    const ScriptedDialogs::Shown& told = rig.dialogs().shown().constLast();
    QCOMPARE(told.caption, QStringLiteral("Velmora"));
    QCOMPARE(told.icon, MsgIcon::Information);
    QCOMPARE(rig.clubs().state(), Table::State::Browse);
    // Nothing but the ages changed.
    QCOMPARE(rig.stored(2, QStringLiteral("AnoFundacao")), QStringLiteral("1950"));
    QCOMPARE(rig.stored(3, QStringLiteral("NomeClube")), QStringLiteral("Antiga"));
}

void TestIdade::recomputeShowsLastRow() {
    EditorRig rig;
    rig.store.add(1, QStringLiteral("Santos"));
    Club last = rig.store.selecao(7, QStringLiteral("Uruguai"), QStringLiteral("Uruguai"));
    last.extinto = 1;
    rig.store.insert(last);
    rig.store.add(4, QStringLiteral("Palmeiras"));
    TFrmClubes& editor = rig.open();
    QCOMPARE(editor.lblCodigo->text(), QStringLiteral("1"));
    QVERIFY(editor.stateGroupVisible());
    rig.fx.clock.setYear(2025);
    editor.RecalcularIdadedosClubes1->trigger();
    QCOMPARE(editor.lblCodigo->text(), QStringLiteral("7"));
    QCOMPARE(editor.EdtNomeClube->text(), QStringLiteral("Uruguai"));
    QCOMPARE(editor.EdtIdade->text(), QStringLiteral("115 anos"));
    QVERIFY(editor.rbSelecao->isChecked());
    QVERIFY(editor.CkbExtinto->isChecked());
    QVERIFY(!editor.stateGroupVisible());
    QVERIFY(rig.hasPicture(editor.ImgLogoClube));
    QVERIFY(rig.hasPicture(editor.ImgBandeira));
}

void TestIdade::recomputeOnEmptyTable() {
    EditorRig rig;
    TFrmClubes& editor = rig.open();
    QVERIFY(!editor.RecalcularIdadedosClubes1->isEnabled());
    editor.RecalcularIdadedosClubes1Click();
    QCOMPARE(rig.dialogs().messages(), QStringList{"Não há clubes cadastrados"});
    const ScriptedDialogs::Shown& shown = rig.dialogs().shown().constLast();
    QCOMPARE(shown.caption, QStringLiteral("Velmora"));
    QCOMPARE(shown.icon, MsgIcon::Warning);
    QCOMPARE(rig.store.count(QStringLiteral("Clubes")), 0);
}

void TestIdade::rowWithoutYear_data() {
    QTest::addColumn<int>("withoutYear");
    QTest::addColumn<QString>("told"); // the line that tells the user
    row("one club", 1, "1 clube sem ano de fundação manteve a idade anterior.");
    row("three clubs", 3, "3 clubes sem ano de fundação mantiveram a idade anterior.");
}

// The user learns that some ages were not renewed, and how many.
void TestIdade::rowWithoutYear() {
    QFETCH(int, withoutYear);
    QFETCH(QString, told);
    EditorRig rig;
    rig.store.add(1, QStringLiteral("Santos"));
    for (int i = 0; i < withoutYear; ++i) {
        Club unknown = rig.store.club(2 + i, QStringLiteral("Sem Ano %1").arg(i));
        unknown.anoFundacao.reset();
        unknown.idadeClube = QStringLiteral("?");
        rig.store.insert(unknown);
    }
    rig.store.add(10, QStringLiteral("Palmeiras"));
    TFrmClubes& editor = rig.open();
    rig.fx.clock.setYear(2026);
    editor.RecalcularIdadedosClubes1->trigger();
    QCOMPARE(rig.stored(1, QStringLiteral("IdadeClube")), QStringLiteral("116 anos"));
    QCOMPARE(rig.stored(2, QStringLiteral("IdadeClube")), QStringLiteral("?"));
    QCOMPARE(rig.stored(10, QStringLiteral("IdadeClube")), QStringLiteral("116 anos"));
    QCOMPARE(rig.dialogs().messages(), QStringList{"Idades atualizadas com sucesso!\n" + told});
    QCOMPARE(rig.dialogs().shown().constLast().icon, MsgIcon::Information);
}

void TestIdade::ageTooLongWritesNothing() {
    EditorRig rig;
    rig.store.add(1, QStringLiteral("Santos"));
    Club absurd = rig.store.club(2, QStringLiteral("Absurdo"));
    absurd.anoFundacao = -99999; // "102023 anos" does not fit eight characters
    rig.store.insert(absurd);
    TFrmClubes& editor = rig.open();
    rig.fx.clock.setYear(2030);
    editor.RecalcularIdadedosClubes1->trigger();
    QCOMPARE(rig.dialogs().shown().size(), 1);
    const ScriptedDialogs::Shown& report = rig.dialogs().shown().constLast();
    QCOMPARE(report.caption, QStringLiteral("VELMORA v1.0"));
    QVERIFY2(report.text.contains(QStringLiteral("Absurdo")), qPrintable(report.text));
    // One transaction: the club before it keeps its old age too.
    QCOMPARE(rig.stored(1, QStringLiteral("IdadeClube")), QStringLiteral("114 anos"));
    QCOMPARE(rig.stored(2, QStringLiteral("IdadeClube")), absurd.idadeClube);
    QCOMPARE(rig.clubs().state(), Table::State::Browse);
}

void TestIdade::storeAgesCountsRows() {
    test::TestStore store;
    store.add(1, QStringLiteral("Santos"));
    Club unknown = store.club(2, QStringLiteral("Sem Ano"));
    unknown.anoFundacao.reset();
    store.insert(unknown);
    store.add(3, QStringLiteral("Palmeiras"));
    const QVariant cache = store.database().value(QStringLiteral("PRAGMA cache_size"));
    QCOMPARE(storeAges(store.database(), 2000).value_or(-1), 2);
    QCOMPARE(store.database().value(QStringLiteral("PRAGMA cache_size")), cache);
    QCOMPARE(store.column(QStringLiteral("select IdadeClube from Clubes order by Codigo")),
             (QStringList{"90 anos", unknown.idadeClube, "90 anos"}));
}

// The recount writes the ages with the triggers off: right only while no trigger but
// the year's own fires on an age written. A trigger added later that does (a count by
// age, say) must be on this list, or the recount must keep triggers on.
void TestIdade::onlyTheYearsTriggersWatchTheAge() {
    test::TestStore store;
    const QRegularExpression update(
        QStringLiteral(R"(\bUPDATE\s+(?:OF\s+(.*?)\s+)?ON\s+"?Clubes"?\b)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QStringList triggers = store.column(
        QStringLiteral("select name || char(1) || sql from sqlite_master where type = 'trigger'"));
    QVERIFY(!triggers.isEmpty());
    int watching = 0;
    for (const QString& trigger : triggers) {
        const QString name = trigger.section(QChar(1), 0, 0), sql = trigger.section(QChar(1), 1);
        const QRegularExpressionMatch m = update.match(sql);
        if (!m.hasMatch())
            continue;
        QStringList columns = m.captured(1).remove(QLatin1Char('"')).split(QLatin1Char(','));
        for (QString& column : columns)
            column = column.trimmed();
        const bool firesOnAge = m.captured(1).isEmpty() ||
                                columns.contains(QStringLiteral("IdadeClube"), Qt::CaseInsensitive);
        if (firesOnAge) {
            QVERIFY2(AgesYear::triggerNames().contains(name), qPrintable(sql));
            ++watching;
        }
    }
    QVERIFY(watching > 0); // the year's own are found by the same reading
}

// A second press in the same year writes only the age that is not right (a stale one,
// or none at all); a new year rewrites them all.
void TestIdade::storeAgesWritesOnlyWrongRows_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("written");
    QTest::addColumn<bool>("withoutText");
    QTest::newRow("same year, stale age") << 2000 << 1 << false;
    QTest::newRow("same year, no age text") << 2000 << 1 << true;
    QTest::newRow("new year") << 2001 << 12 << false;
}

void TestIdade::storeAgesWritesOnlyWrongRows() {
    QFETCH(int, year);
    QFETCH(int, written);
    QFETCH(bool, withoutText);
    test::TestStore store;
    for (int code = 1; code <= 12; ++code) {
        Club club = store.club(code, QStringLiteral("Clube %1").arg(code));
        club.anoFundacao = 1890 + code % 3;
        club.idadeClube = ageText(2000, *club.anoFundacao);
        if (code == 5)
            club.idadeClube = QStringLiteral("3 anos");
        store.insert(club);
    }
    if (withoutText)
        store.exec(QStringLiteral("update Clubes set IdadeClube = null where Codigo = 5"));
    Database& db = store.database();
    const qint64 before = db.changeStamp().second;
    QCOMPARE(storeAges(db, year).value_or(-1), 12);
    // Beside the clubs, the year the ages are now right for.
    QCOMPARE(db.changeStamp().second - before, qint64(written) + 1);
    QCOMPARE(store.value(QStringLiteral("select count(*) from Clubes where IdadeClube = (%1 - "
                                        "AnoFundacao) || ' anos'")
                             .arg(year)),
             QStringLiteral("12"));
}

// In steps of any size, the store's recomputation leaves the same rows as one row at a
// time, and reports its progress in order.
void TestIdade::storeAgesSameAsRowByRow_data() {
    QTest::addColumn<int>("rowsPerStep");
    QTest::addColumn<int>("year");
    QTest::newRow("many steps, a new year") << 7 << 2031;
    QTest::newRow("one step, the year most ages hold") << 100000 << 2024;
    QTest::newRow("steps of one, an older year") << 1 << 1999;
}

void TestIdade::storeAgesSameAsRowByRow() {
    QFETCH(int, rowsPerStep);
    QFETCH(int, year);
    test::TestStore store;
    fillRandom(store, 400, quint32(rowsPerStep + year));
    const QStringList expected = recomputedOneByOne(store, year);
    QList<int> told;
    const std::optional<int> withYear = storeAges(
        store.database(), year,
        [&](int percent) {
            told << percent;
            return true;
        },
        rowsPerStep);
    QCOMPARE(everyRow(store), expected);
    QCOMPARE(
        withYear.value_or(-1),
        store.value(QStringLiteral("select count(*) from Clubes where AnoFundacao is not null"))
            .toInt());
    // One report before each step and one before the commit, never going back.
    QCOMPARE(told.size(), (400 + rowsPerStep - 1) / rowsPerStep + 1);
    QVERIFY(std::is_sorted(told.begin(), told.end()));
    QVERIFY(told.constLast() > told.constFirst());
    // Pressed again in the same year, nothing is written.
    const qint64 before = store.database().changeStamp().second;
    QVERIFY(storeAges(store.database(), year, {}, rowsPerStep).has_value());
    QCOMPARE(store.database().changeStamp().second, before);
}

void TestIdade::storeAgesStoppedWritesNothing_data() {
    QTest::addColumn<int>("stopAt"); // the report that asks to stop, 1 for the first
    QTest::newRow("before the first step") << 1;
    QTest::newRow("half-way") << 4;
    QTest::newRow("every row written, before the commit") << 7;
}

void TestIdade::storeAgesStoppedWritesNothing() {
    QFETCH(int, stopAt);
    test::TestStore store;
    fillRandom(store, 120, 26);
    const QStringList before = everyRow(store);
    int reports = 0;
    const std::optional<int> result = storeAges(
        store.database(), 2040, [&](int) { return ++reports < stopAt; }, 20);
    QVERIFY(!result.has_value());
    QCOMPARE(reports, stopAt);
    QCOMPARE(everyRow(store), before);
    // The store is free for the next run, which completes.
    QVERIFY(storeAges(store.database(), 2040, {}, 20).has_value());
    QCOMPARE(everyRow(store), recomputedOneByOne(store, 2040));
}

// Run on a thread and connection of its own, the recount leaves the same rows, asks
// the calling thread at each report (stopping there rolls back everything), and hands
// its failures over to that thread with nothing written.
void TestIdade::asideLikeHere_data() {
    QTest::addColumn<int>("stopAt"); // the report that asks to stop; 0: none does
    QTest::addColumn<bool>("tooLong");
    QTest::newRow("to the end") << 0 << false;
    QTest::newRow("stopped at the first report") << 1 << false;
    QTest::newRow("stopped half-way") << 3 << false;
    QTest::newRow("stopped before the commit") << 6 << false;
    QTest::newRow("an age that does not fit") << 0 << true;
}

void TestIdade::asideLikeHere() {
    QFETCH(int, stopAt);
    QFETCH(bool, tooLong);
    test::TestStore store;
    fillRandom(store, 120, 11);
    if (tooLong)
        store.exec(QStringLiteral("update Clubes set AnoFundacao = -99999 where Codigo = "
                                  "(select max(Codigo) from Clubes)"));
    const QStringList before = everyRow(store);
    const QStringList expected = recomputedOneByOne(store, 2045);
    int reports = 0;
    bool elsewhere = false;
    const auto progress = [&](int) {
        elsewhere = elsewhere || QThread::currentThread() != thread();
        return ++reports != stopAt;
    };
    std::optional<int> result;
    QString failure;
    try {
        result = storeAgesAside(store.dir(), 2045, progress, {}, 25);
    } catch (const StoreError& e) {
        failure = e.text();
    }
    QVERIFY(!elsewhere);
    QCOMPARE(!failure.isEmpty(), tooLong);
    QCOMPARE(result.has_value(), stopAt == 0 && !tooLong);
    QCOMPARE(everyRow(store), result ? expected : before);
    if (stopAt > 0)
        QCOMPARE(reports, stopAt);
    // The same count of reports as here, and the same clubs with a year.
    if (result) {
        QCOMPARE(reports, (120 + 25 - 1) / 25 + 1);
        QCOMPARE(*result, storeAges(store.database(), 2045).value_or(-1));
    }
}

// After a recount, whatever writes a club with an age other than that year's (or moves
// the clock) makes the next press recount; a write that leaves every age right does
// not. `change` runs between the two presses, `year` is the second press's.
void TestIdade::sameYearAfterWrites_data() {
    QTest::addColumn<QStringList>("change");
    QTest::addColumn<int>("year");
    QTest::addColumn<bool>("recounted");
    const QString stale =
        QStringLiteral("update Clubes set IdadeClube = '3 anos' where Codigo = %1");
    const QString moved = QStringLiteral("update Clubes set AnoFundacao = AnoFundacao - 7 where "
                                         "Codigo = %1");
    const QString added = QStringLiteral("insert into Clubes (Codigo, NomeClube, AnoFundacao, "
                                         "IdadeClube, Identificador, Extinto) values (%1, 'Nova', "
                                         "1950, '%2', 0, 0)");
    QTest::newRow("an age written by hand") << QStringList{stale} << 2031 << true;
    QTest::newRow("a year changed, its age kept") << QStringList{moved} << 2031 << true;
    QTest::newRow("a club added with an older age")
        << QStringList{added.arg(QStringLiteral("%1"), ageText(2030, 1950))} << 2031 << true;
    QTest::newRow("a club added with this year's age")
        << QStringList{added.arg(QStringLiteral("%1"), ageText(2031, 1950))} << 2031 << false;
    QTest::newRow("a year removed") << QStringList{QStringLiteral("update Clubes set AnoFundacao = "
                                                                  "null where Codigo = %1")}
                                    << 2031 << false;
    QTest::newRow("the clock set back") << QStringList{} << 2030 << true;
    QStringList unwatched;
    for (const QString& trigger : AgesYear::triggerNames())
        unwatched << QStringLiteral("drop trigger %1").arg(trigger);
    QTest::newRow("written while the triggers were gone") << (unwatched << stale) << 2031 << true;
    QTest::newRow("the year's table gone")
        << QStringList{QStringLiteral("drop table IdadesCalculadas")} << 2031 << true;
}

void TestIdade::sameYearAfterWrites() {
    QFETCH(QStringList, change);
    QFETCH(int, year);
    QFETCH(bool, recounted);
    test::TestStore store;
    fillRandom(store, 150, 7);
    Database& db = store.database();
    QVERIFY(storeAges(db, 2031, {}, 40).has_value());
    const QString code =
        store.value(QStringLiteral("select max(Codigo) from Clubes where AnoFundacao is not null"));
    for (const QString& statement : change)
        store.exec(QString(statement).replace(QLatin1String("%1"),
                                              statement.startsWith(QLatin1String("insert"))
                                                  ? QString::number(code.toInt() + 1)
                                                  : code));
    const QStringList expected = recomputedOneByOne(store, year);
    const qint64 before = db.changeStamp().second;
    QList<int> told;
    QVERIFY(storeAges(
                db, year,
                [&](int percent) {
                    told << percent;
                    return true;
                },
                40)
                .has_value());
    QCOMPARE(everyRow(store), expected);
    // Every age already right: no club is read, nothing is written, no progress shown.
    QCOMPARE(db.changeStamp().second != before, recounted);
    QCOMPARE(!told.isEmpty(), recounted);
    // Now right for that year, a further press is quick again.
    const qint64 after = db.changeStamp().second;
    QVERIFY(storeAges(db, year).has_value());
    QCOMPARE(db.changeStamp().second, after);
}

// The editor saves a club with the age its own clock gives; a press in the year the
// ages were made for still finds it.
void TestIdade::savedInAnotherYearIsRecounted() {
    EditorRig rig;
    rig.store.add(1, QStringLiteral("Santos"));
    rig.store.add(2, QStringLiteral("Palmeiras"));
    TFrmClubes& editor = rig.open();
    rig.fx.clock.setYear(2030);
    editor.RecalcularIdadedosClubes1->trigger();
    rig.fx.clock.setYear(2033);
    editor.Alterar1->trigger();
    QVERIFY(pickYear(editor.ComboAno, QStringLiteral("1930")));
    rig.click(editor.BtnGravar);
    QCOMPARE(rig.stored(2, QStringLiteral("IdadeClube")), QStringLiteral("103 anos"));
    rig.fx.clock.setYear(2030);
    editor.RecalcularIdadedosClubes1->trigger();
    QCOMPARE(rig.stored(2, QStringLiteral("IdadeClube")), QStringLiteral("100 anos"));
    QCOMPARE(rig.stored(1, QStringLiteral("IdadeClube")), QStringLiteral("120 anos"));
}

void TestIdade::recomputeShowsProgressInEditor() {
    EditorRig rig;
    rig.store.add(1, QStringLiteral("Santos"));
    rig.store.add(2, QStringLiteral("Palmeiras"));
    TFrmClubes& editor = rig.open();
    rig.fx.clock.setYear(2031);
    // While the panel is up, the rest of the program takes no input; a screen reader
    // hears what its bar measures.
    QString barSpoken;
    rig.dialogs().onProgressStep([&](int step) {
        if (step == 1) {
            if (auto* panel = editor.findChild<QFrame*>(QStringLiteral("PainelProgresso")))
                if (auto* bar = panel->findChild<QProgressBar*>())
                    barSpoken = bar->accessibleName();
            QTest::mouseClick(editor.BtnLocalizar, Qt::LeftButton);
            QTest::keyClick(&editor, Qt::Key_N, Qt::ControlModifier);
        }
    });
    editor.RecalcularIdadedosClubes1->trigger();
    rig.dialogs().onProgressStep({});
    QCOMPARE(rig.clubs().state(), Table::State::Browse);
    const QVector<ScriptedDialogs::Shown> shown = rig.dialogs().shown();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].kind, QStringLiteral("progress"));
    QCOMPARE(shown[0].caption, editor.objectName());
    QCOMPARE(shown[0].text, QStringLiteral("Recalculando idades…"));
    QCOMPARE(barSpoken, shown[0].text);
    QCOMPARE(shown[1].text, QStringLiteral("Idades atualizadas com sucesso!"));
    QVERIFY(!rig.dialogs().progressSteps().isEmpty());
    for (const ScriptedDialogs::ProgressStep& step : rig.dialogs().progressSteps())
        QVERIFY(step.panelShown);
    // The panel is gone once the work is done.
    QVERIFY(!editor.findChild<QFrame*>(QStringLiteral("PainelProgresso")));
    QCOMPARE(rig.stored(2, QStringLiteral("IdadeClube")), QStringLiteral("121 anos"));
}

// "Cancelar" on the panel, even after the last row was rewritten, leaves every age
// and the editor's row as they were; a later run completes.
void TestIdade::recomputeCancelledChangesNothing() {
    EditorRig rig;
    rig.store.add(1, QStringLiteral("Santos"));
    Club later = rig.store.club(2, QStringLiteral("Palmeiras"));
    later.anoFundacao = 1950;
    later.idadeClube = QStringLiteral("74 anos");
    rig.store.insert(later);
    TFrmClubes& editor = rig.open();
    rig.fx.clock.setYear(2030);
    rig.dialogs().cancelProgressAt(2); // the report after the rows, before the commit
    editor.RecalcularIdadedosClubes1->trigger();
    QCOMPARE(rig.dialogs().progressSteps().size(), 2);
    QCOMPARE(rig.dialogs().messages(),
             QStringList{"Recálculo cancelado: nenhuma idade foi alterada."});
    QCOMPARE(rig.stored(1, QStringLiteral("IdadeClube")), QStringLiteral("114 anos"));
    QCOMPARE(rig.stored(2, QStringLiteral("IdadeClube")), QStringLiteral("74 anos"));
    QCOMPARE(editor.lblCodigo->text(), QStringLiteral("1"));
    QCOMPARE(editor.EdtIdade->text(), QStringLiteral("114 anos"));
    QVERIFY(!editor.findChild<QFrame*>(QStringLiteral("PainelProgresso")));

    rig.dialogs().clearLog();
    rig.dialogs().cancelProgressAt(0);
    editor.RecalcularIdadedosClubes1->trigger();
    QCOMPARE(rig.dialogs().messages(), QStringList{"Idades atualizadas com sucesso!"});
    QCOMPARE(rig.stored(2, QStringLiteral("IdadeClube")), QStringLiteral("80 anos"));
    QCOMPARE(editor.lblCodigo->text(), QStringLiteral("2"));
}

QTEST_MAIN(TestIdade)
#include "test_idade.moc"
