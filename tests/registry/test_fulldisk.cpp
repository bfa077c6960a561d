// A disk that fills up while the collector works: every place that writes (a badge
// copy, a row save, the age recount, the city registry) names the full disk in
// Portuguese, leaves nothing half-written, and works again once there is room.
#include "registry/CadCidade.h"
#include "tests/support/EditorRig.h"
#include "tests/support/FileSystemLimits.h"
#include "tests/support/Rows.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>

using namespace velmora;
using velmora::test::EditorRig;
using velmora::test::FullDisk;
using velmora::test::row;

namespace {

// Everything the store and the badge folder hold, to tell that nothing changed.
QString snapshot(EditorRig& rig) {
    return rig.store.value(QStringLiteral(
               "select group_concat(Codigo || '/' || NomeClube || '/' || ifnull(Estadio, '') || "
               "'/' || ifnull(IdadeClube, '') || '/' || EscudoClube, '|') from Clubes")) +
           QLatin1Char('#') + QString::number(rig.store.count(QStringLiteral("Cidades"))) +
           QLatin1Char('#') + rig.badgeFiles().join(QLatin1Char(','));
}

} // namespace

class TestFullDisk final : public QObject {
    Q_OBJECT
private slots:
    void fullDiskIsNamedAndNothingIsHalfWritten_data();
    void fullDiskIsNamedAndNothingIsHalfWritten();
};

void TestFullDisk::fullDiskIsNamedAndNothingIsHalfWritten_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("partWay"); // room for half the badge, else none at all
    row("new club, badge copy runs out of room", "new club", true);
    row("changed club, row save finds no room", "changed club", false);
    row("age recount", "recount", false);
    row("city registry", "city", false);
}

void TestFullDisk::fullDiskIsNamedAndNothingIsHalfWritten() {
    QFETCH(QString, action);
    QFETCH(bool, partWay);
    EditorRig rig;
    rig.store.add(1, QStringLiteral("Santos"));
    TFrmClubes& editor = rig.open();
    TFrmCadastroCidade& cities = *rig.app().FrmCadastroCidade;
    const QString badge = rig.store.makeBadge(QStringLiteral("grande.jpg"));

    // What the user does up to the moment the disk is written.
    if (action == QLatin1String("new club")) {
        rig.fillNew(QStringLiteral("Boca"), QStringLiteral("grande.jpg"));
    } else if (action == QLatin1String("changed club")) {
        editor.Alterar1->trigger();
        editor.EdtEstadio->setText(QStringLiteral("Vila Belmiro"));
    } else if (action == QLatin1String("recount")) {
        rig.fx.clock.setYear(2040);
    } else {
        editor.Cadastrarcidade1->trigger();
        cities.EdtCidade->setText(QStringLiteral("Sorocaba"));
        cities.ComboPais->setCurrentIndex(cities.ComboPais->findText(QStringLiteral("Argentina")));
    }
    // The step that writes, run once on a full disk and once with room again.
    const auto write = [&] {
        if (action == QLatin1String("recount")) {
            editor.RecalcularIdadedosClubes1->trigger();
        } else if (action == QLatin1String("city")) {
            rig.dialogs().queueAnswer(MsgResult::Yes);
            rig.click(cities.BtnGravar);
        } else {
            rig.click(editor.BtnGravar);
        }
    };
    const QString before = snapshot(rig);
    rig.dialogs().clearLog();
    {
        FullDisk full(partWay ? rlim_t(QFileInfo(badge).size() / 2) : 0);
        QVERIFY(full.ok());
        write();
    }
    const QStringList told = rig.dialogs().messages();
    QVERIFY2(!told.isEmpty() && told.constLast().contains(QStringLiteral("O disco está cheio")) &&
                 told.constLast().contains(QStringLiteral("Libere espaço")),
             qPrintable(told.join(QStringLiteral("\n---\n"))));
    QVERIFY(!told.constLast().contains(QStringLiteral("Erro desconhecido")));
    QCOMPARE(snapshot(rig), before); // no row, no age, no city, no badge or part of one

    rig.dialogs().clearLog();
    write();
    QVERIFY2(!rig.dialogs().messages().join(QString()).contains(QStringLiteral("disco")),
             qPrintable(rig.dialogs().messages().join(QStringLiteral("\n"))));
    QVERIFY(snapshot(rig) != before);
    QCOMPARE(rig.clubs().state(), Table::State::Browse);
    for (const QString& file : rig.store.column(QStringLiteral("select EscudoClube from Clubes")))
        QVERIFY2(QFileInfo(file).isFile() && QFileInfo(file).size() > 0, qPrintable(file));
}

QTEST_MAIN(TestFullDisk)
#include "test_fulldisk.moc"
