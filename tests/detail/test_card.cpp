// The detail card: its layout, how a row fills it, failures on OK, printing and back.
#include "tests/detail/CardHelpers.h"

#include "store/Module.h"
#include "tests/support/Rows.h"
#include "tests/support/store/Statements.h"

#include <QMenu>
#include <QMenuBar>

using namespace velmora;
using namespace velmora::test;

namespace {

// A club edited before it is stored.
struct Variant {
    bool selecao = false;
    int extinto = 0;
    int ano = 1910;
    QString estadio = QStringLiteral("Estádio Central");
    QString capacidade = QStringLiteral("30.000");
    QString uf; // overrides the state code (flag kept)

    Variant& national() { return selecao = true, *this; }
    Variant& extinct() { return extinto = 1, *this; }
    Variant& founded(int year) { return ano = year, *this; }
    Variant& stadium(const QString& e, const QString& c) {
        estadio = e;
        capacidade = c;
        return *this;
    }
    Variant& stateCode(const QString& code) { return uf = code, *this; }
};

Club makeClub(TestStore& store, int codigo, const QString& nome, const QString& pais,
              const QString& uf, const Variant& v) {
    Club c = v.selecao ? store.selecao(codigo, nome, pais) : store.club(codigo, nome, pais, uf);
    c.extinto = v.extinto;
    c.anoFundacao = v.ano;
    c.idadeClube = QStringLiteral("%1 anos").arg(2024 - v.ano);
    c.estadio = v.estadio;
    c.capacidade = v.capacidade;
    if (!v.uf.isEmpty())
        c.ufClube = v.uf;
    return c;
}

} // namespace

Q_DECLARE_METATYPE(Variant)

class TestCard : public QObject {
    Q_OBJECT
private slots:
    void labelsAsDesigned_data();
    void labelsAsDesigned();
    void picturesAsDesigned_data();
    void picturesAsDesigned();
    void menuHasPrintAndBack();
    void fill_data();
    void fill();
    void foreignAfterBrazilianEmptiesState();
    void statementAsIssued();
    void failingPictureKeepsEarlierLabels_data();
    void failingPictureKeepsEarlierLabels();
    void printsClientAreaOnly();
    void voltarShowsMainAndClosesCard();
};

void TestCard::labelsAsDesigned_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("white");
    QTest::newRow("LblNomeClube") << "LblNomeClube" << QPoint(276, 80) << 29 << true;
    QTest::newRow("LblNomeCompleto") << "LblNomeCompleto" << QPoint(276, 120) << 19 << true;
    QTest::newRow("LblFundacao") << "LblFundacao" << QPoint(276, 147) << 19 << true;
    QTest::newRow("LblFederacao") << "LblFederacao" << QPoint(212, 319) << 24 << false;
    QTest::newRow("LblEstadio") << "LblEstadio" << QPoint(544, 311) << 15 << false;
    QTest::newRow("LblCapacidade") << "LblCapacidade" << QPoint(544, 335) << 15 << false;
    QTest::newRow("LblPais") << "LblPais" << QPoint(208, 451) << 19 << false;
    QTest::newRow("LblCidade") << "LblCidade" << QPoint(208, 479) << 15 << false;
    QTest::newRow("LblEstado") << "LblEstado" << QPoint(536, 463) << 16 << false;
}

void TestCard::labelsAsDesigned() {
    QFETCH(QString, name);
    QFETCH(QPoint, pos);
    QFETCH(int, pixelSize);
    QFETCH(bool, white);
    AppFixture fx;
    VelmoraApp& app = fx.start();
    TFrmClubeSelecionado& card = *app.FrmClubeSelecionado;
    auto* label = card.findChild<QLabel*>(name);
    QVERIFY(label);
    QCOMPARE(label->parentWidget(), card.client());
    QCOMPARE(label->pos(), pos);
    QCOMPARE(label->font().pixelSize(), pixelSize);
    QVERIFY(label->font().bold());
    QVERIFY(!label->autoFillBackground()); // transparent over the background
    const QColor expected = white ? QColor(Qt::white) : card.palette().color(QPalette::WindowText);
    QCOMPARE(label->palette().color(QPalette::WindowText), expected);
}

void TestCard::picturesAsDesigned_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("ImgEscudoClube") << "ImgEscudoClube" << QRect(40, 27, 201, 201);
    QTest::newRow("ImgLogoFeder") << "ImgLogoFeder" << QRect(86, 280, 107, 107);
    QTest::newRow("ImgBandeiraPais") << "ImgBandeiraPais" << QRect(87, 443, 105, 68);
    QTest::newRow("ImgBandeiraUF") << "ImgBandeiraUF" << QRect(424, 441, 105, 68);
    QTest::newRow("Image1") << "Image1" << QRect(0, 0, 792, 546);
}

void TestCard::picturesAsDesigned() {
    QFETCH(QString, name);
    QFETCH(QRect, rect);
    AppFixture fx;
    VelmoraApp& app = fx.start();
    TFrmClubeSelecionado& card = *app.FrmClubeSelecionado;
    auto* picture = card.findChild<QLabel*>(name);
    QVERIFY(picture);
    QCOMPARE(picture->geometry(), rect);
    QVERIFY(picture->hasScaledContents());
    QCOMPARE(card.client()->size(), QSize(792, 546));
    QVERIFY(hasPicture(card.Image1));
}

void TestCard::menuHasPrintAndBack() {
    AppFixture fx;
    VelmoraApp& app = fx.start();
    TFrmClubeSelecionado& card = *app.FrmClubeSelecionado;
    const QList<QAction*> menus = card.menuBar()->actions();
    QCOMPARE(menus.size(), 1);
    QCOMPARE(menus.first()->iconText(), QString("Arquivo"));
    QStringList items;
    for (QAction* a : menus.first()->menu()->actions())
        items << a->objectName() + "=" + a->iconText();
    QCOMPARE(items, QStringList({"Imprimir1=Imprimir", "Voltar1=Voltar"}));
}

void TestCard::fill_data() {
    QTest::addColumn<QString>("pais");
    QTest::addColumn<QString>("uf");
    QTest::addColumn<Variant>("variant");
    QTest::addColumn<QString>("paisLabel");
    QTest::addColumn<QString>("estadoLabel");
    QTest::addColumn<bool>("stateFlag");
    QTest::addColumn<QString>("fundacao");
    QTest::addColumn<QString>("capacidade");

    row("Brazilian club", "Brasil", "SP", Variant{}, "BRASIL", "SÃO PAULO", true,
        "Fundado em 1910 (114 anos)", "Capacidade: 30.000");
    row("accented foreign country", "Itália", "", Variant{}, "ITÁLIA", "", false,
        "Fundado em 1910 (114 anos)", "Capacidade: 30.000");
    row("extinct club", "Brasil", "RJ", Variant().extinct().founded(1900), "BRASIL",
        "RIO DE JANEIRO", true, "Fundado em 1900 (Clube Extinto)", "Capacidade: 30.000");
    row("extinct national team", "Argentina", "", Variant().national().extinct().founded(1901),
        "ARGENTINA", "", false, "Fundado em 1901 (Clube Extinto)", "Capacidade: 30.000");
    row("Brazilian national team", "Brasil", "", Variant().national().founded(1914), "BRASIL", "",
        true, "Fundado em 1914 (110 anos)", "Capacidade: 30.000");
    row("stadium without capacity", "Inglaterra", "", Variant().stadium("Estádio Central", ""),
        "INGLATERRA", "", false, "Fundado em 1910 (114 anos)", "Capacidade: ");
    row("capacity without stadium", "Brasil", "MG", Variant().stadium("", "50.000"), "BRASIL",
        "MINAS GERAIS", true, "Fundado em 1910 (114 anos)", "");
    row("state code missing from UF.DB", "Brasil", "SP", Variant().stateCode("XX"), "BRASIL", "",
        true, "Fundado em 1910 (114 anos)", "Capacidade: 30.000");
}

void TestCard::fill() {
    QFETCH(QString, pais);
    QFETCH(QString, uf);
    QFETCH(Variant, variant);
    QFETCH(QString, paisLabel);
    QFETCH(QString, estadoLabel);
    QFETCH(bool, stateFlag);
    QFETCH(QString, fundacao);
    QFETCH(QString, capacidade);
    AppFixture fx;
    TestStore& store = fx.store;
    Club c = makeClub(store, 7, "Escolhido", pais, uf, variant);
    if (variant.selecao && pais == "Brasil") // a Brazilian row keeps its state flag
        c.bandeiraUF = store.stateFlag("RJ");
    store.insert(c);
    VelmoraApp& app = fx.start();
    QVERIFY(openCard(app, "Escolhido", variant.selecao));
    QVERIFY(fx.dialogs.shown().isEmpty());

    TFrmClubeSelecionado& card = *app.FrmClubeSelecionado;
    QVERIFY(!app.FrmSelClube->isVisible());
    QCOMPARE(card.windowTitle(), QString("Escolhido"));
    QCOMPARE(card.LblNomeClube->text(), c.nomeClube);
    QCOMPARE(card.LblNomeCompleto->text(), c.nomeCompletoClube);
    QCOMPARE(card.LblFederacao->text(), c.federacao);
    QCOMPARE(card.LblPais->text(), paisLabel);
    QCOMPARE(card.LblEstadio->text(), c.estadio);
    QCOMPARE(card.LblCapacidade->text(), capacidade);
    QCOMPARE(card.LblFundacao->text(), fundacao);
    QCOMPARE(card.LblEstado->text(), estadoLabel);
    QCOMPARE(card.LblCidade->text(), c.cidadeClube); // the city alone
    QVERIFY(!card.LblCidade->text().contains('/'));
    QVERIFY(hasPicture(card.ImgEscudoClube));
    QVERIFY(hasPicture(card.ImgBandeiraPais));
    QVERIFY(hasPicture(card.ImgLogoFeder));
    QCOMPARE(hasPicture(card.ImgBandeiraUF), stateFlag);
    // Labels are sized to their text.
    QVERIFY(card.LblFundacao->width() >= card.LblFundacao->sizeHint().width());
}

void TestCard::foreignAfterBrazilianEmptiesState() {
    AppFixture fx;
    TestStore& store = fx.store;
    store.add(1, "Paulista", "Brasil", "SP");
    store.add(2, "Londrino", "Inglaterra", "");
    VelmoraApp& app = fx.start();
    QVERIFY(openCard(app, "Paulista"));
    TFrmClubeSelecionado& card = *app.FrmClubeSelecionado;
    QCOMPARE(card.LblEstado->text(), QString("SÃO PAULO"));
    QVERIFY(hasPicture(card.ImgBandeiraUF));
    QVERIFY(openCard(app, "Londrino"));
    QCOMPARE(card.LblEstado->text(), QString());
    QVERIFY(!hasPicture(card.ImgBandeiraUF));
    QCOMPARE(card.LblPais->text(), QString("INGLATERRA"));
    QCOMPARE(card.windowTitle(), QString("Londrino"));
}

void TestCard::statementAsIssued() {
    AppFixture fx;
    TestStore& store = fx.store;
    store.add(1, "Paulista", "Brasil", "SP");
    VelmoraApp& app = fx.start();
    QVERIFY(openCard(app, "Paulista"));
    const QStringList& expected = velmora::test::cardStatement();
    QCOMPARE(app.dm().QueryConsulta.lines(), expected);
    QCOMPARE(app.dm().QueryConsulta.field(12), QString("BRA"));
    QCOMPARE(app.dm().QueryTodosEstados.lines(),
             QStringList({"select NomeCompleto as estados", "from UF.db", "where UF = :ESTADO"}));
}

void TestCard::failingPictureKeepsEarlierLabels_data() {
    QTest::addColumn<QString>("broken");
    QTest::newRow("badge") << "EscudoClube";
    QTest::newRow("country flag") << "BandeiraPais";
    QTest::newRow("federation logo") << "LogoFederacao";
    QTest::newRow("state flag") << "BandeiraUF";
}

void TestCard::failingPictureKeepsEarlierLabels() {
    QFETCH(QString, broken);
    AppFixture fx;
    TestStore& store = fx.store;
    store.add(1, "Antigo", "Brasil", "SP");
    Club c = store.club(2, "Novo", "Brasil", "RJ");
    const QString missing = store.path("Sumido/" + broken + ".jpg");
    if (broken == "EscudoClube")
        c.escudoClube = missing;
    else if (broken == "BandeiraPais")
        c.bandeiraPais = missing;
    else if (broken == "LogoFederacao")
        c.logoFederacao = missing;
    else
        c.bandeiraUF = missing;
    store.insert(c);
    VelmoraApp& app = fx.start();
    QVERIFY(openCard(app, "Antigo"));
    TFrmClubeSelecionado& card = *app.FrmClubeSelecionado;
    const QString oldFundacao = card.LblFundacao->text();
    const QString oldCidade = card.LblCidade->text();
    app.forms.close(&card);

    TFrmSelClube& chooser = openChooser(app);
    QVERIFY(pick(chooser, chooser.rbClube, "Novo"));
    fx.dialogs.clearLog(); // a broken badge fails its preview already
    QTest::mouseClick(chooser.BtnOk, Qt::LeftButton);
    // Set before the pictures: the new row's text.
    QCOMPARE(card.LblNomeClube->text(), QString("Novo"));
    QCOMPARE(card.LblNomeCompleto->text(), c.nomeCompletoClube);
    QCOMPARE(card.LblPais->text(), QString("BRASIL"));
    QCOMPARE(card.LblEstadio->text(), c.estadio);
    // Set after them: untouched.
    QCOMPARE(card.LblFundacao->text(), oldFundacao);
    QCOMPARE(card.LblCidade->text(), oldCidade);
    QCOMPARE(card.LblEstado->text(), QString("SÃO PAULO"));
    QCOMPARE(card.windowTitle(), QString("Antigo"));
    QVERIFY(!card.isVisible());
    QVERIFY(app.FrmSelClube->isVisible());
    QCOMPARE(fx.dialogs.shown().size(), 1);
    QCOMPARE(fx.dialogs.shown().first().caption, QString("VELMORA v1.0"));
    QCOMPARE(fx.dialogs.shown().first().icon, MsgIcon::Error);
    QVERIFY(fx.dialogs.shown().first().text.contains(broken + ".jpg"));
}

void TestCard::printsClientAreaOnly() {
    AppFixture fx;
    TestStore& store = fx.store;
    store.add(1, "Paulista", "Brasil", "SP");
    VelmoraApp& app = fx.start();
    QVERIFY(openCard(app, "Paulista"));
    TFrmClubeSelecionado& card = *app.FrmClubeSelecionado;
    card.Imprimir1->trigger();
    QVERIFY(fx.dialogs.shown().isEmpty());
    QCOMPARE(fx.printing.printed.size(), 1);
    const QImage page = fx.printing.printed.first();
    QCOMPARE(page.size(), QSize(792, 546));
    // The dark header band at the top right, under no control; light lower down.
    const QColor header = page.pixelColor(700, 20);
    QVERIFY2(header.lightness() < 110, qPrintable(header.name()));
    const QColor lower = page.pixelColor(700, 530);
    QVERIFY2(lower.lightness() > 150, qPrintable(lower.name()));
    // The white short name over the band.
    bool white = false;
    for (int x = 276; x < 276 + card.LblNomeClube->width() && !white; ++x)
        for (int y = 80; y < 80 + card.LblNomeClube->height() && !white; ++y)
            white = page.pixelColor(x, y).lightness() > 240;
    QVERIFY(white);
}

void TestCard::voltarShowsMainAndClosesCard() {
    AppFixture fx;
    TestStore& store = fx.store;
    store.add(1, "Paulista", "Brasil", "SP");
    VelmoraApp& app = fx.start();
    QVERIFY(openCard(app, "Paulista"));
    TFrmClubeSelecionado& card = *app.FrmClubeSelecionado;
    QVERIFY(!app.FrmInicial->isVisible());
    card.Voltar1->trigger();
    QVERIFY(!card.isVisible());
    QVERIFY(app.FrmInicial->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(app.FrmInicial.get()));
    // The card keeps its content until the next OK.
    QCOMPARE(card.LblNomeClube->text(), QString("Paulista"));
}

QTEST_MAIN(TestCard)
#include "test_card.moc"
