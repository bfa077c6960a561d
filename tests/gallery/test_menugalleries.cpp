// The seven galleries of the "Relatórios" menu: rows, titles, title pictures, warnings,
// entry boxes and the order in which each one runs its steps.
#include "gallery/FederSel.h"
#include "gallery/MenuGalleries.h"
#include "store/Module.h"
#include "tests/gallery/GalleryTest.h"
#include "tests/support/Rows.h"

#include <QComboBox>
#include <QtTest>

using namespace velmora;
using velmora::test::Club;
using velmora::test::expectedNames;
using velmora::test::GalleryRig;

Q_DECLARE_METATYPE(velmora::MenuGallery)

namespace {

using G = MenuGallery;
using velmora::test::row;

// Clubs and national teams of several countries; Fantasma's country is not in Paises.DB.
void seedCatalogue(GalleryRig& c) {
    auto add = [&](int code, const char* nome, const char* pais, const char* uf, int kind,
                   int extinto, const char* cidade = nullptr) {
        Club club = kind == 1
                        ? c.store.selecao(code, QString::fromUtf8(nome), QString::fromUtf8(pais))
                        : c.store.club(code, QString::fromUtf8(nome), QString::fromUtf8(pais),
                                       QString::fromUtf8(uf));
        club.extinto = extinto;
        if (cidade)
            club.cidadeClube = QString::fromUtf8(cidade);
        c.store.insert(club);
    };
    add(1, "Palmeiras", "Brasil", "SP", 0, 0);
    add(2, "Santos", "Brasil", "SP", 0, 0, "Santos");
    add(3, "Flamengo", "Brasil", "RJ", 0, 0);
    add(4, "América", "Brasil", "RJ", 0, 1);
    add(5, "Boca Juniors", "Argentina", "", 0, 0);
    add(6, "Arsenal", "Inglaterra", "", 0, 0);
    add(7, "Juventus", "Itália", "", 0, 0);
    add(8, "Brasil", "Brasil", "", 1, 0);
    add(9, "Uruguai", "Uruguai", "", 1, 1);
    add(10, "Fantasma", "Atlântida", "", 0, 0);
}

QStringList padded(QStringList names) {
    while (names.size() < TFrmRelatorios::slotCount)
        names << QString();
    return names;
}

const QString noEntry = QStringLiteral("<none>");

} // namespace

class TestMenuGalleries : public QObject {
    Q_OBJECT
private slots:
    void listsTitlesAndFlags_data();
    void listsTitlesAndFlags();
    void cancelOrEmptyEntryStopsSilently_data();
    void cancelOrEmptyEntryStopsSilently();
    void entryOfSpacesIsBoundAsTyped_data();
    void entryOfSpacesIsBoundAsTyped();
    void emptyListingWarns_data();
    void emptyListingWarns();
    void titleWrittenBeforeTheEmptyTestOnAVisiblePage();
    void everyGalleryHidesTheFederationLogo_data();
    void everyGalleryHidesTheFederationLogo();
    void thirteenNationalTeamsPage();
    void nameSearchPagesWithTheCountryButton();
    void unloadableTitleFlagStopsBeforeTheFill();
    void countFollowsChangesToTheStore_data();
    void countFollowsChangesToTheStore();
};

void TestMenuGalleries::listsTitlesAndFlags_data() {
    QTest::addColumn<MenuGallery>("gallery");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("codes"); // the code labels of the listed slots
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("flag");  // "country:X", "state:X" or "" (emptied)
    QTest::addColumn<int>("flagShown"); // 1 shown, -1 left as it was

    row("Clubes Brasileiros", G::ClubesBrasileiros, noEntry, "",
        QStringList{"América", "Flamengo", "Palmeiras", "Santos"}, "RJ RJ SP SP",
        "Relação de Todos Clubes Brasileiros (4)", "country:Brasil", 1);
    row("Clubes por Estado sp", G::ClubesPorEstado, "sp", "Digite a sigla do estado",
        QStringList{"Palmeiras", "Santos"}, "BRA BRA", "Relação de Clubes - Estado: São Paulo (2)",
        "state:SP", 1);
    row("Clubes por Estado rj", G::ClubesPorEstado, "rj", "Digite a sigla do estado",
        QStringList{"América", "Flamengo"}, "BRA BRA",
        "Relação de Clubes - Estado: Rio de Janeiro (2)", "state:RJ", 1);
    row("Clubes por País bra", G::ClubesPorPais, "bra", "Digite o nome do país",
        QStringList{"América", "Flamengo", "Palmeiras", "Santos"}, "BRA BRA BRA BRA",
        "Relação dos Clubes do(a) Brasil (4)", "country:Brasil", 1);
    // Two countries match: title and flag of the first row's, the count covers both.
    row("Clubes por País in", G::ClubesPorPais, "in", "Digite o nome do país",
        QStringList{"Arsenal", "Boca Juniors"}, "ENG ARG",
        "Relação dos Clubes do(a) Inglaterra (2)", "country:Inglaterra", 1);
    row("Clubes por País accented", G::ClubesPorPais, "itá", "Digite o nome do país",
        QStringList{"Juventus"}, "ITA", "Relação dos Clubes do(a) Itália (1)", "country:Itália", 1);
    row("Clubes por País without accents", G::ClubesPorPais, "italia", "Digite o nome do país",
        QStringList{"Juventus"}, "ITA", "Relação dos Clubes do(a) Itália (1)", "country:Itália", 1);
    // Fantasma is counted but not listed: its country has no row in Paises.DB.
    row("Todos os Clubes Cadastrados", G::TodosOsClubes, noEntry, "",
        QStringList{"América", "Arsenal", "Boca Juniors", "Flamengo", "Juventus", "Palmeiras",
                    "Santos"},
        "BRA ENG ARG BRA ITA BRA BRA", "Relação de Todos Clubes Cadastrados (8)", "", -1);
    row("Todas as Seleções Cadastradas", G::TodasAsSelecoes, noEntry, "",
        QStringList{"Brasil", "Uruguai"}, "BRA URU", "Relação de Todas as Seleções Cadastradas (2)",
        "", -1);
    row("Pesquisar por Nome ra", G::PesquisarPorNome, "ra",
        "Digite o nome do clube (ou parte dele)", QStringList{"Brasil", "Palmeiras"}, "BRA BRA",
        "Relação dos Clubes que tenham \"RA\" no nome", "", 1);
    row("Pesquisar por Nome accented", G::PesquisarPorNome, "éR",
        "Digite o nome do clube (ou parte dele)", QStringList{"América"}, "BRA",
        "Relação dos Clubes que tenham \"ÉR\" no nome", "", 1);
    row("Pesquisar por Nome without accents", G::PesquisarPorNome, "america",
        "Digite o nome do clube (ou parte dele)", QStringList{"América"}, "BRA",
        "Relação dos Clubes que tenham \"AMERICA\" no nome", "", 1);
    row("Clubes/Seleções Extintos", G::Extintos, noEntry, "", QStringList{"América", "Uruguai"},
        "BRA URU", "Relação de Clubes e/ou Seleções Extintos (2)", "", 1);
}

void TestMenuGalleries::listsTitlesAndFlags() {
    QFETCH(MenuGallery, gallery);
    QFETCH(QString, entry);
    QFETCH(QString, prompt);
    QFETCH(QStringList, names);
    QFETCH(QString, codes);
    QFETCH(QString, title);
    QFETCH(QString, flag);
    QFETCH(int, flagShown);

    GalleryRig c;
    seedCatalogue(c);
    VelmoraApp& app = c.start();
    if (entry != noEntry)
        c.dialogs.queueEntry(entry);
    app.runMenuGallery(gallery);

    if (entry != noEntry) {
        QCOMPARE(c.dialogs.shown().size(), 1);
        QCOMPARE(c.dialogs.shown()[0].kind, QStringLiteral("entry"));
        QCOMPARE(c.dialogs.shown()[0].caption, QStringLiteral("Velmora"));
        QCOMPARE(c.dialogs.shown()[0].text, prompt);
    } else {
        QVERIFY(c.dialogs.shown().isEmpty());
    }
    QVERIFY(c.page().isVisible());
    QCOMPARE(c.slotNames(), padded(names));
    QStringList shownCodes;
    for (int n = 1; n <= names.size(); ++n)
        shownCodes << c.page().slot(n).LblSiglaPaisClube->text();
    QCOMPARE(shownCodes.join(QLatin1Char(' ')), codes);
    QCOMPARE(c.page().LblTitulo->text(), title);

    QLabel* band = c.page().ImgBandTitulo;
    if (flag.isEmpty()) {
        QVERIFY(band->pixmap().isNull());
    } else {
        const QString key = flag.section(QLatin1Char(':'), 1);
        const QString path = flag.startsWith(QLatin1String("state")) ? c.store.stateFlag(key)
                                                                     : c.store.countryFlag(key);
        QVERIFY(c.shows(band, path));
    }
    if (flagShown == 1)
        QVERIFY(!band->isHidden());
    QVERIFY(c.page().ImgFeder->isHidden());
    QVERIFY(c.page().ImgFeder->pixmap().isNull());
    QVERIFY(c.shownButtons().isEmpty());
}

void TestMenuGalleries::cancelOrEmptyEntryStopsSilently_data() {
    QTest::addColumn<MenuGallery>("gallery");
    QTest::addColumn<bool>("cancel");
    const std::pair<G, QByteArray> galleries[] = {{G::ClubesPorEstado, "state"},
                                                  {G::ClubesPorPais, "country"},
                                                  {G::PesquisarPorNome, "name"}};
    for (const auto& [g, name] : galleries) {
        QTest::newRow(("cancel " + name).constData()) << g << true;
        QTest::newRow(("OK on nothing " + name).constData()) << g << false;
    }
}

void TestMenuGalleries::cancelOrEmptyEntryStopsSilently() {
    QFETCH(MenuGallery, gallery);
    QFETCH(bool, cancel);

    GalleryRig c;
    seedCatalogue(c);
    VelmoraApp& app = c.start();
    // Cancel gives the empty text, like OK on an empty field.
    if (!cancel)
        c.dialogs.queueEntry(QString());
    app.runMenuGallery(gallery);
    QCOMPARE(c.dialogs.shown().size(), 1); // the entry box alone
    QVERIFY(c.dialogs.messages().isEmpty());
    QVERIFY(!c.page().isVisible());
    QVERIFY(c.page().LblTitulo->text().isEmpty());
    QVERIFY(c.page().listing() == nullptr);
}

void TestMenuGalleries::entryOfSpacesIsBoundAsTyped_data() {
    QTest::addColumn<MenuGallery>("gallery");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("title");

    row("state", G::ClubesPorEstado, "  ", "Não há nenhum clube deste estado cadastrado",
        QStringList{}, "");
    row("country", G::ClubesPorPais, "   ", "Não há nenhum clube deste país cadastrado!",
        QStringList{}, "");
    // "% %" finds the one short name with a space.
    row("name", G::PesquisarPorNome, " ", "", QStringList{"Boca Juniors"},
        "Relação dos Clubes que tenham \" \" no nome");
}

void TestMenuGalleries::entryOfSpacesIsBoundAsTyped() {
    QFETCH(MenuGallery, gallery);
    QFETCH(QString, entry);
    QFETCH(QString, warning);
    QFETCH(QStringList, names);
    QFETCH(QString, title);

    GalleryRig c;
    seedCatalogue(c);
    VelmoraApp& app = c.start();
    c.dialogs.queueEntry(entry);
    app.runMenuGallery(gallery);
    QCOMPARE(c.dialogs.messages(), warning.isEmpty() ? QStringList{} : QStringList{warning});
    if (!warning.isEmpty())
        QCOMPARE(c.dialogs.shown().last().icon, MsgIcon::Warning);
    QCOMPARE(c.page().isVisible(), !names.isEmpty());
    if (!names.isEmpty())
        QCOMPARE(c.slotNames(), padded(names));
    QCOMPARE(c.page().LblTitulo->text(), title);
}

void TestMenuGalleries::emptyListingWarns_data() {
    QTest::addColumn<MenuGallery>("gallery");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QString>("title");   // written before the empty test, or ""
    QTest::addColumn<bool>("countFirst"); // the count statement ran before the empty test

    row("Clubes Brasileiros", G::ClubesBrasileiros, noEntry,
        "Não há nenhum clube brasileiro cadastrado", "", true);
    row("Clubes por Estado", G::ClubesPorEstado, "sp",
        "Não há nenhum clube deste estado cadastrado", "", false);
    row("Clubes por País", G::ClubesPorPais, "atl", "Não há nenhum clube deste país cadastrado!",
        "", false);
    row("Todos os Clubes Cadastrados", G::TodosOsClubes, noEntry, "Não há nenhum clube cadastrado!",
        "Relação de Todos Clubes Cadastrados (1)", true);
    row("Todas as Seleções Cadastradas", G::TodasAsSelecoes, noEntry, "Nenhuma seleção encontrada!",
        "Relação de Todas as Seleções Cadastradas (1)", true);
    row("Pesquisar por Nome", G::PesquisarPorNome, "fan", "Nenhum clube encontrado!", "", false);
    row("Clubes/Seleções Extintos", G::Extintos, noEntry, "Nenhum clube encontrado!", "", false);
}

void TestMenuGalleries::emptyListingWarns() {
    QFETCH(MenuGallery, gallery);
    QFETCH(QString, entry);
    QFETCH(QString, warning);
    QFETCH(QString, title);
    QFETCH(bool, countFirst);

    // A club and a national team of a country Paises.DB lacks: counted, never listed.
    GalleryRig c;
    c.store.insert(c.store.club(1, QStringLiteral("Fantasma"), QStringLiteral("Atlântida")));
    c.store.insert(c.store.selecao(2, QStringLiteral("Atlantes"), QStringLiteral("Atlântida")));
    VelmoraApp& app = c.start();
    if (entry != noEntry)
        c.dialogs.queueEntry(entry);
    app.runMenuGallery(gallery);

    QCOMPARE(c.dialogs.messages(), QStringList{warning});
    const auto& box = c.dialogs.shown().last();
    QCOMPARE(box.caption, QStringLiteral("Velmora"));
    QCOMPARE(box.icon, MsgIcon::Warning);
    QCOMPARE(box.buttons, MsgButtons::Ok);
    QVERIFY(!c.page().isVisible());
    QCOMPARE(c.page().LblTitulo->text(), title);
    QCOMPARE(app.dm().QueryTodosClubes.lines().isEmpty(), !countFirst);
    QVERIFY(c.page().listing() == nullptr);
}

void TestMenuGalleries::titleWrittenBeforeTheEmptyTestOnAVisiblePage() {
    GalleryRig c;
    c.addClubs(13, QStringLiteral("Sel"), QStringLiteral("Argentina"), 1);
    c.store.insert(c.store.club(50, QStringLiteral("Fantasma"), QStringLiteral("Atlântida")));
    VelmoraApp& app = c.start();
    app.runMenuGallery(G::TodasAsSelecoes);
    c.dialogs.clearLog();

    app.runMenuGallery(G::TodosOsClubes);
    QCOMPARE(c.dialogs.messages(), QStringList{QStringLiteral("Não há nenhum clube cadastrado!")});
    QCOMPARE(c.page().LblTitulo->text(), QStringLiteral("Relação de Todos Clubes Cadastrados (1)"));
    QVERIFY(c.page().isVisible());
    QCOMPARE(c.slotNames(), expectedNames(QStringLiteral("Sel"), 1, 12));
    QCOMPARE(c.shownButtons(), QStringList{QStringLiteral("BtnProxSel")});
    // The old listing still pages.
    QTest::mouseClick(c.page().pageButton(PageButton::ProxSel), Qt::LeftButton);
    QCOMPARE(c.slotNames(), expectedNames(QStringLiteral("Sel"), 13, 13));
}

void TestMenuGalleries::everyGalleryHidesTheFederationLogo_data() {
    QTest::addColumn<MenuGallery>("gallery");
    QTest::addColumn<QString>("entry");
    QTest::newRow("Clubes Brasileiros") << G::ClubesBrasileiros << noEntry;
    QTest::newRow("Clubes por Estado") << G::ClubesPorEstado << "SP";
    QTest::newRow("Clubes por País") << G::ClubesPorPais << "Brasil";
    QTest::newRow("Todos os Clubes Cadastrados") << G::TodosOsClubes << noEntry;
    QTest::newRow("Todas as Seleções Cadastradas") << G::TodasAsSelecoes << noEntry;
    QTest::newRow("Pesquisar por Nome") << G::PesquisarPorNome << "a";
    QTest::newRow("Clubes/Seleções Extintos") << G::Extintos << noEntry;
}

void TestMenuGalleries::everyGalleryHidesTheFederationLogo() {
    QFETCH(MenuGallery, gallery);
    QFETCH(QString, entry);

    GalleryRig c;
    seedCatalogue(c);
    VelmoraApp& app = c.start();
    app.FrmSelFeder->FormActivate();
    app.FrmSelFeder->ComboFeder->setCurrentText(QStringLiteral("FPF-SP"));
    app.FrmSelFeder->BtnOkClick();
    QVERIFY(!c.page().ImgFeder->isHidden());
    QVERIFY(!c.page().ImgFeder->pixmap().isNull());

    if (entry != noEntry)
        c.dialogs.queueEntry(entry);
    app.runMenuGallery(gallery);
    QVERIFY(c.dialogs.messages().isEmpty());
    QVERIFY(c.page().ImgFeder->isHidden());
    QVERIFY(c.page().ImgFeder->pixmap().isNull());
}

void TestMenuGalleries::thirteenNationalTeamsPage() {
    GalleryRig c;
    c.addClubs(13, QStringLiteral("Sel"), QStringLiteral("Uruguai"), 1);
    c.addClubs(2, QStringLiteral("Clube"), QStringLiteral("Brasil"), 0, 100);
    VelmoraApp& app = c.start();
    app.runMenuGallery(G::TodasAsSelecoes);
    QCOMPARE(c.page().LblTitulo->text(),
             QStringLiteral("Relação de Todas as Seleções Cadastradas (13)"));
    QCOMPARE(c.slotNames(), expectedNames(QStringLiteral("Sel"), 1, 12));
    QCOMPARE(c.shownButtons(), QStringList{QStringLiteral("BtnProxSel")});
    QTest::mouseClick(c.page().pageButton(PageButton::ProxSel), Qt::LeftButton);
    QCOMPARE(c.slotNames(), expectedNames(QStringLiteral("Sel"), 13, 13));
    QVERIFY(c.shownButtons().isEmpty());
    QCOMPARE(c.page().LblTitulo->text(),
             QStringLiteral("Relação de Todas as Seleções Cadastradas (13)"));
}

void TestMenuGalleries::nameSearchPagesWithTheCountryButton() {
    GalleryRig c;
    c.addClubs(13, QStringLiteral("Flam"), QStringLiteral("Brasil"));
    c.addClubs(13, QStringLiteral("Outro"), QStringLiteral("Brasil"), 0, 100);
    VelmoraApp& app = c.start();
    c.dialogs.queueEntry(QStringLiteral("fla"));
    app.runMenuGallery(G::PesquisarPorNome);
    QCOMPARE(c.page().LblTitulo->text(),
             QStringLiteral("Relação dos Clubes que tenham \"FLA\" no nome"));
    QCOMPARE(c.shownButtons(), QStringList{QStringLiteral("BtnPaisSel")});
    QTest::mouseClick(c.page().pageButton(PageButton::PaisSel), Qt::LeftButton);
    QCOMPARE(c.slotNames(), expectedNames(QStringLiteral("Flam"), 13, 13));
}

void TestMenuGalleries::unloadableTitleFlagStopsBeforeTheFill() {
    GalleryRig c;
    Club club = c.store.club(1, QStringLiteral("Guarani"));
    club.bandeiraPais = c.store.path(QStringLiteral("Bandeiras/rasgada.jpg"));
    c.store.insert(club);
    VelmoraApp& app = c.start();
    app.runMenuGallery(G::ClubesBrasileiros);
    QCOMPARE(c.dialogs.shown().size(), 1);
    QCOMPARE(c.dialogs.shown()[0].caption, QStringLiteral("VELMORA v1.0"));
    QCOMPARE(c.dialogs.shown()[0].icon, MsgIcon::Error);
    QCOMPARE(c.page().LblTitulo->text(), QStringLiteral("Relação de Todos Clubes Brasileiros (1)"));
    QVERIFY(!c.page().isVisible());
    QCOMPARE(c.slotNames(), padded({}));
    QVERIFY(c.page().listing() == nullptr);
}

void TestMenuGalleries::countFollowsChangesToTheStore_data() {
    QTest::addColumn<bool>("ownConnection"); // the editor's table, else another program
    QTest::newRow("through the data module") << true;
    QTest::newRow("through another connection") << false;
}

void TestMenuGalleries::countFollowsChangesToTheStore() {
    QFETCH(bool, ownConnection);

    GalleryRig c;
    c.addClubs(3, QStringLiteral("Clube"));
    VelmoraApp& app = c.start();
    app.runMenuGallery(G::TodosOsClubes);
    app.runMenuGallery(G::TodosOsClubes);
    QCOMPARE(c.page().LblTitulo->text(), QStringLiteral("Relação de Todos Clubes Cadastrados (3)"));

    const Club added = c.store.club(4, QStringLiteral("Clube04"));
    if (ownConnection) {
        Table& clubes = app.dm().TblClubes;
        clubes.append();
        const std::pair<const char*, QString> fields[] = {{"Codigo", "4"},
                                                          {"NomeClube", added.nomeClube},
                                                          {"PaisClube", added.paisClube},
                                                          {"UFClube", added.ufClube},
                                                          {"CidadeClube", added.cidadeClube},
                                                          {"EscudoClube", added.escudoClube},
                                                          {"BandeiraPais", added.bandeiraPais},
                                                          {"BandeiraUF", added.bandeiraUF},
                                                          {"Identificador", "0"},
                                                          {"Extinto", "0"}};
        for (const auto& [field, text] : fields)
            clubes.setFieldText(QString::fromLatin1(field), text);
        clubes.post();
    } else {
        c.store.insert(added);
    }
    app.runMenuGallery(G::TodosOsClubes);
    QCOMPARE(c.page().LblTitulo->text(), QStringLiteral("Relação de Todos Clubes Cadastrados (4)"));
    QCOMPARE(c.slotNames(), expectedNames(QStringLiteral("Clube"), 1, 4));
}

QTEST_MAIN(TestMenuGalleries)
#include "test_menugalleries.moc"
