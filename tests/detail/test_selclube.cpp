// The club chooser: kinds, lists, activation, preview and the OK checks.
#include "tests/detail/CardHelpers.h"

#include "store/Module.h"

using namespace velmora;
using namespace velmora::test;

class TestSelClube : public QObject {
    Q_OBJECT
private slots:
    void controlsAsDesigned_data();
    void controlsAsDesigned();
    void kindListsItsOwnRowsInNameOrder_data();
    void kindListsItsOwnRowsInNameOrder();
    void noNationalTeamLeavesListEmptyUntilClube();
    void activationEmptiesListButKeepsKind();
    void clickOnCheckedKindDoesNotRefill();
    void menuItemUnchecksBothKindsWithoutHandler();
    void previewShowsPickedBadge();
    void failingPreviewKeepsOldPictureAndReports();
    void okWithoutChoiceWarns();
    void listIgnoresCountryTableButCardSaysWhy();
};

void TestSelClube::controlsAsDesigned_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("rbClube") << "rbClube" << QRect(24, 66, 90, 20);
    QTest::newRow("rbSelecao") << "rbSelecao" << QRect(124, 66, 100, 20);
    QTest::newRow("ComboClubes") << "ComboClubes" << QRect(24, 112, 281, 24);
    QTest::newRow("BtnOk") << "BtnOk" << QRect(230, 143, 75, 25);
    QTest::newRow("ImgEscudoClube") << "ImgEscudoClube" << QRect(329, 44, 92, 92);
    QTest::newRow("Image1") << "Image1" << QRect(0, 0, 433, 185);
}

void TestSelClube::controlsAsDesigned() {
    QFETCH(QString, name);
    QFETCH(QRect, rect);
    AppFixture fx;
    VelmoraApp& app = fx.start();
    TFrmSelClube& chooser = *app.FrmSelClube;
    auto* control = chooser.findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), rect);
    QCOMPARE(chooser.windowTitle(), QString("Selecionar Clube"));
    QCOMPARE(chooser.client()->size(), QSize(433, 185));
    QVERIFY(!chooser.ComboClubes->isEditable());
    QCOMPARE(chooser.rbSelecao->text(), QString("Seleção"));
    QCOMPARE(chooser.rbClube->font().pixelSize(), 15);
    QVERIFY(chooser.rbClube->font().bold());
    QCOMPARE(chooser.rbClube->palette().color(QPalette::Window), QColor(Qt::white));
    QVERIFY(!chooser.BtnOk->icon().isNull());
    QVERIFY(hasPicture(chooser.Image1));
}

void TestSelClube::kindListsItsOwnRowsInNameOrder_data() {
    QTest::addColumn<bool>("selecao");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("Clube") << false << QStringList{"Atlético", "Botafogo", "Zeta FC"};
    QTest::newRow("Seleção") << true << QStringList{"Argentina", "Brasil", "Itália"};
}

void TestSelClube::kindListsItsOwnRowsInNameOrder() {
    QFETCH(bool, selecao);
    QFETCH(QStringList, expected);
    AppFixture fx;
    TestStore& store = fx.store;
    store.add(1, "Zeta FC");
    store.add(2, "Botafogo", "Brasil", "RJ");
    store.insert(store.selecao(3, "Itália", "Itália"));
    store.insert(store.selecao(4, "Brasil", "Brasil"));
    store.add(5, "Atlético", "Brasil", "MG");
    store.insert(store.selecao(6, "Argentina", "Argentina"));
    VelmoraApp& app = fx.start();
    TFrmSelClube& chooser = openChooser(app);
    QVERIFY(!chooser.ComboClubes->isEnabled());
    QVERIFY(!chooser.BtnOk->isEnabled());

    QTest::mouseClick(selecao ? chooser.rbSelecao : chooser.rbClube, Qt::LeftButton, {},
                      QPoint(6, 10));
    QCOMPARE(comboItems(chooser.ComboClubes), expected);
    QVERIFY(chooser.ComboClubes->isEnabled());
    QVERIFY(chooser.BtnOk->isEnabled());
    QCOMPARE(chooser.ComboClubes->currentText(), QString()); // nothing picked yet
    QCOMPARE(app.dm().QueryConsulta.lines(),
             QStringList({"select NomeClube, PaisClube, UFClube from Clubes.db",
                          selecao ? "where Identificador = 1" : "where Identificador = 0",
                          "order by NomeClubeOrdem, NomeClube"}));
}

void TestSelClube::noNationalTeamLeavesListEmptyUntilClube() {
    AppFixture fx;
    TestStore& store = fx.store;
    store.add(1, "Santos");
    VelmoraApp& app = fx.start();
    TFrmSelClube& chooser = openChooser(app);
    chooser.rbSelecao->setChecked(true);
    QCOMPARE(chooser.ComboClubes->count(), 0);
    QVERIFY(!chooser.BtnOk->isEnabled());
    chooser.rbClube->setChecked(true);
    QCOMPARE(comboItems(chooser.ComboClubes), QStringList{"Santos"});
    QVERIFY(chooser.BtnOk->isEnabled());
}

void TestSelClube::activationEmptiesListButKeepsKind() {
    AppFixture fx;
    TestStore& store = fx.store;
    store.add(1, "Santos");
    VelmoraApp& app = fx.start();
    TFrmSelClube& chooser = openChooser(app);
    QVERIFY(pick(chooser, chooser.rbClube, "Santos"));
    QVERIFY(hasPicture(chooser.ImgEscudoClube));

    // Away to the main window and back: the activation runs again.
    app.forms.show(app.FrmInicial.get());
    QVERIFY(QTest::qWaitForWindowActive(app.FrmInicial.get()));
    app.forms.show(&chooser);
    QVERIFY(QTest::qWaitForWindowActive(&chooser));
    QCOMPARE(chooser.ComboClubes->count(), 0);
    QCOMPARE(chooser.ComboClubes->currentText(), QString());
    QVERIFY(!chooser.ComboClubes->isEnabled());
    QVERIFY(!chooser.BtnOk->isEnabled());
    QVERIFY(!hasPicture(chooser.ImgEscudoClube));
    QVERIFY(chooser.rbClube->isChecked());
}

void TestSelClube::clickOnCheckedKindDoesNotRefill() {
    AppFixture fx;
    TestStore& store = fx.store;
    store.add(1, "Santos");
    store.insert(store.selecao(2, "Uruguai", "Uruguai"));
    VelmoraApp& app = fx.start();
    TFrmSelClube& chooser = openChooser(app);
    chooser.rbClube->setChecked(true);
    chooser.FormActivate();
    QTest::mouseClick(chooser.rbClube, Qt::LeftButton, {}, QPoint(6, 10));
    QCOMPARE(chooser.ComboClubes->count(), 0);
    // Only checking the other kind, then this one again, refills.
    QTest::mouseClick(chooser.rbSelecao, Qt::LeftButton, {}, QPoint(6, 10));
    QCOMPARE(comboItems(chooser.ComboClubes), QStringList{"Uruguai"});
    QTest::mouseClick(chooser.rbClube, Qt::LeftButton, {}, QPoint(6, 10));
    QCOMPARE(comboItems(chooser.ComboClubes), QStringList{"Santos"});
}

void TestSelClube::menuItemUnchecksBothKindsWithoutHandler() {
    AppFixture fx;
    TestStore& store = fx.store;
    store.add(1, "Santos");
    VelmoraApp& app = fx.start();
    TFrmSelClube& chooser = *app.FrmSelClube;
    for (QRadioButton* kind : {chooser.rbSelecao, chooser.rbClube}) {
        kind->setChecked(true);
        QVERIFY(chooser.ComboClubes->count() > 0 || kind == chooser.rbSelecao);
        const QStringList before = comboItems(chooser.ComboClubes);
        const QStringList statement = app.dm().QueryConsulta.lines();
        chooser.uncheckKinds();
        QVERIFY(!chooser.rbClube->isChecked());
        QVERIFY(!chooser.rbSelecao->isChecked());
        // Unchecking ran no handler: same list, same statement.
        QCOMPARE(comboItems(chooser.ComboClubes), before);
        QCOMPARE(app.dm().QueryConsulta.lines(), statement);
    }
    // Still an exclusive pair afterwards.
    chooser.rbClube->setChecked(true);
    chooser.rbSelecao->setChecked(true);
    QVERIFY(!chooser.rbClube->isChecked());

    // The main window's activation enables its menu item when a club exists.
    app.forms.show(app.FrmInicial.get());
    QVERIFY(QTest::qWaitForWindowActive(app.FrmInicial.get()));
    auto* item = app.FrmInicial->findChild<QAction*>("DadosdoClube1");
    QVERIFY(item);
    QVERIFY(item->isEnabled());
    item->trigger();
    QVERIFY(QTest::qWaitForWindowActive(&chooser));
    QVERIFY(!chooser.rbClube->isChecked());
    QVERIFY(!chooser.rbSelecao->isChecked());
    QCOMPARE(chooser.ComboClubes->count(), 0);
}

void TestSelClube::previewShowsPickedBadge() {
    AppFixture fx;
    TestStore& store = fx.store;
    Club red = store.club(1, "Vermelho");
    red.escudoClube = store.makeBadge("vermelho.jpg", QColor(220, 0, 0), "Distintivos");
    store.insert(red);
    Club blue = store.club(2, "Azul");
    blue.escudoClube = store.makeBadge("azul.jpg", QColor(0, 0, 220), "Distintivos");
    store.insert(blue);
    VelmoraApp& app = fx.start();
    TFrmSelClube& chooser = openChooser(app);
    chooser.rbClube->setChecked(true);
    chooser.ComboClubes->setFocus();
    // The user's keyboard pick runs the preview: first item "Azul".
    QTest::keyClick(chooser.ComboClubes, Qt::Key_Down);
    QCOMPARE(chooser.ComboClubes->currentText(), QString("Azul"));
    QVERIFY(hasPicture(chooser.ImgEscudoClube));
    QColor centre = chooser.ImgEscudoClube->pixmap().toImage().pixelColor(46, 46);
    QVERIFY2(centre.blue() > centre.red() + 60, qPrintable(centre.name()));
    QCOMPARE(app.dm().QueryConsulta.lines(),
             QStringList({"select EscudoClube from Clubes.db", "where NomeClube = :CLUBE"}));

    QTest::keyClick(chooser.ComboClubes, Qt::Key_Down);
    QCOMPARE(chooser.ComboClubes->currentText(), QString("Vermelho"));
    centre = chooser.ImgEscudoClube->pixmap().toImage().pixelColor(46, 46);
    QVERIFY2(centre.red() > centre.blue() + 60, qPrintable(centre.name()));
    QVERIFY(fx.dialogs.shown().isEmpty());
}

void TestSelClube::failingPreviewKeepsOldPictureAndReports() {
    AppFixture fx;
    TestStore& store = fx.store;
    store.add(1, "Bom");
    Club broken = store.club(2, "Quebrado");
    broken.escudoClube = store.path("Distintivos/nao-existe.jpg");
    store.insert(broken);
    VelmoraApp& app = fx.start();
    TFrmSelClube& chooser = openChooser(app);
    QVERIFY(pick(chooser, chooser.rbClube, "Bom"));
    const QImage before = chooser.ImgEscudoClube->pixmap().toImage();
    QVERIFY(pick(chooser, chooser.rbClube, "Quebrado"));
    QCOMPARE(chooser.ImgEscudoClube->pixmap().toImage(), before);
    QCOMPARE(fx.dialogs.shown().size(), 1);
    QCOMPARE(fx.dialogs.shown().first().caption, QString("VELMORA v1.0"));
    QCOMPARE(fx.dialogs.shown().first().icon, MsgIcon::Error);
    QVERIFY(fx.dialogs.shown().first().text.contains("nao-existe.jpg"));
}

void TestSelClube::okWithoutChoiceWarns() {
    AppFixture fx;
    TestStore& store = fx.store;
    store.add(1, "Santos");
    VelmoraApp& app = fx.start();
    TFrmSelClube& chooser = openChooser(app);
    chooser.rbClube->setChecked(true);
    QTest::mouseClick(chooser.BtnOk, Qt::LeftButton);
    QCOMPARE(fx.dialogs.shown().size(), 1);
    const auto& box = fx.dialogs.shown().first();
    QCOMPARE(box.caption, QString("Velmora"));
    QCOMPARE(box.text, QString("É necessário escolher um Clube ou Seleção)"));
    QCOMPARE(box.icon, MsgIcon::Warning);
    QCOMPARE(box.buttons, MsgButtons::Ok);
    QVERIFY(chooser.isVisible());
    QVERIFY(!app.FrmClubeSelecionado->isVisible());
    QCOMPARE(comboItems(chooser.ComboClubes), QStringList{"Santos"});
}

void TestSelClube::listIgnoresCountryTableButCardSaysWhy() {
    AppFixture fx;
    TestStore& store = fx.store;
    Club lost = store.club(1, "Perdido", "Atlântida", "");
    lost.bandeiraPais = store.countryFlag("Brasil");
    lost.logoFederacao = store.logo("FIFA");
    store.insert(lost);
    VelmoraApp& app = fx.start();
    TFrmSelClube& chooser = openChooser(app);
    QVERIFY(pick(chooser, chooser.rbClube, "Perdido"));
    TFrmClubeSelecionado& card = *app.FrmClubeSelecionado;
    card.LblNomeClube->setText("anterior");
    fx.dialogs.clearLog();
    QTest::mouseClick(chooser.BtnOk, Qt::LeftButton);
    // No blank card: a clear error, the card untouched and hidden, the chooser open.
    QCOMPARE(fx.dialogs.shown().size(), 1);
    QCOMPARE(fx.dialogs.shown().first().caption, QString("VELMORA v1.0"));
    QVERIFY(fx.dialogs.shown().first().text.contains("Perdido"));
    QVERIFY(fx.dialogs.shown().first().text.contains("Paises.DB"));
    QCOMPARE(card.LblNomeClube->text(), QString("anterior"));
    QVERIFY(!card.isVisible());
    QVERIFY(chooser.isVisible());
}

QTEST_MAIN(TestSelClube)
#include "test_selclube.moc"
