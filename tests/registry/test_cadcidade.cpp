// The city registry: layout, opening, the country and state lists with their flags,
// storing with its checks and confirmation, leaving, and the cities the editor's
// city dialog then offers.
#include "platform/Fonts.h"
#include "registry/CadCidade.h"
#include "registry/Cidade.h"
#include "registry/Paises.h"
#include "registry/UF.h"
#include "tests/support/EditorRig.h"
#include "tests/support/Rows.h"

#include <QComboBox>
#include <QLineEdit>

using namespace velmora;
using velmora::test::EditorRig;
using velmora::test::row;

namespace {

const QString caption = QStringLiteral("CADASTRO DE CIDADES");

QStringList items(const QComboBox* list) {
    QStringList all;
    for (int i = 0; i < list->count(); ++i)
        all << list->itemText(i);
    return all;
}

bool choose(QComboBox* list, const QString& item) {
    const int index = list->findText(item);
    if (index < 0)
        return false;
    list->setCurrentIndex(index);
    return true;
}

bool shows(VelmoraApp& app, const QLabel* box, const QString& path) {
    if (box->pixmap().isNull())
        return false;
    return box->pixmap().toImage().convertToFormat(QImage::Format_RGB32) ==
           app.pictures.load(path, box->size()).convertToFormat(QImage::Format_RGB32);
}

// The registry opened from the editor's menu, as a user reaches it.
struct RegistryRig : EditorRig {
    TFrmCadastroCidade& registry() { return *app().FrmCadastroCidade; }
    TFrmCadastroCidade& openRegistry() {
        if (!fx.started())
            open();
        editor().Cadastrarcidade1->trigger();
        return registry();
    }
    // Name, country and (for "Brasil") state, as typed and picked.
    void fill(const QString& cidade, const QString& pais, const QString& uf = {}) {
        registry().EdtCidade->setText(cidade);
        QVERIFY(choose(registry().ComboPais, pais));
        if (!uf.isEmpty())
            QVERIFY(choose(registry().ComboUF, uf));
    }
    int cities() { return store.count(QStringLiteral("Cidades")); }
    QStringList lastCity() {
        return {store.value(QStringLiteral("select \"País\" from Cidades order by rowid desc")),
                store.value(QStringLiteral("select Cidade from Cidades order by rowid desc")),
                store.value(QStringLiteral("select Estado from Cidades order by rowid desc"))};
    }
    // The cities the editor's city dialog offers a new club of pais (and uf).
    QStringList offered(const QString& pais, const QString& uf = {}) {
        TFrmClubes& ed = editor();
        ed.Novo1->trigger();
        clubs().setFieldText(QStringLiteral("PaisClube"), pais);
        clubs().setFieldText(QStringLiteral("UFClube"), uf);
        ed.BtnSelecionarCidadeClick();
        const QStringList list = items(app().FrmCidade->ComboCidade);
        click(ed.BtnCancelar);
        return list;
    }
};

} // namespace

class TestCadCidade final : public QObject {
    Q_OBJECT
private slots:
    void layout_data();
    void layout();
    void opening();
    void countryList();
    void brasilShowsStates();
    void stores_data();
    void stores();
    void refusals_data();
    void refusals();
    void answerNoKeepsEverything();
    void cancelStoresNothing();
    void reopeningStartsEmpty();
    void failedPostKeepsRow();
    void newCityOffered();
};

void TestCadCidade::layout_data() {
    QTest::addColumn<QRect>("rect");
    QTest::newRow("EdtCidade") << QRect(32, 46, 353, 26);
    QTest::newRow("ComboPais") << QRect(112, 133, 305, 22);
    QTest::newRow("ImgBandPais") << QRect(32, 122, 73, 46);
    QTest::newRow("ComboUF") << QRect(112, 225, 305, 22);
    QTest::newRow("ImgBandUF") << QRect(32, 214, 73, 46);
    QTest::newRow("BtnGravar") << QRect(415, 45, 33, 25);
    QTest::newRow("BtnCancelar") << QRect(447, 45, 33, 25);
    QTest::newRow("Image1") << QRect(0, 0, 519, 282);
}

void TestCadCidade::layout() {
    QFETCH(QRect, rect);
    RegistryRig rig;
    rig.fx.start();
    TFrmCadastroCidade& registry = rig.registry();
    QCOMPARE(registry.windowTitle(), caption);
    QCOMPARE(registry.client()->size(), QSize(519, 282));
    auto* control = registry.findChild<QWidget*>(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(control);
    QCOMPARE(control->geometry(), rect);
    if (auto* list = qobject_cast<QComboBox*>(control))
        QVERIFY(!list->isEditable());
    if (auto* picture = qobject_cast<QLabel*>(control))
        QVERIFY(picture->hasScaledContents());
    QVERIFY(!registry.Image1->pixmap().isNull());
    QCOMPARE(registry.BtnGravar->toolTip(), QStringLiteral("Gravar"));
    QCOMPARE(registry.BtnCancelar->toolTip(), QStringLiteral("Cancelar"));
    QCOMPARE(registry.EdtCidade->font().pixelSize(), 15);
    QVERIFY(registry.EdtCidade->font().bold());
    QCOMPARE(registry.EdtCidade->font().family(),
             pixelFont(QStringLiteral("Corbel"), 15, true).family());
    QCOMPARE(registry.EdtCidade->maxLength(), 40);
    // Created hidden, with the state part hidden and the countries already listed.
    QVERIFY(!registry.isVisible());
    QVERIFY(registry.ComboUF->isHidden());
    QVERIFY(registry.ImgBandUF->isHidden());
    QCOMPARE(registry.ComboPais->count(), 6);
}

void TestCadCidade::opening() {
    RegistryRig rig;
    TFrmCadastroCidade& registry = rig.openRegistry();
    QVERIFY(registry.isVisible());
    QVERIFY(rig.editor().isVisible());
    QCOMPARE(rig.app().dm().TblCidades.state(), Table::State::Insert);
    QVERIFY(registry.EdtCidade->text().isEmpty());
    QVERIFY(registry.ComboUF->isHidden());
    QVERIFY(registry.ImgBandUF->isHidden());
    QVERIFY(registry.ImgBandPais->isHidden());
    QCOMPARE(registry.ComboPais->currentIndex(), -1);
    QVERIFY(rig.dialogs().shown().isEmpty());
    // The menu item is a browse-mode command: not while a club is pending.
    rig.click(registry.BtnCancelar);
    rig.editor().Novo1->trigger();
    QVERIFY(!rig.editor().Cadastrarcidade1->isEnabled());
    rig.editor().Cadastrarcidade1Click();
    QVERIFY(!registry.isVisible());
}

void TestCadCidade::countryList() {
    RegistryRig rig;
    TFrmCadastroCidade& registry = rig.openRegistry();
    QCOMPARE(items(registry.ComboPais),
             (QStringList{"Alemanha", "Argentina", "Brasil", "Inglaterra", "Itália", "Uruguai"}));
    // Read again at each opening.
    rig.click(registry.BtnCancelar);
    rig.store.exec(QStringLiteral(
        "insert into Paises (CodPais, NomePais, BandeiraPais) values ('AUT', 'Áustria', '')"));
    rig.openRegistry();
    // In the order a Brazilian reader expects, not after "Uruguai".
    QCOMPARE(items(registry.ComboPais), (QStringList{"Alemanha", "Argentina", "Áustria", "Brasil",
                                                     "Inglaterra", "Itália", "Uruguai"}));
}

void TestCadCidade::brasilShowsStates() {
    RegistryRig rig;
    TFrmCadastroCidade& registry = rig.openRegistry();
    QVERIFY(choose(registry.ComboPais, QStringLiteral("Brasil")));
    QVERIFY(!registry.ComboUF->isHidden());
    QVERIFY(!registry.ImgBandUF->isHidden());
    QVERIFY(!registry.ImgBandPais->isHidden());
    QVERIFY(
        shows(rig.app(), registry.ImgBandPais, rig.store.countryFlag(QStringLiteral("Brasil"))));
    // Ordered by name, not by code, letter case aside; each item the code, " - ", the
    // name; nothing picked.
    QCOMPARE(items(registry.ComboUF), (QStringList{"MG - Minas Gerais", "RJ - Rio de Janeiro",
                                                   "RS - Rio Grande do Sul", "SP - São Paulo"}));
    QCOMPARE(registry.ComboUF->currentIndex(), -1);
    QVERIFY(choose(registry.ComboUF, QStringLiteral("RJ - Rio de Janeiro")));
    QVERIFY(shows(rig.app(), registry.ImgBandUF, rig.store.stateFlag(QStringLiteral("RJ"))));

    // Another country hides the state part and drops the state flag.
    QVERIFY(choose(registry.ComboPais, QStringLiteral("Uruguai")));
    QVERIFY(registry.ComboUF->isHidden());
    QVERIFY(registry.ImgBandUF->isHidden());
    QVERIFY(registry.ImgBandUF->pixmap().isNull());
    QVERIFY(
        shows(rig.app(), registry.ImgBandPais, rig.store.countryFlag(QStringLiteral("Uruguai"))));
    QVERIFY(rig.dialogs().shown().isEmpty());
}

void TestCadCidade::stores_data() {
    QTest::addColumn<QStringList>("steps"); // country, state, country, state...
    QTest::addColumn<QStringList>("row");   // País, Cidade, Estado
    row("Brasil, SP", QStringList{"Brasil", "SP - São Paulo"},
        QStringList{"Brasil", "Sorocaba", "SP"});
    row("another country", QStringList{"Argentina", ""}, QStringList{"Argentina", "Sorocaba", ""});
    row("state picked, then another country",
        QStringList{"Brasil", "MG - Minas Gerais", "Itália", ""},
        QStringList{"Itália", "Sorocaba", ""});
    row("another country, then Brasil",
        QStringList{"Argentina", "", "Brasil", "RS - Rio Grande do Sul"},
        QStringList{"Brasil", "Sorocaba", "RS"});
}

void TestCadCidade::stores() {
    QFETCH(QStringList, steps);
    QFETCH(QStringList, row);
    RegistryRig rig;
    TFrmCadastroCidade& registry = rig.openRegistry();
    const int before = rig.cities();
    registry.EdtCidade->setText(QStringLiteral("Sorocaba"));
    for (int i = 0; i < steps.size(); i += 2) {
        QVERIFY(choose(registry.ComboPais, steps[i]));
        if (!steps[i + 1].isEmpty())
            QVERIFY(choose(registry.ComboUF, steps[i + 1]));
    }
    rig.dialogs().queueAnswer(MsgResult::Yes);
    rig.click(registry.BtnGravar);
    QCOMPARE(rig.dialogs().messages(), QStringList{"Confirma cadastro?"});
    const ScriptedDialogs::Shown& asked = rig.dialogs().shown().constFirst();
    QCOMPARE(asked.caption, caption);
    QCOMPARE(asked.icon, MsgIcon::Question);
    QCOMPARE(asked.buttons, MsgButtons::YesNo);
    QCOMPARE(rig.cities(), before + 1);
    QCOMPARE(rig.lastCity(), row);
    QVERIFY(!registry.isVisible());
    QCOMPARE(rig.app().dm().TblCidades.state(), Table::State::Browse);
}

void TestCadCidade::refusals_data() {
    QTest::addColumn<QString>("cidade");
    QTest::addColumn<QString>("pais");
    QTest::addColumn<QString>("uf");
    QTest::addColumn<QString>("message");
    row("no name", "", "Argentina", "", "É necessário informar o nome da Cidade.");
    row("blank name", "   ", "Brasil", "SP - São Paulo", "É necessário informar o nome da Cidade.");
    row("no country", "Rosario", "", "", "É necessário escolher um País.");
    row("Brasil without state", "Sorocaba", "Brasil", "", "É necessário escolher um Estado.");
}

void TestCadCidade::refusals() {
    QFETCH(QString, cidade);
    QFETCH(QString, pais);
    QFETCH(QString, uf);
    QFETCH(QString, message);
    RegistryRig rig;
    TFrmCadastroCidade& registry = rig.openRegistry();
    const int before = rig.cities();
    registry.EdtCidade->setText(cidade);
    if (!pais.isEmpty())
        QVERIFY(choose(registry.ComboPais, pais));
    if (!uf.isEmpty())
        QVERIFY(choose(registry.ComboUF, uf));
    rig.dialogs().queueAnswer(MsgResult::Yes); // were it asked, the row would be stored
    rig.click(registry.BtnGravar);
    QCOMPARE(rig.dialogs().messages(), QStringList{message});
    const ScriptedDialogs::Shown& shown = rig.dialogs().shown().constFirst();
    QCOMPARE(shown.caption, caption);
    QCOMPARE(shown.icon, MsgIcon::Warning);
    QCOMPARE(rig.cities(), before);
    QVERIFY(registry.isVisible());
    QCOMPARE(registry.EdtCidade->text(), cidade);
    QCOMPARE(registry.ComboPais->currentText(), pais);
    QCOMPARE(registry.ComboUF->currentText(), uf);
    QCOMPARE(rig.app().dm().TblCidades.state(), Table::State::Insert);
}

void TestCadCidade::answerNoKeepsEverything() {
    RegistryRig rig;
    TFrmCadastroCidade& registry = rig.openRegistry();
    const int before = rig.cities();
    rig.fill(QStringLiteral("Niterói"), QStringLiteral("Brasil"),
             QStringLiteral("RJ - Rio de Janeiro"));
    rig.dialogs().queueAnswer(MsgResult::No);
    rig.click(registry.BtnGravar);
    QCOMPARE(rig.dialogs().messages(), QStringList{"Confirma cadastro?"});
    QVERIFY(registry.isVisible());
    QCOMPARE(rig.cities(), before);
    QCOMPARE(registry.EdtCidade->text(), QStringLiteral("Niterói"));
    QCOMPARE(registry.ComboPais->currentText(), QStringLiteral("Brasil"));
    QCOMPARE(registry.ComboUF->currentText(), QStringLiteral("RJ - Rio de Janeiro"));
    QVERIFY(!registry.ComboUF->isHidden());

    rig.dialogs().queueAnswer(MsgResult::Yes);
    rig.click(registry.BtnGravar);
    QCOMPARE(rig.lastCity(), (QStringList{"Brasil", "Niterói", "RJ"}));
}

void TestCadCidade::cancelStoresNothing() {
    RegistryRig rig;
    TFrmCadastroCidade& registry = rig.openRegistry();
    const int before = rig.cities();
    rig.fill(QStringLiteral("Rosario"), QStringLiteral("Argentina"));
    rig.click(registry.BtnCancelar);
    QVERIFY(!registry.isVisible());
    QCOMPARE(rig.cities(), before);
    QCOMPARE(rig.app().dm().TblCidades.state(), Table::State::Browse);
    QVERIFY(rig.dialogs().shown().isEmpty());
}

void TestCadCidade::reopeningStartsEmpty() {
    RegistryRig rig;
    TFrmCadastroCidade& registry = rig.openRegistry();
    rig.fill(QStringLiteral("Santos"), QStringLiteral("Brasil"), QStringLiteral("SP - São Paulo"));
    // Opened again while open: only brought to the front, nothing typed is lost.
    rig.openRegistry();
    QCOMPARE(registry.EdtCidade->text(), QStringLiteral("Santos"));
    rig.click(registry.BtnCancelar);
    rig.openRegistry();
    QVERIFY(registry.EdtCidade->text().isEmpty());
    QCOMPARE(registry.ComboPais->currentIndex(), -1);
    QVERIFY(registry.ComboUF->isHidden());
    QVERIFY(registry.ImgBandPais->isHidden());
}

void TestCadCidade::failedPostKeepsRow() {
    RegistryRig rig;
    TFrmCadastroCidade& registry = rig.openRegistry();
    rig.store.exec(QStringLiteral("create trigger recusa before insert on Cidades "
                                  "begin select raise(abort, 'disco cheio'); end"));
    rig.fill(QStringLiteral("Rosario"), QStringLiteral("Argentina"));
    const int before = rig.cities();
    rig.dialogs().queueAnswer(MsgResult::Yes);
    rig.click(registry.BtnGravar);
    const ScriptedDialogs::Shown& report = rig.dialogs().shown().constLast();
    QCOMPARE(report.caption, QStringLiteral("VELMORA v1.0"));
    QVERIFY2(report.text.contains(QStringLiteral("disco cheio")), qPrintable(report.text));
    QVERIFY(registry.isVisible());
    QCOMPARE(registry.EdtCidade->text(), QStringLiteral("Rosario"));
    QCOMPARE(rig.app().dm().TblCidades.state(), Table::State::Insert);
    QCOMPARE(rig.cities(), before);

    rig.store.exec(QStringLiteral("drop trigger recusa"));
    rig.dialogs().queueAnswer(MsgResult::Yes);
    rig.click(registry.BtnGravar);
    QCOMPARE(rig.cities(), before + 1);
    QVERIFY(!registry.isVisible());
}

void TestCadCidade::newCityOffered() {
    RegistryRig rig;
    rig.openRegistry();
    rig.fill(QStringLiteral("Sorocaba"), QStringLiteral("Brasil"),
             QStringLiteral("SP - São Paulo"));
    rig.dialogs().queueAnswer(MsgResult::Yes);
    rig.click(rig.registry().BtnGravar);
    // The same city twice is two rows, listed twice.
    for (int round = 0; round < 2; ++round) {
        rig.openRegistry();
        rig.fill(QStringLiteral("Rosario"), QStringLiteral("Argentina"));
        rig.dialogs().queueAnswer(MsgResult::Yes);
        rig.click(rig.registry().BtnGravar);
    }

    // In Portuguese order: "São" reads as "Sao", before "Sorocaba".
    QCOMPARE(rig.offered(QStringLiteral("Brasil"), QStringLiteral("SP")),
             (QStringList{"Campinas", "Santos", "São Paulo", "Sorocaba"}));
    QVERIFY(!rig.offered(QStringLiteral("Brasil"), QStringLiteral("RJ"))
                 .contains(QStringLiteral("Sorocaba")));
    QCOMPARE(rig.offered(QStringLiteral("Argentina")),
             (QStringList{"Buenos Aires", "Rosario", "Rosario"}));
    QVERIFY(!rig.offered(QStringLiteral("Uruguai")).contains(QStringLiteral("Rosario")));
}

QTEST_MAIN(TestCadCidade)
#include "test_cadcidade.moc"
