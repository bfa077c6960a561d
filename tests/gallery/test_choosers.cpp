// The year and federation choosers and their galleries.
#include "app/Inicial.h"
#include "gallery/Anos.h"
#include "gallery/FederSel.h"
#include "store/Module.h"
#include "tests/gallery/GalleryTest.h"
#include "tests/support/Rows.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QtTest>
#include <functional>

using namespace velmora;
using velmora::test::AppFixture;
using velmora::test::Club;
using velmora::test::expectedNames;
using velmora::test::GalleryRig;
using velmora::test::row;
using velmora::test::TestStore;

namespace {

// Scripted boxes that also note, at each message box, whether the choosers are up.
class WatchingDialogs final : public Dialogs {
public:
    explicit WatchingDialogs(ScriptedDialogs& log) : log(log) {}
    MsgResult message(const QString& caption, const QString& text, MsgIcon icon,
                      MsgButtons buttons) override {
        if (onMessage)
            onMessage();
        return log.message(caption, text, icon, buttons);
    }
    QString entry(const QString& caption, const QString& prompt) override {
        return log.entry(caption, prompt);
    }
    bool openPicture(QString& fileName) override { return log.openPicture(fileName); }
    bool savePdf(QString& fileName) override { return log.savePdf(fileName); }

    ScriptedDialogs& log;
    std::function<void()> onMessage;
};

struct Choosers : GalleryRig {
    WatchingDialogs watching{dialogs};
    QStringList chooserVisibleAtMessage; // "FrmAno" / "FrmSelFeder" up when a box showed

    VelmoraApp& start() {
        Environment env = environment();
        env.dialogs = &watching;
        AppFixture::start(env);
        watching.onMessage = [this] {
            for (Form* f : {static_cast<Form*>(app().FrmAno.get()),
                            static_cast<Form*>(app().FrmSelFeder.get())})
                if (f->isVisible())
                    chooserVisibleAtMessage << f->objectName();
        };
        return app();
    }
    TFrmAno& ano() { return *app().FrmAno; }
    TFrmSelFeder& feder() { return *app().FrmSelFeder; }
    QStringList messages() const { return dialogs.messages(); }

    // Shows a chooser the way the main window's menu does; its activation fills the list.
    bool open(Form* chooser) {
        app().forms.show(chooser);
        return QTest::qWaitForWindowActive(chooser) && app().forms.lastActive() == chooser;
    }
    void chooseYear(int year) {
        open(&ano());
        ano().ComboAnos->setCurrentText(QString::number(year));
    }
    void chooseFederation(const QString& name) {
        open(&feder());
        feder().ComboFeder->setCurrentText(name);
    }
    // Clubs prefix01.. founded in year with a federation.
    void addClubs(int count, const QString& prefix, int year, const QString& federacao,
                  int firstCode = 1, int identificador = 0) {
        for (int i = 0; i < count; ++i) {
            const QString name = prefix + QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0'));
            Club c = identificador ? store.selecao(firstCode + i, name, QStringLiteral("Uruguai"))
                                   : store.club(firstCode + i, name);
            c.anoFundacao = year;
            c.federacao = federacao;
            c.logoFederacao = store.logo(federacao);
            store.insert(c);
        }
    }
};

QStringList items(QComboBox* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

} // namespace

class TestChoosers : public QObject {
    Q_OBJECT
private slots:
    void yearChooserLayout();
    void yearListRefillsAtEachActivation();
    void yearGallery_data();
    void yearGallery();
    void emptyChoiceWarnsAndStaysOpen_data();
    void emptyChoiceWarnsAndStaysOpen();
    void noClubClosesThenWarns_data();
    void noClubClosesThenWarns();
    void federationChooserLayout();
    void federationActivationEmptiesChoiceAndPreview();
    void federationPreviewFailureKeepsTheOldLogo();
    void federationGalleryTakesTheFirstRowsLogo();
    void yearGalleryAfterFederationShowsNoLogo();
    void titleLogoFailureKeepsTheChooserOpen();
};

void TestChoosers::yearChooserLayout() {
    Choosers c;
    c.start();
    TFrmAno& f = c.ano();
    QCOMPARE(f.windowTitle(), QStringLiteral("Velmora"));
    QCOMPARE(f.client()->size(), QSize(272, 56));
    QCOMPARE(f.Label1->text(), QStringLiteral("Selecione o ano:"));
    QCOMPARE(f.Label1->font().family(), QStringLiteral("Corbel"));
    QCOMPARE(f.Label1->font().pixelSize(), 15);
    QVERIFY(f.Label1->font().bold());
    QCOMPARE(f.ComboAnos->width(), 81);
    QVERIFY(!f.ComboAnos->isEditable());
    f.ComboAnos->addItem(QStringLiteral("1910"));
    QCOMPARE(f.ComboAnos->view()->sizeHintForRow(0), 16);
    f.ComboAnos->clear();
    QCOMPARE(f.BtnOk->text(), QStringLiteral("OK"));
    QVERIFY(!f.BtnOk->icon().isNull());
    for (QWidget* w : {static_cast<QWidget*>(f.Label1), static_cast<QWidget*>(f.ComboAnos),
                       static_cast<QWidget*>(f.BtnOk)})
        QVERIFY2(f.client()->rect().contains(w->geometry()), qPrintable(w->objectName()));
}

void TestChoosers::yearListRefillsAtEachActivation() {
    Choosers c;
    VelmoraApp& app = c.start();
    QStringList years;
    for (int y = 1850; y <= 2050; ++y)
        years << QString::number(y);

    QVERIFY(c.open(&c.ano()));
    QCOMPARE(items(c.ano().ComboAnos), years);
    QCOMPARE(c.ano().ComboAnos->currentIndex(), -1);
    QCOMPARE(app.dm().QueryConsulta.lines(),
             QStringList{QStringLiteral("select ano from anos.db")});

    c.ano().ComboAnos->setCurrentText(QStringLiteral("1910"));
    QVERIFY(c.open(app.FrmInicial.get()));
    QVERIFY(c.open(&c.ano()));
    QCOMPARE(items(c.ano().ComboAnos), years); // each year once
    QCOMPARE(c.ano().ComboAnos->currentText(), QString());
}

void TestChoosers::yearGallery_data() {
    QTest::addColumn<int>("clubs");
    QTest::newRow("12 clubs") << 12;
    QTest::newRow("13 clubs") << 13;
}

void TestChoosers::yearGallery() {
    QFETCH(int, clubs);

    Choosers c;
    c.addClubs(clubs, QStringLiteral("Clube"), 1910, QStringLiteral("CBF"));
    c.addClubs(2, QStringLiteral("Sel"), 1910, QStringLiteral("FIFA"), 100, 1);
    c.addClubs(2, QStringLiteral("Outro"), 1911, QStringLiteral("CBF"), 200);
    c.start();
    c.chooseYear(1910);
    QTest::mouseClick(c.ano().BtnOk, Qt::LeftButton);

    QVERIFY(c.messages().isEmpty());
    QVERIFY(!c.ano().isVisible());
    QVERIFY(c.page().isVisible());
    QCOMPARE(c.page().LblTitulo->text(),
             QStringLiteral("Relação de Todos Clubes fundados em 1910 (%1)").arg(clubs));
    QCOMPARE(c.slotNames(), expectedNames(QStringLiteral("Clube"), 1, 12));
    for (QLabel* box : {c.page().ImgBandTitulo, c.page().ImgFeder}) {
        QVERIFY(box->isHidden());
        QVERIFY(box->pixmap().isNull());
    }
    QPushButton* next = c.page().pageButton(PageButton::AnoFund);
    QCOMPARE(!next->isHidden(), clubs > 12);
    if (clubs > 12) {
        QTest::mouseClick(next, Qt::LeftButton);
        QCOMPARE(c.slotNames(), expectedNames(QStringLiteral("Clube"), 13, 13));
        QVERIFY(next->isHidden());
    }
}

void TestChoosers::emptyChoiceWarnsAndStaysOpen_data() {
    QTest::addColumn<bool>("year");
    QTest::addColumn<QString>("warning");
    QTest::newRow("year") << true << "É necessário selecionar um ano";
    QTest::newRow("federation") << false << "É necessário selecionar uma Federação";
}

void TestChoosers::emptyChoiceWarnsAndStaysOpen() {
    QFETCH(bool, year);
    QFETCH(QString, warning);

    Choosers c;
    c.addClubs(3, QStringLiteral("Clube"), 1910, QStringLiteral("CBF"));
    c.start();
    Form* chooser = year ? static_cast<Form*>(&c.ano()) : static_cast<Form*>(&c.feder());
    QVERIFY(c.open(chooser));
    QTest::mouseClick(year ? c.ano().BtnOk : c.feder().BtnOk, Qt::LeftButton);
    QCOMPARE(c.messages(), QStringList{warning});
    QCOMPARE(c.dialogs.shown()[0].caption, QStringLiteral("Velmora"));
    QCOMPARE(c.dialogs.shown()[0].icon, MsgIcon::Warning);
    QVERIFY(chooser->isVisible());
    QVERIFY(!c.page().isVisible());
    QVERIFY(c.page().LblTitulo->text().isEmpty());
}

void TestChoosers::noClubClosesThenWarns_data() {
    QTest::addColumn<bool>("year");
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("warning");
    // 1911: a national team only. 1920: a club whose country Paises.DB lacks (counted,
    // never listed). FERJ: named by no club. UEFA: its one club lacks its country.
    row("year of national teams", true, "1911", "Não há nenhum clube fundado neste ano");
    row("year counted, not listed", true, "1920", "Não há nenhum clube fundado neste ano");
    row("federation of no club", false, "FERJ", "Não há nenhum clube cadastrado desta Federação");
    row("federation counted, not listed", false, "UEFA",
        "Não há nenhum clube cadastrado desta Federação");
}

void TestChoosers::noClubClosesThenWarns() {
    QFETCH(bool, year);
    QFETCH(QString, choice);
    QFETCH(QString, warning);

    Choosers c;
    c.addClubs(13, QStringLiteral("Clube"), 1910, QStringLiteral("CBF"));
    c.addClubs(1, QStringLiteral("Sel"), 1911, QStringLiteral("FIFA"), 100, 1);
    Club lost = c.store.club(200, QStringLiteral("Fantasma"), QStringLiteral("Atlântida"));
    lost.anoFundacao = 1920;
    lost.federacao = QStringLiteral("UEFA");
    lost.logoFederacao = c.store.logo(lost.federacao);
    c.store.insert(lost);
    VelmoraApp& app = c.start();
    // A page of another gallery, which the warning leaves as it was.
    c.chooseYear(1910);
    c.ano().BtnOkClick();
    const QString title = c.page().LblTitulo->text();

    Form* chooser = year ? static_cast<Form*>(&c.ano()) : static_cast<Form*>(&c.feder());
    if (year)
        c.chooseYear(choice.toInt());
    else
        c.chooseFederation(choice);
    QVERIFY(chooser->isVisible());
    (year ? c.ano().BtnOk : c.feder().BtnOk)->click();

    QCOMPARE(c.messages(), QStringList{warning});
    QCOMPARE(c.dialogs.shown().last().icon, MsgIcon::Warning);
    QVERIFY(c.chooserVisibleAtMessage.isEmpty()); // closed before the warning
    QVERIFY(!chooser->isVisible());
    QCOMPARE(c.page().LblTitulo->text(), title);
    QCOMPARE(c.slotNames(), expectedNames(QStringLiteral("Clube"), 1, 12));
    QVERIFY(!c.page().pageButton(PageButton::AnoFund)->isHidden());
    // The page still pages its own listing.
    QTest::mouseClick(c.page().pageButton(PageButton::AnoFund), Qt::LeftButton);
    QCOMPARE(c.slotNames(), expectedNames(QStringLiteral("Clube"), 13, 13));
    Q_UNUSED(app);
}

void TestChoosers::federationChooserLayout() {
    Choosers c;
    c.start();
    TFrmSelFeder& f = c.feder();
    QCOMPARE(f.windowTitle(), QStringLiteral("Velmora"));
    QCOMPARE(f.client()->size(), QSize(300, 145));
    QCOMPARE(f.Image1->geometry(), QRect(0, 0, 300, 145));
    QVERIFY(!f.Image1->pixmap().isNull());
    QCOMPARE(f.client()->children().first(), f.Image1);
    QCOMPARE(f.ImgLogoFeder->geometry(), QRect(14, 42, 93, 93));
    QCOMPARE(f.ComboFeder->pos(), QPoint(132, 64));
    QCOMPARE(f.ComboFeder->width(), 140);
    QVERIFY(!f.ComboFeder->isEditable());
    QCOMPARE(f.ComboFeder->font().family(), QStringLiteral("Corbel"));
    QCOMPARE(f.BtnOk->geometry(), QRect(197, 102, 75, 25));
    QCOMPARE(f.BtnOk->text(), QStringLiteral("OK"));
    QVERIFY(!f.BtnOk->icon().isNull());
}

void TestChoosers::federationActivationEmptiesChoiceAndPreview() {
    Choosers c;
    VelmoraApp& app = c.start();
    QVERIFY(c.open(&c.feder()));
    // In the engine's order: the statement asks for none.
    const QStringList federations =
        c.store.column(QStringLiteral("select NomeFederacao from Federacao"));
    QCOMPARE(federations.size(), 6);
    QCOMPARE(items(c.feder().ComboFeder), federations);
    QCOMPARE(c.feder().ComboFeder->currentIndex(), -1);
    QVERIFY(c.feder().ImgLogoFeder->pixmap().isNull());

    // A pick by keyboard previews the logo of Federacao.db, stretched into the box.
    c.feder().ComboFeder->setFocus();
    QTest::keyClick(c.feder().ComboFeder, Qt::Key_Down);
    QCOMPARE(c.feder().ComboFeder->currentText(), federations[0]);
    QTest::keyClick(c.feder().ComboFeder, Qt::Key_Down);
    QCOMPARE(c.feder().ComboFeder->currentText(), federations[1]);
    QVERIFY(c.shows(c.feder().ImgLogoFeder, c.store.logo(federations[1]), true));
    QCOMPARE(
        app.dm().QueryFederacao.lines(),
        QStringList({"select LogoFederacao", "from Federacao.db", "where NomeFederacao = :FEDER"}));

    QVERIFY(c.open(app.FrmInicial.get()));
    QVERIFY(c.open(&c.feder()));
    QCOMPARE(items(c.feder().ComboFeder), federations);
    QCOMPARE(c.feder().ComboFeder->currentIndex(), -1);
    QVERIFY(c.feder().ImgLogoFeder->pixmap().isNull());
    QVERIFY(c.messages().isEmpty());
}

void TestChoosers::federationPreviewFailureKeepsTheOldLogo() {
    Choosers c;
    const QString third =
        c.store.column(QStringLiteral("select NomeFederacao from Federacao")).value(2);
    c.store.exec(
        QStringLiteral("update Federacao set LogoFederacao = '%1' where NomeFederacao = '%2'")
            .arg(c.store.path(QStringLiteral("Federacoes/sumiu.jpg")), third));
    c.start();
    QVERIFY(c.open(&c.feder()));
    c.feder().ComboFeder->setFocus();
    QTest::keyClick(c.feder().ComboFeder, Qt::Key_Down);
    QTest::keyClick(c.feder().ComboFeder, Qt::Key_Down);
    const QImage second = c.feder().ImgLogoFeder->pixmap().toImage();
    QVERIFY(!second.isNull());
    QTest::keyClick(c.feder().ComboFeder, Qt::Key_Down);
    QCOMPARE(c.feder().ComboFeder->currentText(), third);
    QCOMPARE(c.dialogs.shown().size(), 1);
    QCOMPARE(c.dialogs.shown()[0].caption, QStringLiteral("VELMORA v1.0"));
    QVERIFY(c.dialogs.shown()[0].text.contains(QLatin1String("sumiu.jpg")));
    QCOMPARE(c.feder().ImgLogoFeder->pixmap().toImage(), second);
}

void TestChoosers::federationGalleryTakesTheFirstRowsLogo() {
    Choosers c;
    c.addClubs(3, QStringLiteral("Clube"), 1910, QStringLiteral("FPF-SP"));
    c.addClubs(2, QStringLiteral("Sel"), 1910, QStringLiteral("FPF-SP"), 100, 1);
    // The first listed club keeps a logo of its own, not the one Federacao.db names now.
    const QString ownLogo = c.store.makeBadge(QStringLiteral("antigo.jpg"), QColor(10, 120, 10));
    c.store.exec(
        QStringLiteral("update Clubes set LogoFederacao = '%1' where NomeClube = 'Clube01'")
            .arg(ownLogo));
    c.start();
    c.chooseFederation(QStringLiteral("FPF-SP"));
    QTest::mouseClick(c.feder().BtnOk, Qt::LeftButton);

    QVERIFY(c.messages().isEmpty());
    QVERIFY(!c.feder().isVisible());
    QCOMPARE(c.page().LblTitulo->text(), QStringLiteral("Relação de Todos Clubes da FPF-SP (3)"));
    QCOMPARE(c.slotNames(), expectedNames(QStringLiteral("Clube"), 1, 3));
    QVERIFY(!c.page().ImgFeder->isHidden());
    QVERIFY(c.shows(c.page().ImgFeder, ownLogo, false));
    QVERIFY(c.page().ImgBandTitulo->isHidden());
    QVERIFY(c.page().ImgBandTitulo->pixmap().isNull());
    QVERIFY(c.page().pageButton(PageButton::FederSel)->isHidden());
}

void TestChoosers::yearGalleryAfterFederationShowsNoLogo() {
    Choosers c;
    c.addClubs(3, QStringLiteral("Clube"), 1910, QStringLiteral("FPF-SP"));
    c.start();
    c.chooseFederation(QStringLiteral("FPF-SP"));
    c.feder().BtnOkClick();
    QVERIFY(!c.page().ImgFeder->pixmap().isNull());
    c.chooseYear(1910);
    c.ano().BtnOkClick();
    QVERIFY(c.messages().isEmpty());
    QVERIFY(c.page().ImgFeder->isHidden());
    QVERIFY(c.page().ImgFeder->pixmap().isNull());
    QVERIFY(c.page().ImgBandTitulo->isHidden());
}

void TestChoosers::titleLogoFailureKeepsTheChooserOpen() {
    Choosers c;
    c.addClubs(3, QStringLiteral("Clube"), 1910, QStringLiteral("FPF-SP"));
    c.store.exec(
        QStringLiteral("update Clubes set LogoFederacao = '%1' where NomeClube = 'Clube01'")
            .arg(c.store.path(QStringLiteral("Federacoes/sumiu.jpg"))));
    c.start();
    c.chooseFederation(QStringLiteral("FPF-SP"));
    c.feder().BtnOkClick();
    QCOMPARE(c.dialogs.shown().size(), 1);
    QCOMPARE(c.dialogs.shown()[0].icon, MsgIcon::Error);
    QVERIFY(c.feder().isVisible());
    QCOMPARE(c.page().LblTitulo->text(), QStringLiteral("Relação de Todos Clubes da FPF-SP (3)"));
    QVERIFY(!c.page().isVisible());
    QCOMPARE(c.slotNames(), expectedNames(QString(), 1, 0));
}

QTEST_MAIN(TestChoosers)
#include "test_choosers.moc"
