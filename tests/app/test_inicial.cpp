// The main window: counters, menu rules, featured club, commands and layout.
#include "app/Informacoes.h"
#include "app/Inicial.h"
#include "app/VelmoraApp.h"
#include "detail/SelClube.h"
#include "gallery/Anos.h"
#include "gallery/FederSel.h"
#include "layout/App.h"
#include "platform/DataControls.h"
#include "registry/Clubes.h"
#include "store/Module.h"
#include "tests/support/AppFixture.h"
#include "tests/support/Placement.h"
#include "tests/support/Rows.h"
#include "tests/support/store/Statements.h"
#include "tests/support/store/TestStore.h"

#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using namespace velmora;
using velmora::test::AppFixture;
using velmora::test::Club;
using velmora::test::row;
using velmora::test::TestStore;

namespace {

// The application with the main window's own readings.
struct MainRig : AppFixture {
    TFrmInicial& main() { return *app().FrmInicial; }
    QString lastLine() {
        const QStringList& lines = app().dm().QueryTodosClubes.lines();
        return lines.isEmpty() ? QString() : lines.last();
    }
};

// Makes form the active program window, as a click on it would.
bool activate(VelmoraApp& app, Form* form) {
    app.forms.show(form);
    return QTest::qWaitForWindowActive(form) && app.forms.lastActive() == form;
}

QStringList counterTexts(TFrmInicial& f) {
    return {f.LblQtdeClubes->text(), f.LblQtdeBrasil->text(), f.LblQtdeOutros->text(),
            f.LblSelecoes->text(), f.LblExtintos->text()};
}

// Object names of the enabled items of "Relatórios".
QStringList enabledReports(TFrmInicial& f) {
    QStringList names;
    for (QAction* a : f.Relatrios1->actions())
        if (!a->isSeparator() && a->isEnabled())
            names << a->objectName();
    return names;
}

const QStringList allReports = {
    "ClubesBrasileiros1",
    "Clubesporestado1",
    "ClubesporPas1",
    "PorAnodeFundao1",
    "ClubesporFederao1",
    "PesquisarClubeSeleoporNome1",
    "ClubesExtintos1",
    "odososClubesCadastrados1",
    "odasasSeleesCadastradas1",
    "DadosdoClube1",
    "Estatisticas1",
};

// Rows as "kind country extinct", e.g. "clube Brasil 0" or "selecao Argentina 1".
void seed(TestStore& store, const QStringList& rows) {
    int code = 0;
    for (const QString& row : rows) {
        const QStringList p = row.split(QLatin1Char(' '));
        ++code;
        const QString name = QStringLiteral("Time%1").arg(code);
        Club c = p[0] == QLatin1String("selecao") ? store.selecao(code, name, p[1])
                                                  : store.club(code, name, p[1]);
        c.extinto = p[2].toInt();
        store.insert(c);
    }
}

bool panelEmpty(TFrmInicial& f) {
    return f.LblNomeClube->text().isEmpty() && f.LblNomeCompleto->text().isEmpty() &&
           f.LblFederacao->text().isEmpty() && f.LblPais->text().isEmpty() &&
           f.ImgEscudo->pixmap().isNull() && f.ImgBandPais->pixmap().isNull() &&
           f.ImgLogoFeder->pixmap().isNull();
}

const QStringList& featuredLines = velmora::test::featuredStatement();

} // namespace

class TestInicial : public QObject {
    Q_OBJECT
private slots:
    void controlPlaces_data();
    void controlPlaces();
    void fontsAreSubstituted();
    void menuItemsInOrder();
    void emptyCatalogue();
    void countersAndMenuRules_data();
    void countersAndMenuRules();
    void drawFeaturesTheDrawnCode_data();
    void drawFeaturesTheDrawnCode();
    void gapInCodesFeaturesAnotherClub();
    void nothingFindableClearsThePanel_data();
    void nothingFindableClearsThePanel();
    void pictureFailureStopsTheFill_data();
    void pictureFailureStopsTheFill();
    void badgeSvgDrawingItselfIsReported();
    void counterErrorKeepsWhatWasSet();
    void recountsOnReturnFromAnotherWindow();
    void informacoesAndBack();
    void entryBoxClosingDrawsAgain();
    void commandsOpenTheirWindows_data();
    void commandsOpenTheirWindows();
    void cadastroOnEmptyCatalogue();
    void sairNoChangesNothing();
    void sairYesEndsTheProgram();
    void closeBoxAsksLikeSair_data();
    void closeBoxAsksLikeSair();
    void sairWithUnsavedClub_data();
    void sairWithUnsavedClub();
};

namespace {

// Runs leave (a way out of the main window) inside the program's event loop and
// tells whether the program ended; a loop nobody ends fails after a while.
bool endsTheProgram(TFrmInicial& main, const std::function<void()>& leave) {
    QSignalSpy quitting(qApp, &QCoreApplication::aboutToQuit);
    QTimer::singleShot(0, &main, leave);
    QTimer::singleShot(300, &main, [] { QCoreApplication::exit(7); });
    const int code = QCoreApplication::exec();
    return code == 0 && quitting.count() == 1;
}

} // namespace

void TestInicial::controlPlaces_data() {
    test::addPlaceRows(layout::inicial);
}

void TestInicial::controlPlaces() {
    QFETCH(QString, name);
    MainRig c;
    VelmoraApp& app = c.start();
    test::checkControl(app.FrmInicial->client(), layout::inicial, name);
}

void TestInicial::fontsAreSubstituted() {
    MainRig c;
    VelmoraApp& app = c.start();
    // The named faces are not installed; their look-alikes are what is drawn.
    QCOMPARE(QFontInfo(app.FrmInicial->LblQtdeClubes->font()).family(), QString("Bebas Neue Bold"));
    QCOMPARE(QFontInfo(app.FrmInicial->LblNomeClube->font()).family(), QString("Carlito"));
    QCOMPARE(QFontInfo(app.FrmInicial->LblQtdeClubes->font()).pixelSize(), 24);
    // The background artwork is there, stretched over the window.
    QVERIFY(!app.FrmInicial->ImgFundo->pixmap().isNull());
    QVERIFY(c.dialogs.shown().isEmpty());
    QCOMPARE(app.FrmInicial->LblQtdeClubes->palette().color(QPalette::WindowText),
             QColor::fromRgb(layout::counterGrey));
}

void TestInicial::menuItemsInOrder() {
    MainRig c;
    TFrmInicial& f = *c.start().FrmInicial;
    QCOMPARE(f.menuBar(), f.MnInicial);
    QCOMPARE(f.MnInicial->objectName(), QString("MnInicial"));

    QStringList got;
    for (QAction* top : f.MnInicial->actions()) {
        QMenu* menu = top->menu();
        QVERIFY(menu);
        got << menu->objectName() + " " + top->iconText();
        for (QAction* item : menu->actions())
            got << (item->isSeparator() ? QString("  -")
                                        : "  " + item->objectName() + " " + item->iconText());
    }
    const QStringList expected = {
        "Arquivo1 Arquivo",
        "  Sair1 Sair",
        "Utilitrios1 Utilitários",
        "  CadastrodeClubes1 Cadastro de Clubes",
        "Relatrios1 Relatórios",
        "  ClubesBrasileiros1 Clubes Brasileiros",
        "  Clubesporestado1 Clubes por Estado",
        "  ClubesporPas1 Clubes por País",
        "  PorAnodeFundao1 Por Ano de Fundação",
        "  ClubesporFederao1 Clubes por Federação",
        "  PesquisarClubeSeleoporNome1 Pesquisar Clube/Seleção por Nome",
        "  ClubesExtintos1 Clubes/Seleções Extintos",
        "  -",
        "  odososClubesCadastrados1 Todos os Clubes Cadastrados",
        "  odasasSeleesCadastradas1 Todas as Seleções Cadastradas",
        "  DadosdoClube1 Detalhe do Clube/Seleção",
        "  -",
        "  Estatisticas1 Estatísticas",
        "Ajuda1 Ajuda",
        "  Informaes1 Informações",
    };
    QCOMPARE(got, expected);
}

void TestInicial::emptyCatalogue() {
    MainRig c;
    VelmoraApp& app = c.start();
    TFrmInicial& f = *app.FrmInicial;
    // A featured club left from before must go too.
    f.LblNomeClube->setText("antigo");
    f.LblPais->setText("XXX");
    f.ImgEscudo->setPixmap(QPixmap(4, 4));

    f.FormActivate();

    QCOMPARE(counterTexts(f), QStringList({"0", "0", "0", "0", "0"}));
    QCOMPARE(enabledReports(f), QStringList());
    QVERIFY(panelEmpty(f));
    QVERIFY(f.Sair1->isEnabled() && f.CadastrodeClubes1->isEnabled() && f.Informaes1->isEnabled());
    // No featured statement ran: the extinct counter was the last one.
    QCOMPARE(c.lastLine(), QString("where extinto = 1"));
    QVERIFY(c.dialogs.shown().isEmpty());
}

void TestInicial::countersAndMenuRules_data() {
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("counters"); // clubes, brasil, outros, seleções, extintos
    QTest::addColumn<QStringList>("enabled");

    const QStringList anyRow = {"PesquisarClubeSeleoporNome1", "ClubesExtintos1",
                                "odasasSeleesCadastradas1", "DadosdoClube1", "Estatisticas1"};
    row("national teams only", QStringList{"selecao Brasil 0", "selecao Argentina 0"},
        QStringList{"0", "0", "0", "2", "0"}, anyRow);
    row("extinct only, one Brazilian", QStringList{"clube Brasil 1", "clube Argentina 1"},
        QStringList{"0", "1", "1", "0", "2"},
        QStringList{"ClubesBrasileiros1", "Clubesporestado1"} + anyRow);
    row("extinct only, none Brazilian", QStringList{"clube Argentina 1"},
        QStringList{"0", "0", "1", "0", "1"}, anyRow);
    row("foreign clubs only", QStringList{"clube Argentina 0", "clube Inglaterra 0"},
        QStringList{"2", "0", "2", "0", "0"},
        QStringList{"ClubesporPas1", "PorAnodeFundao1", "ClubesporFederao1"} + anyRow +
            QStringList{"odososClubesCadastrados1"});
    // Brazilian and other-country counters count extinct clubs; the extinct counter
    // counts national teams; none counts the other kind.
    row("mixed",
        QStringList{"clube Brasil 0", "clube Brasil 1", "clube Argentina 0", "selecao Uruguai 1",
                    "selecao Brasil 0"},
        QStringList{"2", "2", "1", "2", "2"}, allReports);
}

void TestInicial::countersAndMenuRules() {
    QFETCH(QStringList, rows);
    QFETCH(QStringList, counters);
    QFETCH(QStringList, enabled);

    MainRig c;
    seed(c.store, rows);
    TFrmInicial& f = *c.start().FrmInicial;
    // Start from the opposite state so every rule has to act.
    for (QAction* a : f.Relatrios1->actions())
        a->setEnabled(!enabled.contains(a->objectName()));

    f.FormActivate();

    QCOMPARE(counterTexts(f), counters);
    QStringList sortedEnabled = enabled;
    sortedEnabled.sort();
    QStringList got = enabledReports(f);
    got.sort();
    QCOMPARE(got, sortedEnabled);
    QVERIFY(!f.LblNomeClube->text().isEmpty()); // something is featured
    QVERIFY(c.dialogs.shown().isEmpty());
}

void TestInicial::drawFeaturesTheDrawnCode_data() {
    QTest::addColumn<int>("draw");
    QTest::addColumn<QString>("name");
    QTest::newRow("0 -> code 1") << 0 << "Primeiro";
    QTest::newRow("1 -> code 2") << 1 << "Segundo";
}

void TestInicial::drawFeaturesTheDrawnCode() {
    QFETCH(int, draw);
    QFETCH(QString, name);

    MainRig c;
    const Club first = c.store.add(1, "Primeiro", "Brasil", "SP");
    const Club second = c.store.add(2, "Segundo", "Argentina");
    const Club& featured = draw == 0 ? first : second;
    TFrmInicial& f = *c.start().FrmInicial;
    c.random.queue(draw);

    f.FormActivate();

    QCOMPARE(c.app().dm().QueryTodosClubes.lines(), featuredLines);
    QCOMPARE(f.LblNomeClube->text(), name);
    QCOMPARE(f.LblNomeCompleto->text(), featured.nomeCompletoClube);
    QCOMPARE(f.LblFederacao->text(), featured.federacao);
    QCOMPARE(f.LblPais->text(), c.store.countryCode(featured.paisClube));
    QCOMPARE(f.LblNomeClube->size(), f.LblNomeClube->sizeHint()); // sized to its text
    QCOMPARE(f.LblNomeCompleto->size(), f.LblNomeCompleto->sizeHint());
    for (QLabel* picture : {f.ImgEscudo, f.ImgBandPais, f.ImgLogoFeder}) {
        QVERIFY(!picture->pixmap().isNull());
        QVERIFY(picture->hasScaledContents());
    }
    QCOMPARE(f.ImgEscudo->pixmap().toImage(),
             c.app().pictures.load(featured.escudoClube, f.ImgEscudo->size()));
    QCOMPARE(f.ImgBandPais->pixmap().toImage(),
             c.app().pictures.load(featured.bandeiraPais, f.ImgBandPais->size()));
    QVERIFY(c.dialogs.shown().isEmpty());
}

void TestInicial::gapInCodesFeaturesAnotherClub() {
    // Code 2 was deleted: two rows, codes 1 and 3.
    MainRig c;
    c.store.add(1, "Um");
    c.store.add(3, "Tres", "Argentina");
    TFrmInicial& f = *c.start().FrmInicial;

    // Code 2 finds no row; the draws that follow go up to the highest code, and each
    // club that can be found can come.
    QSet<QString> featured;
    for (int redraw : {0, 2}) {
        f.LblNomeClube->setText("antigo");
        c.random.queue(1);
        c.random.queue(redraw);
        f.FormActivate();
        featured << f.LblNomeClube->text();
        QCOMPARE(c.app().dm().QueryTodosClubes.lines(), featuredLines);
        QVERIFY(!f.ImgEscudo->pixmap().isNull());
        QVERIFY(!f.ImgBandPais->pixmap().isNull());
        QVERIFY(!f.ImgLogoFeder->pixmap().isNull());
        QVERIFY(!f.LblPais->text().isEmpty());
    }
    QCOMPARE(featured, QSet<QString>({"Um", "Tres"}));
    QCOMPARE(c.dialogs.shown().size(), 0);
}

void TestInicial::nothingFindableClearsThePanel_data() {
    QTest::addColumn<QStringList>("countries"); // of codes 1, 2, ...
    QTest::addColumn<int>("draw");
    QTest::addColumn<QString>("name"); // featured, "" for none

    // A country missing from Paises.DB drops the club out of the join.
    row("drawn club's country missing", QStringList{"Atlântida", "Brasil"}, 0, "Time2");
    row("only club's country missing", QStringList{"Atlântida"}, 0, "");
    row("no club findable", QStringList{"Atlântida", "Lemúria"}, 1, "");
}

void TestInicial::nothingFindableClearsThePanel() {
    QFETCH(QStringList, countries);
    QFETCH(int, draw);
    QFETCH(QString, name);

    MainRig c;
    for (int i = 0; i < countries.size(); ++i)
        c.store.add(i + 1, QStringLiteral("Time%1").arg(i + 1), countries[i], QString());
    TFrmInicial& f = *c.start().FrmInicial;
    f.LblNomeClube->setText("antigo");
    f.ImgEscudo->setPixmap(QPixmap(4, 4));
    c.random.queue(draw);

    f.FormActivate();

    // The club is counted although no gallery can find it.
    QCOMPARE(f.LblQtdeClubes->text(), QString::number(countries.size()));
    QCOMPARE(enabledReports(f).contains("DadosdoClube1"), true);
    if (name.isEmpty())
        QVERIFY(panelEmpty(f));
    else
        QCOMPARE(f.LblNomeClube->text(), name);
    QVERIFY(c.dialogs.shown().isEmpty());
}

void TestInicial::pictureFailureStopsTheFill_data() {
    QTest::addColumn<QString>("broken"); // picture of the second club whose file is gone
    QTest::addColumn<bool>("flagReplaced");
    QTest::addColumn<bool>("badgeReplaced");

    QTest::newRow("country flag") << "BandeiraPais" << false << false;
    QTest::newRow("badge") << "EscudoClube" << true << false;
    QTest::newRow("federation logo") << "LogoFederacao" << true << true;
}

void TestInicial::pictureFailureStopsTheFill() {
    QFETCH(QString, broken);
    QFETCH(bool, flagReplaced);
    QFETCH(bool, badgeReplaced);

    MainRig c;
    const Club before = c.store.add(1, "Primeiro", "Brasil", "SP");
    const Club next = c.store.add(2, "Segundo", "Argentina");
    TFrmInicial& f = *c.start().FrmInicial;
    c.random.queue(0);
    f.FormActivate();
    QCOMPARE(f.LblNomeClube->text(), QString("Primeiro"));
    const qint64 flag = f.ImgBandPais->pixmap().cacheKey();
    const qint64 badge = f.ImgEscudo->pixmap().cacheKey();
    const qint64 logo = f.ImgLogoFeder->pixmap().cacheKey();

    const QString gone = broken == "BandeiraPais"  ? next.bandeiraPais
                         : broken == "EscudoClube" ? next.escudoClube
                                                   : next.logoFederacao;
    QVERIFY(QFile::remove(gone));
    c.random.queue(1);
    f.FormActivate();

    // The general error report, with the failure's own text.
    QCOMPARE(c.dialogs.shown().size(), 1);
    const auto& box = c.dialogs.shown().first();
    QCOMPARE(box.caption, QString("VELMORA v1.0"));
    QCOMPARE(box.icon, MsgIcon::Error);
    QVERIFY2(box.text.contains(gone), qPrintable(box.text));
    // Filled before the failure: the new club.
    QCOMPARE(f.LblNomeClube->text(), QString("Segundo"));
    QCOMPARE(f.LblNomeCompleto->text(), next.nomeCompletoClube);
    QCOMPARE(f.LblFederacao->text(), next.federacao);
    // From the failure on: what the previous club left.
    QCOMPARE(f.ImgBandPais->pixmap().cacheKey() != flag, flagReplaced);
    QCOMPARE(f.ImgEscudo->pixmap().cacheKey() != badge, badgeReplaced);
    QCOMPARE(f.ImgLogoFeder->pixmap().cacheKey(), logo);
    QCOMPARE(f.LblPais->text(), c.store.countryCode(before.paisClube));
}

// A badge SVG that draws itself once ended every start-up of a catalogue holding it:
// featured, it is reported like any picture that fails, and the program goes on.
void TestInicial::badgeSvgDrawingItselfIsReported() {
    MainRig c;
    Club loop = c.store.club(1, "Primeiro", "Brasil", "SP");
    loop.escudoClube = c.store.path(QStringLiteral("Distintivos/laco.svg"));
    QFile file(loop.escudoClube);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<svg xmlns=\"http://www.w3.org/2000/svg\" "
               "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"9\" height=\"9\">"
               "<image width=\"9\" height=\"9\" xlink:href=\"laco.svg\"/></svg>");
    file.close();
    c.store.insert(loop);
    TFrmInicial& f = *c.start().FrmInicial;
    c.random.queue(0);
    f.FormActivate();
    QCOMPARE(f.LblNomeClube->text(), QString("Primeiro"));
    QCOMPARE(c.dialogs.shown().size(), 1);
    QVERIFY2(c.dialogs.shown().first().text.contains(loop.escudoClube),
             qPrintable(c.dialogs.shown().first().text));
    QVERIFY(f.ImgEscudo->pixmap().isNull());
}

void TestInicial::counterErrorKeepsWhatWasSet() {
    MainRig c;
    seed(c.store, {"clube Brasil 0"});
    TFrmInicial& f = *c.start().FrmInicial;
    f.FormActivate();
    QCOMPARE(counterTexts(f), QStringList({"1", "1", "0", "0", "0"}));

    // A national team arrives, then the extinct field goes away: the first counter
    // still runs, the second fails.
    c.store.insert(c.store.selecao(2, "Seleção", "Argentina"));
    c.store.exec("alter table Clubes rename column Extinto to Sumido");
    c.store.exec("alter table ContagemClubes rename column Extinto to Sumido"); // kept counts
    f.FormActivate();

    QCOMPARE(c.dialogs.shown().size(), 1);
    QCOMPARE(c.dialogs.shown().first().caption, QString("VELMORA v1.0"));
    QCOMPARE(c.dialogs.shown().first().icon, MsgIcon::Error);
    QCOMPARE(f.LblSelecoes->text(), QString("1"));
    QCOMPARE(f.LblQtdeClubes->text(), QString("1")); // the failing statement set nothing
    QCOMPARE(f.LblNomeClube->text(), QString("Time1"));
}

void TestInicial::recountsOnReturnFromAnotherWindow() {
    MainRig c;
    seed(c.store, {"clube Brasil 0"});
    VelmoraApp& app = c.start();
    QVERIFY(activate(app, app.FrmInicial.get()));
    QCOMPARE(app.FrmInicial->LblQtdeClubes->text(), QString("1"));

    QVERIFY(activate(app, app.FrmClubes.get()));
    c.store.add(2, "Novo", "Argentina");
    QVERIFY(activate(app, app.FrmInicial.get()));

    QCOMPARE(counterTexts(*app.FrmInicial), QStringList({"2", "1", "1", "0", "0"}));
}

void TestInicial::informacoesAndBack() {
    MainRig c;
    seed(c.store, {"clube Brasil 0", "clube Argentina 0"});
    VelmoraApp& app = c.start();
    c.random.queue(0);
    QVERIFY(activate(app, app.FrmInicial.get()));
    QCOMPARE(app.FrmInicial->LblNomeClube->text(), QString("Time1"));

    app.FrmInicial->Informaes1Click();
    QVERIFY(QTest::qWaitForWindowActive(app.FrmInformacoes.get()));
    QVERIFY(app.FrmInicial->isVisible()); // stays underneath

    c.random.queue(1);
    app.FrmInformacoes->Voltar1Click();
    QVERIFY(!app.FrmInformacoes->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(app.FrmInicial.get()));
    QTRY_COMPARE(app.forms.lastActive(), static_cast<Form*>(app.FrmInicial.get()));
    // Activated again: a new draw.
    QCOMPARE(app.FrmInicial->LblNomeClube->text(), QString("Time2"));
    QVERIFY(c.dialogs.shown().isEmpty());
}

void TestInicial::entryBoxClosingDrawsAgain() {
    MainRig c;
    seed(c.store, {"clube Brasil 0", "clube Brasil 0"});
    VelmoraApp& app = c.start();
    c.random.queue(0);
    QVERIFY(activate(app, app.FrmInicial.get()));
    QCOMPARE(app.FrmInicial->LblNomeClube->text(), QString("Time1"));

    // "Clubes por Estado" asks for the state in an entry box; cancelling it ends the
    // command, and the main window, active again, draws anew.
    c.random.queue(1);
    app.FrmInicial->Clubesporestado1->trigger();

    QCOMPARE(c.dialogs.shown().size(), 1);
    QCOMPARE(c.dialogs.shown().first().kind, QString("entry"));
    QCOMPARE(app.FrmInicial->LblNomeClube->text(), QString("Time2"));
}

void TestInicial::commandsOpenTheirWindows_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("window");
    row("Cadastro de Clubes", "CadastrodeClubes1", "FrmClubes");
    row("Por Ano de Fundação", "PorAnodeFundao1", "FrmAno");
    row("Clubes por Federação", "ClubesporFederao1", "FrmSelFeder");
    row("Detalhe do Clube/Seleção", "DadosdoClube1", "FrmSelClube");
    row("Informações", "Informaes1", "FrmInformacoes");
}

void TestInicial::commandsOpenTheirWindows() {
    QFETCH(QString, command);
    QFETCH(QString, window);

    MainRig c;
    seed(c.store, {"clube Brasil 0", "selecao Argentina 0"});
    VelmoraApp& app = c.start();
    QVERIFY(activate(app, app.FrmInicial.get()));
    auto* selecao = app.FrmSelClube->findChild<QRadioButton*>("rbSelecao");
    auto* clube = app.FrmSelClube->findChild<QRadioButton*>("rbClube");
    if (selecao && clube) {
        selecao->setChecked(true);
        clube->setChecked(true);
    }

    auto* action = app.FrmInicial->findChild<QAction*>(command);
    QVERIFY(action);
    action->trigger(); // the menu item itself, as a click on it

    QWidget* opened = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == window)
            opened = w;
    QVERIFY(opened);
    QVERIFY(opened->isVisible());
    QVERIFY(app.FrmInicial->isVisible());
    if (window == "FrmSelClube") {
        QVERIFY(selecao && clube);
        QVERIFY(!selecao->isChecked() && !clube->isChecked());
    }
}

void TestInicial::cadastroOnEmptyCatalogue() {
    // No row to display: the editor opens without its record display failing.
    MainRig c;
    VelmoraApp& app = c.start();
    app.FrmInicial->CadastrodeClubes1Click();
    QVERIFY(app.FrmClubes->isVisible());
    QVERIFY(c.dialogs.messages().isEmpty());
}

void TestInicial::sairNoChangesNothing() {
    MainRig c;
    seed(c.store, {"clube Brasil 0"});
    VelmoraApp& app = c.start();
    QVERIFY(activate(app, app.FrmInicial.get()));
    const QStringList counters = counterTexts(*app.FrmInicial);
    const QString lastLine = c.lastLine();
    c.dialogs.queueAnswer(MsgResult::No);

    app.FrmInicial->Sair1->trigger();

    QCOMPARE(c.dialogs.shown().size(), 1);
    const auto& box = c.dialogs.shown().first();
    QCOMPARE(box.caption, QString("Velmora"));
    QCOMPARE(box.text, QString("Deseja sair do cadastro?"));
    QCOMPARE(box.icon, MsgIcon::Question);
    QCOMPARE(box.buttons, MsgButtons::YesNo);
    QVERIFY(app.FrmInicial->isVisible());
    QCOMPARE(counterTexts(*app.FrmInicial), counters);
    QCOMPARE(c.lastLine(), lastLine); // no statement ran
}

void TestInicial::sairYesEndsTheProgram() {
    MainRig c;
    VelmoraApp& app = c.start();
    QVERIFY(activate(app, app.FrmInicial.get()));
    QSignalSpy quitting(qApp, &QCoreApplication::aboutToQuit);
    c.dialogs.queueAnswer(MsgResult::Yes);

    QTimer::singleShot(0, app.FrmInicial.get(), [&app] { app.FrmInicial->Sair1Click(); });
    // Only a guard against a hang: a loop nobody ends fails the test.
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
    guard.start(20000);
    const int code = QCoreApplication::exec();
    guard.stop();

    QCOMPARE(code, 0);
    QCOMPARE(quitting.count(), 1);
    QVERIFY(!app.FrmInicial->isVisible());
}

void TestInicial::closeBoxAsksLikeSair_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("answered No: nothing happens") << false;
    QTest::newRow("answered Yes: the program ends") << true;
}

// The window manager's close box (and Alt+F4) on the main window is "Sair".
void TestInicial::closeBoxAsksLikeSair() {
    QFETCH(bool, yes);
    MainRig c;
    VelmoraApp& app = c.start();
    QVERIFY(activate(app, app.FrmInicial.get()));
    c.dialogs.queueAnswer(yes ? MsgResult::Yes : MsgResult::No);

    QCOMPARE(endsTheProgram(c.main(), [&c] { c.main().close(); }), yes);
    QCOMPARE(c.dialogs.messages(), QStringList{"Deseja sair do cadastro?"});
    QCOMPARE(c.dialogs.shown().first().buttons, MsgButtons::YesNo);
    QCOMPARE(c.main().isVisible(), !yes);
}

void TestInicial::sairWithUnsavedClub_data() {
    QTest::addColumn<bool>("inserting");
    QTest::addColumn<bool>("discard");
    QTest::newRow("new club, kept") << true << false;
    QTest::newRow("new club, discarded") << true << true;
    QTest::newRow("edited club, kept") << false << false;
    QTest::newRow("edited club, discarded") << false << true;
}

// "Sair" answered Yes never drops the editor's unsaved row without asking.
void TestInicial::sairWithUnsavedClub() {
    QFETCH(bool, inserting);
    QFETCH(bool, discard);
    MainRig c;
    c.store.add(1, QStringLiteral("Santos"));
    VelmoraApp& app = c.start();
    TFrmClubes& editor = *app.FrmClubes;
    c.main().CadastrodeClubes1Click();
    if (inserting)
        editor.Novo1->trigger();
    else
        editor.Alterar1->trigger();
    editor.EdtNomeClube->setText(QStringLiteral("Boca"));
    QVERIFY(activate(app, app.FrmInicial.get()));
    c.dialogs.clearLog();
    c.dialogs.queueAnswer(MsgResult::Yes); // "Deseja sair do cadastro?"
    c.dialogs.queueAnswer(discard ? MsgResult::Yes : MsgResult::No);

    QCOMPARE(endsTheProgram(c.main(), [&c] { c.main().Sair1Click(); }), discard);
    const auto shown = c.dialogs.shown();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.at(1).icon, MsgIcon::Question);
    QCOMPARE(shown.at(1).buttons, MsgButtons::YesNo);
    QVERIFY2(shown.at(1).text.contains(QStringLiteral("não foi gravado")),
             qPrintable(shown.at(1).text));
    QCOMPARE(c.store.column(QStringLiteral("select NomeClube from Clubes")),
             QStringList{"Santos"}); // nothing half-saved either way
    if (discard)
        return;
    // No: everything as it was, the row still pending with what was typed.
    QVERIFY(c.main().isVisible());
    QVERIFY(editor.isVisible());
    QVERIFY(editor.editing());
    QCOMPARE(editor.EdtNomeClube->text(), QStringLiteral("Boca"));
    QCOMPARE(app.dm().TblClubes.state(), inserting ? Table::State::Insert : Table::State::Edit);
}

QTEST_MAIN(TestInicial)
#include "test_inicial.moc"
