// The gallery page: layout, page fill and paging, both slot rules, failing pictures,
// the page's own listing, "Voltar" and "Imprimir".
#include "detail/SelClube.h"
#include "gallery/Anos.h"
#include "gallery/FederSel.h"
#include "gallery/MenuGalleries.h"
#include "store/Module.h"
#include "tests/gallery/GalleryTest.h"
#include "tests/support/Rows.h"

#include <QAction>
#include <QFile>
#include <QFontInfo>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QtTest>

using namespace velmora;
using velmora::test::Club;
using velmora::test::expectedNames;
using velmora::test::GalleryRig;
using velmora::test::row;
using velmora::test::slotText;

namespace {

QPushButton* button(GalleryRig& c, PageButton b) {
    return c.page().pageButton(b);
}

} // namespace

class TestRelatorios : public QObject {
    Q_OBJECT
private slots:
    void slotControlPlaces_data();
    void slotControlPlaces();
    void titleLine();
    void nextPageButtons();
    void menu();
    void paging_data();
    void paging();
    void standardSlotRule_data();
    void standardSlotRule();
    void brazilSlotRule();
    void pictureFailsDuringGalleryFill_data();
    void pictureFailsDuringGalleryFill();
    void pictureFailsOnNextPageLosesNoRow();
    void keepsItsListingWhenOthersReuseQueryConsulta();
    void galleryHidesOtherGalleriesButtons();
    void voltarHidesAndKeepsTheState();
    void imprimirPrintsTheClientArea();
};

void TestRelatorios::slotControlPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect"); // empty size: sized to its text
    QTest::addColumn<int>("pixels"); // 0: a picture
    QTest::addColumn<bool>("bold");

    QTest::newRow("ImgClube1") << "ImgClube1" << QRect(21, 67, 57, 57) << 0 << false;
    QTest::newRow("ImgBandClube1") << "ImgBandClube1" << QRect(118, 71, 49, 33) << 0 << false;
    QTest::newRow("LblSiglaPaisClube1")
        << "LblSiglaPaisClube1" << QRect(118, 106, 49, 14) << 11 << true;
    QTest::newRow("LblNomeClube1") << "LblNomeClube1" << QRect(181, 71, 0, 0) << 12 << true;
    QTest::newRow("LblNomeCompleto1") << "LblNomeCompleto1" << QRect(181, 88, 0, 0) << 11 << false;
    QTest::newRow("LblCidade1") << "LblCidade1" << QRect(181, 104, 0, 0) << 11 << false;
    QTest::newRow("ImgClube3") << "ImgClube3" << QRect(22, 225, 57, 57) << 0 << false;
    QTest::newRow("LblCidade6") << "LblCidade6" << QRect(181, 501, 0, 0) << 11 << false;
    QTest::newRow("ImgClube7") << "ImgClube7" << QRect(419, 66, 57, 57) << 0 << false;
    QTest::newRow("ImgClube9") << "ImgClube9" << QRect(420, 224, 57, 57) << 0 << false;
    QTest::newRow("LblSiglaPaisClube10")
        << "LblSiglaPaisClube10" << QRect(516, 343, 49, 14) << 11 << true;
    QTest::newRow("ImgBandClube12") << "ImgBandClube12" << QRect(516, 467, 49, 33) << 0 << false;
    QTest::newRow("LblNomeClube12") << "LblNomeClube12" << QRect(579, 467, 0, 0) << 12 << true;
    QTest::newRow("LblNomeCompleto12")
        << "LblNomeCompleto12" << QRect(579, 484, 0, 0) << 11 << false;
    QTest::newRow("LblCidade12") << "LblCidade12" << QRect(579, 500, 0, 0) << 11 << false;
}

void TestRelatorios::slotControlPlaces() {
    QFETCH(QString, name);
    QFETCH(QRect, rect);
    QFETCH(int, pixels);
    QFETCH(bool, bold);

    GalleryRig c;
    c.start();
    auto* control = c.page().client()->findChild<QLabel*>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget(), c.page().client());
    QVERIFY(!control->autoFillBackground());
    if (rect.isEmpty())
        QCOMPARE(control->pos(), rect.topLeft());
    else
        QCOMPARE(control->geometry(), rect);
    if (pixels != 0) {
        QCOMPARE(control->font().family(), QStringLiteral("Arial"));
        QCOMPARE(control->font().pixelSize(), pixels);
        QCOMPARE(control->font().bold(), bold);
    }
    if (name.startsWith(QLatin1String("LblSigla")))
        QVERIFY(control->alignment() & Qt::AlignHCenter);
}

void TestRelatorios::titleLine() {
    GalleryRig c;
    c.start();
    TFrmRelatorios& p = c.page();
    QCOMPARE(p.windowTitle(), QStringLiteral("Relatórios"));
    QCOMPARE(p.client()->size(), QSize(792, 546));
    QCOMPARE(p.LblTitulo->pos(), QPoint(94, 16));
    QCOMPARE(p.LblTitulo->font().pixelSize(), 19);
    QVERIFY(p.LblTitulo->font().bold());
    QCOMPARE(p.ImgBandTitulo->geometry(), QRect(22, 10, 57, 33));
    QCOMPARE(p.ImgFeder->geometry(), QRect(25, 2, 49, 49));
    QCOMPARE(p.Image5->geometry(), QRect(-1, -1, 794, 549));
    // The background lies under every other control.
    QCOMPARE(p.client()->children().first(), p.Image5);
    QVERIFY(!p.Image5->pixmap().isNull());
    QVERIFY(!p.isVisible());
}

void TestRelatorios::nextPageButtons() {
    GalleryRig c;
    c.start();
    const QStringList names = {"BtnClubesBR", "BtnClubesUF", "BtnPaisSel", "BtnTodosClubes",
                               "BtnProxSel",  "BtnExtinto",  "BtnAnoFund", "BtnFederSel"};
    for (int b = 0; b < pageButtonCount; ++b) {
        QPushButton* btn = button(c, PageButton(b));
        QCOMPARE(btn->objectName(), names[b]);
        QCOMPARE(c.page().client()->findChild<QPushButton*>(names[b]), btn);
        QCOMPARE(btn->text(), QStringLiteral(">>"));
        QCOMPARE(btn->geometry(), QRect(736, 16, 22, 20));
        QCOMPARE(btn->toolTip(), QStringLiteral("Próxima Página"));
        QVERIFY(btn->isHidden());
    }
}

void TestRelatorios::menu() {
    GalleryRig c;
    c.start();
    const QList<QAction*> top = c.page().menuBar()->actions();
    QCOMPARE(top.size(), 1);
    QCOMPARE(top[0]->iconText(), QStringLiteral("Arquivo"));
    QCOMPARE(top[0]->menu()->objectName(), QStringLiteral("Voltar1"));
    const QList<QAction*> items = top[0]->menu()->actions();
    QCOMPARE(items.size(), 2);
    QCOMPARE(items[0]->objectName(), QStringLiteral("Imprimir1"));
    QCOMPARE(items[0]->iconText(), QStringLiteral("Imprimir"));
    QCOMPARE(items[1]->objectName(), QStringLiteral("Voltar2"));
    QCOMPARE(items[1]->iconText(), QStringLiteral("Voltar"));
}

void TestRelatorios::paging_data() {
    QTest::addColumn<int>("rows");
    // Per page: first and last row shown, and whether ">>" follows it.
    QTest::addColumn<QList<int>>("firstRows");
    QTest::addColumn<QList<int>>("lastRows");
    QTest::addColumn<QList<bool>>("more");

    row("1 row", 1, QList<int>{1}, QList<int>{1}, QList<bool>{false});
    row("12 rows", 12, QList<int>{1}, QList<int>{12}, QList<bool>{false});
    row("13 rows", 13, QList<int>{1, 13}, QList<int>{12, 13}, QList<bool>{true, false});
    row("24 rows", 24, QList<int>{1, 13}, QList<int>{12, 24}, QList<bool>{true, false});
    row("25 rows", 25, QList<int>{1, 13, 25}, QList<int>{12, 24, 25},
        QList<bool>{true, true, false});
}

void TestRelatorios::paging() {
    QFETCH(int, rows);
    QFETCH(QList<int>, firstRows);
    QFETCH(QList<int>, lastRows);
    QFETCH(QList<bool>, more);

    GalleryRig c;
    c.addClubs(rows, QStringLiteral("Clube"));
    VelmoraApp& app = c.start();
    app.runMenuGallery(MenuGallery::TodosOsClubes);
    QVERIFY(app.FrmRelatorios->isVisible());
    QPushButton* next = button(c, PageButton::TodosClubes);
    for (int page = 0; page < firstRows.size(); ++page) {
        if (page > 0)
            QTest::mouseClick(next, Qt::LeftButton);
        QCOMPARE(c.slotNames(),
                 expectedNames(QStringLiteral("Clube"), firstRows[page], lastRows[page]));
        const int filled = lastRows[page] - firstRows[page] + 1;
        for (int n = 1; n <= TFrmRelatorios::slotCount; ++n) {
            const TFrmRelatorios::Slot& s = c.page().slot(n);
            const bool cleared = n > filled;
            QCOMPARE(s.ImgClube->pixmap().isNull(), cleared);
            QCOMPARE(s.ImgBandClube->pixmap().isNull(), cleared);
            QCOMPARE(s.LblCidade->text().isEmpty(), cleared);
            QVERIFY(!s.ImgClube->isHidden()); // cleared slots stay in place
        }
        QCOMPARE(!next->isHidden() && next->isEnabled(), more[page]);
    }
    QVERIFY(c.dialogs.messages().isEmpty());
}

void TestRelatorios::standardSlotRule_data() {
    QTest::addColumn<QString>("pais");
    QTest::addColumn<QString>("uf");
    QTest::addColumn<QString>("cidade");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("cityLine");

    row("Brasil", "Brasil", "SP", "Campinas", "BRA", "Campinas/SP");
    row("Argentina", "Argentina", "", "Buenos Aires", "ARG", "Buenos Aires");
}

void TestRelatorios::standardSlotRule() {
    QFETCH(QString, pais);
    QFETCH(QString, uf);
    QFETCH(QString, cidade);
    QFETCH(QString, code);
    QFETCH(QString, cityLine);

    GalleryRig c;
    Club club = c.store.club(1, QStringLiteral("Guarani"), pais, uf);
    club.cidadeClube = cidade;
    c.store.insert(club);
    c.start();
    c.app().runMenuGallery(MenuGallery::TodosOsClubes);
    const TFrmRelatorios::Slot& s = c.page().slot(1);
    QCOMPARE(slotText(s),
             QStringLiteral("Guarani|%1|Guarani Futebol Clube|%2").arg(code, cityLine));
    QVERIFY(c.shows(s.ImgClube, club.escudoClube));
    QVERIFY(c.shows(s.ImgBandClube, c.store.countryFlag(pais)));
}

void TestRelatorios::brazilSlotRule() {
    // Thirteen clubs of Campinas: the state is in the city line of slot 1 of each page only.
    GalleryRig c;
    for (int i = 1; i <= 13; ++i) {
        Club club = c.store.club(i, QStringLiteral("Campineiro%1").arg(i, 2, 10, QLatin1Char('0')));
        club.cidadeClube = QStringLiteral("Campinas");
        c.store.insert(club);
    }
    c.start();
    c.app().runMenuGallery(MenuGallery::ClubesBrasileiros);
    QCOMPARE(slotText(c.page().slot(1)),
             QStringLiteral("Campineiro01|SP|Campineiro01 Futebol Clube|Campinas/SP"));
    QCOMPARE(slotText(c.page().slot(2)),
             QStringLiteral("Campineiro02|SP|Campineiro02 Futebol Clube|Campinas"));
    QCOMPARE(c.page().slot(12).LblCidade->text(), QStringLiteral("Campinas"));
    for (int n : {1, 2, 12})
        QVERIFY(c.shows(c.page().slot(n).ImgBandClube, c.store.stateFlag(QStringLiteral("SP"))));

    QTest::mouseClick(button(c, PageButton::ClubesBR), Qt::LeftButton);
    QCOMPARE(slotText(c.page().slot(1)),
             QStringLiteral("Campineiro13|SP|Campineiro13 Futebol Clube|Campinas/SP"));
    QVERIFY(c.shows(c.page().slot(1).ImgBandClube, c.store.stateFlag(QStringLiteral("SP"))));
    QVERIFY(button(c, PageButton::ClubesBR)->isHidden());
}

void TestRelatorios::pictureFailsDuringGalleryFill_data() {
    QTest::addColumn<bool>("badge"); // the badge fails, else the flag
    QTest::newRow("badge") << true;
    QTest::newRow("flag") << false;
}

void TestRelatorios::pictureFailsDuringGalleryFill() {
    QFETCH(bool, badge);

    // Twelve national teams on the page, then the clubs' gallery fails at its fifth row.
    GalleryRig c;
    c.addClubs(12, QStringLiteral("Sel"), QStringLiteral("Argentina"), 1);
    QList<Club> clubs;
    for (int i = 1; i <= 13; ++i) {
        Club club = c.store.club(100 + i, QStringLiteral("Clube%1").arg(i, 2, 10, QLatin1Char('0')),
                                 QStringLiteral("Inglaterra"));
        if (i == 5) {
            if (badge)
                club.escudoClube = c.store.path(QStringLiteral("Distintivos/sumiu.jpg"));
            else
                club.bandeiraPais = c.store.path(QStringLiteral("Bandeiras/sumiu.jpg"));
        }
        c.store.insert(club);
        clubs << club;
    }
    VelmoraApp& app = c.start();
    app.runMenuGallery(MenuGallery::TodasAsSelecoes);
    const QImage oldBadge5 = c.page().slot(5).ImgClube->pixmap().toImage();
    const QImage oldFlag5 = c.page().slot(5).ImgBandClube->pixmap().toImage();
    c.dialogs.clearLog();

    app.runMenuGallery(MenuGallery::TodosOsClubes);

    QCOMPARE(c.dialogs.shown().size(), 1);
    QCOMPARE(c.dialogs.shown()[0].caption, QStringLiteral("VELMORA v1.0"));
    QCOMPARE(c.dialogs.shown()[0].icon, MsgIcon::Error);
    QVERIFY(c.dialogs.shown()[0].text.contains(QLatin1String("sumiu.jpg")));
    QCOMPARE(c.page().LblTitulo->text(),
             QStringLiteral("Relação de Todos Clubes Cadastrados (13)"));
    QCOMPARE(c.slotNames(),
             QStringList({"Clube01", "Clube02", "Clube03", "Clube04", "Sel05", "Sel06", "Sel07",
                          "Sel08", "Sel09", "Sel10", "Sel11", "Sel12"}));
    const TFrmRelatorios::Slot& s5 = c.page().slot(5);
    if (badge) {
        QCOMPARE(s5.ImgClube->pixmap().toImage(), oldBadge5);
    } else {
        QVERIFY(c.shows(s5.ImgClube, clubs[4].escudoClube)); // set before the failing flag
        QCOMPARE(s5.ImgBandClube->pixmap().toImage(), oldFlag5);
    }
    QVERIFY(c.shows(c.page().slot(4).ImgClube, clubs[3].escudoClube));
    QVERIFY(c.page().isVisible());
    // Its own button keeps its state; the page shows no button that would page another listing.
    QVERIFY(c.shownButtons().isEmpty());
}

void TestRelatorios::pictureFailsOnNextPageLosesNoRow() {
    GalleryRig c;
    c.addClubs(24, QStringLiteral("Clube"));
    const QString badge17 = c.store.value(QStringLiteral("select EscudoClube from Clubes "
                                                         "where NomeClube = 'Clube17'"));
    VelmoraApp& app = c.start();
    app.runMenuGallery(MenuGallery::TodosOsClubes);
    QPushButton* next = button(c, PageButton::TodosClubes);
    QVERIFY(!next->isHidden());

    const QString aside = badge17 + QStringLiteral(".aside");
    QVERIFY(QFile::rename(badge17, aside));
    QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(c.dialogs.shown().size(), 1);
    QCOMPARE(c.dialogs.shown()[0].icon, MsgIcon::Error);
    QCOMPARE(c.slotNames().mid(0, 5),
             QStringList({"Clube13", "Clube14", "Clube15", "Clube16", "Clube05"}));
    QVERIFY(!next->isHidden() && next->isEnabled());

    // The listing stayed on the failing row: the next press starts with it.
    QVERIFY(QFile::rename(aside, badge17));
    QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(c.slotNames(), expectedNames(QStringLiteral("Clube"), 17, 24));
    QVERIFY(next->isHidden());
    QCOMPARE(c.dialogs.shown().size(), 1);
}

void TestRelatorios::keepsItsListingWhenOthersReuseQueryConsulta() {
    GalleryRig c;
    c.addClubs(13, QStringLiteral("Clube"));
    VelmoraApp& app = c.start();
    app.runMenuGallery(MenuGallery::TodosOsClubes);

    // Both galleries' choosers and the detail-card chooser run their lists on QueryConsulta,
    // and a gallery that ends on an empty listing runs its own.
    app.FrmAno->FormActivate();
    app.FrmSelFeder->FormActivate();
    app.FrmSelClube->rbClube->setChecked(true);
    app.FrmSelClube->rbClubeClick();
    QVERIFY(app.dm().QueryConsulta.isOpen());
    c.dialogs.queueEntry(QStringLiteral("xx"));
    app.runMenuGallery(MenuGallery::ClubesPorEstado);
    QCOMPARE(c.dialogs.messages(),
             QStringList{QStringLiteral("Não há nenhum clube deste estado cadastrado")});

    QTest::mouseClick(button(c, PageButton::TodosClubes), Qt::LeftButton);
    QCOMPARE(c.slotNames(), expectedNames(QStringLiteral("Clube"), 13, 13));
    QCOMPARE(c.dialogs.messages().size(), 1);
}

void TestRelatorios::galleryHidesOtherGalleriesButtons() {
    GalleryRig c;
    c.addClubs(13, QStringLiteral("Clube"));
    c.addClubs(13, QStringLiteral("Sel"), QStringLiteral("Argentina"), 1, 100);
    VelmoraApp& app = c.start();
    app.runMenuGallery(MenuGallery::TodosOsClubes);
    QCOMPARE(c.shownButtons(), QStringList{QStringLiteral("BtnTodosClubes")});
    app.runMenuGallery(MenuGallery::TodasAsSelecoes);
    QCOMPARE(c.shownButtons(), QStringList{QStringLiteral("BtnProxSel")});
    app.runMenuGallery(MenuGallery::ClubesBrasileiros);
    QCOMPARE(c.shownButtons(), QStringList{QStringLiteral("BtnClubesBR")});
}

void TestRelatorios::voltarHidesAndKeepsTheState() {
    GalleryRig c;
    c.addClubs(13, QStringLiteral("Clube"));
    VelmoraApp& app = c.start();
    app.runMenuGallery(MenuGallery::TodosOsClubes);
    const QString title = c.page().LblTitulo->text();
    c.page().Voltar2->trigger();
    QVERIFY(!c.page().isVisible());
    QCOMPARE(c.slotNames(), expectedNames(QStringLiteral("Clube"), 1, 12));
    QCOMPARE(c.page().LblTitulo->text(), title);
    QVERIFY(!button(c, PageButton::TodosClubes)->isHidden());

    app.runMenuGallery(MenuGallery::TodosOsClubes);
    QVERIFY(c.page().isVisible());
    QCOMPARE(c.slotNames(), expectedNames(QStringLiteral("Clube"), 1, 12));
}

void TestRelatorios::imprimirPrintsTheClientArea() {
    GalleryRig c;
    c.addClubs(3, QStringLiteral("Clube"));
    VelmoraApp& app = c.start();
    app.runMenuGallery(MenuGallery::TodosOsClubes);
    c.page().Imprimir1->trigger();
    QCOMPARE(c.printing.printed.size(), 1);
    const QImage printed = c.printing.printed[0];
    QCOMPARE(printed.size(), QSize(792, 546)); // no title bar, no menu bar
    QCOMPARE(printed.convertToFormat(QImage::Format_RGB32),
             c.page().client()->grab().toImage().convertToFormat(QImage::Format_RGB32));
    QVERIFY(c.dialogs.shown().isEmpty());
}

QTEST_MAIN(TestRelatorios)
#include "test_relatorios.moc"
