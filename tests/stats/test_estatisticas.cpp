// The statistics window on a small known catalogue: what each view counts, a click or
// Enter opening the gallery of the clubs behind a number, the tables, saved files and
// figures that follow the store.
#include "app/Inicial.h"
#include "stats/Canvas.h"
#include "stats/Estatisticas.h"
#include "store/Module.h"
#include "tests/gallery/GalleryTest.h"
#include "tests/support/Rows.h"

#include <QAction>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace velmora;
using velmora::test::Club;
using velmora::test::GalleryRig;

namespace {

struct Seed {
    const char* name;
    const char* country;
    const char* uf;
    int year;
    int kind; // 1: national team
    int extinct;
};

// Clubs of three countries and two states, two national teams, two extinct rows.
const Seed seeds[] = {
    {"Palmeiras", "Brasil", "SP", 1914, 0, 0},     {"Santos", "Brasil", "SP", 1912, 0, 0},
    {"Flamengo", "Brasil", "RJ", 1895, 0, 0},      {"América", "Brasil", "RJ", 1904, 0, 1},
    {"Boca Juniors", "Argentina", "", 1905, 0, 0}, {"Arsenal", "Inglaterra", "", 1886, 0, 0},
    {"Juventus", "Itália", "", 1897, 0, 0},        {"Brasil", "Brasil", "", 1914, 1, 0},
    {"Uruguai", "Uruguai", "", 1900, 1, 1},
};

struct StatsRig : GalleryRig {
    QList<Club> clubs;

    void seed() {
        int code = 0;
        for (const Seed& s : seeds) {
            const QString name = QString::fromUtf8(s.name);
            const QString country = QString::fromUtf8(s.country);
            Club c = s.kind == 1 ? store.selecao(++code, name, country)
                                 : store.club(++code, name, country, QString::fromUtf8(s.uf));
            c.anoFundacao = s.year;
            c.extinto = s.extinct;
            store.insert(c);
            clubs << c;
        }
    }

    TFrmEstatisticas& window() { return *app().FrmEstatisticas; }

    // Opens the window from the main window's menu, as a user would.
    bool open() {
        app().forms.show(app().FrmInicial.get());
        if (!QTest::qWaitForWindowActive(app().FrmInicial.get()))
            return false;
        app().FrmInicial->Estatisticas1->trigger();
        return QTest::qWaitForWindowActive(&window()) && window().isVisible();
    }

    int viewNamed(const QString& objectName) {
        for (int i = 0; i < window().viewCount(); ++i) {
            if (window().canvas(i)->objectName() == objectName)
                return i;
        }
        return -1;
    }

    // The row of the view's table whose first column reads label, as numbers.
    QStringList tableRow(int view, const QString& label) {
        QTableWidget* t = window().table(view);
        for (int r = 0; r < t->rowCount(); ++r) {
            if (t->item(r, 0)->text() != label)
                continue;
            QStringList cells;
            for (int c = 1; c < t->columnCount(); ++c)
                cells << t->item(r, c)->text();
            return cells;
        }
        return {};
    }

    int itemIndex(int view, const QString& label) {
        const QList<StatsItem>& items = window().view(view).items;
        for (int i = 0; i < items.size(); ++i) {
            if (items[i].label == label)
                return i;
        }
        return -1;
    }

    // A point of the canvas where the item is drawn (inside its shape, on its bar).
    QPoint pointOf(int view, int item) {
        Canvas* canvas = window().canvas(view);
        const QRect box = canvas->itemRect(item).toAlignedRect();
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x) {
                if (canvas->itemAt(QPointF(x, y)) == item)
                    return QPoint(x, y);
            }
        }
        return QPoint(-1, -1);
    }

    // Names of the clubs the seed list holds that satisfy `keep`, as the page lists them.
    QStringList namesWhere(const std::function<bool(const Club&)>& keep) {
        QStringList names;
        for (const Club& c : clubs) {
            if (keep(c))
                names << c.nomeClube;
        }
        std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
            return QString::localeAwareCompare(a, b) < 0;
        });
        return names;
    }

    QStringList shownNames() {
        QStringList names = slotNames();
        names.removeAll(QString());
        return names;
    }
};

qint64 countWhere(const QList<Club>& clubs, const std::function<bool(const Club&)>& keep) {
    return std::count_if(clubs.begin(), clubs.end(), keep);
}

} // namespace

class TestEstatisticas : public QObject {
    Q_OBJECT
private slots:
    void viewsCountTheCatalogue();
    void clickOnTheMapsAndBarsOpensTheGallery_data();
    void clickOnTheMapsAndBarsOpensTheGallery();
    void keyboardReachesAStateAndOpensIt();
    void tableShowsTheSameNumbers();
    void savedFilesHoldTheView_data();
    void savedFilesHoldTheView();
    void figuresFollowASave();
    void menuItemNeedsAClub();
};

void TestEstatisticas::viewsCountTheCatalogue() {
    StatsRig rig;
    rig.seed();
    rig.start();
    QVERIFY(rig.open());
    const QList<Club>& c = rig.clubs;
    auto team = [](const Club& x) { return x.identificador == 1; };

    const int world = rig.viewNamed(QStringLiteral("VisaoMundo"));
    QVERIFY(rig.window().view(world).title.contains(QString::number(c.size())));
    for (const QString& country : {QStringLiteral("Brasil"), QStringLiteral("Argentina"),
                                   QStringLiteral("Uruguai"), QStringLiteral("Alemanha")}) {
        const auto of = [&](const Club& x) { return x.paisClube == country; };
        const qint64 clubs = countWhere(c, [&](const Club& x) { return of(x) && !team(x); });
        const qint64 teams = countWhere(c, [&](const Club& x) { return of(x) && team(x); });
        QCOMPARE(rig.tableRow(world, country),
                 QStringList({QString::number(clubs), QString::number(teams)}));
    }

    const int brazil = rig.viewNamed(QStringLiteral("VisaoBrasil"));
    for (const QString& uf : {QStringLiteral("SP"), QStringLiteral("RJ"), QStringLiteral("MG")}) {
        const qint64 n = countWhere(c, [&](const Club& x) { return x.ufClube == uf && !team(x); });
        QCOMPARE(rig.tableRow(brazil, rig.store.stateName(uf)), QStringList{QString::number(n)});
    }

    const int decades = rig.viewNamed(QStringLiteral("VisaoDecadas"));
    const qint64 nineties = countWhere(c, [&](const Club& x) {
        return !team(x) && *x.anoFundacao >= 1890 && *x.anoFundacao < 1900;
    });
    QCOMPARE(rig.tableRow(decades, QStringLiteral("1890–1899")),
             QStringList{QString::number(nineties)});
    // From the 1850s to the clock's year (2024), empty decades included.
    QCOMPARE(rig.tableRow(decades, QStringLiteral("1850–1859")), QStringList{"0"});
    QCOMPARE(
        rig.window().table(decades)->item(rig.window().table(decades)->rowCount() - 1, 0)->text(),
        QStringLiteral("2020–2029"));

    const int federations = rig.viewNamed(QStringLiteral("VisaoFederacoes"));
    for (const Club& club : c) {
        if (team(club))
            continue;
        const qint64 n =
            countWhere(c, [&](const Club& x) { return x.federacao == club.federacao && !team(x); });
        QCOMPARE(rig.tableRow(federations, club.federacao), QStringList{QString::number(n)});
    }

    const int kinds = rig.viewNamed(QStringLiteral("VisaoTipos"));
    QCOMPARE(rig.tableRow(kinds, QStringLiteral("Seleções")),
             QStringList{QString::number(countWhere(c, team))});
    const int status = rig.viewNamed(QStringLiteral("VisaoSituacao"));
    QCOMPARE(rig.tableRow(status, QStringLiteral("Extintos")),
             QStringList{QString::number(countWhere(c, [](const Club& x) { return x.extinto; }))});
    QVERIFY(rig.window().view(status).title.contains(QString::number(c.size())));
}

void TestEstatisticas::clickOnTheMapsAndBarsOpensTheGallery_data() {
    QTest::addColumn<QString>("view");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("field"); // of Club the gallery selects by
    using velmora::test::row;
    row("country", QString("VisaoMundo"), QString("Argentina"), QString("pais"));
    row("state", QString("VisaoBrasil"), QString("São Paulo"), QString("uf"));
    row("country bar", QString("VisaoPaises"), QString("Brasil"), QString("pais"));
    row("federation bar", QString("VisaoFederacoes"), QString("FERJ"), QString("federacao"));
    row("national teams' slice", QString("VisaoTipos"), QString("Seleções"), QString("selecao"));
}

void TestEstatisticas::clickOnTheMapsAndBarsOpensTheGallery() {
    QFETCH(QString, view);
    QFETCH(QString, item);
    QFETCH(QString, field);
    StatsRig rig;
    rig.seed();
    rig.start();
    QVERIFY(rig.open());
    const int v = rig.viewNamed(view);
    rig.window().TabVisoes->setCurrentIndex(v);
    const int index = rig.itemIndex(v, item);
    QVERIFY(index >= 0);
    const QPoint at = rig.pointOf(v, index);
    QVERIFY2(at.x() >= 0, "the item is drawn nowhere");
    QTest::mouseClick(rig.window().canvas(v), Qt::LeftButton, {}, at);

    const StatsTarget target = rig.window().view(v).items[index].targets.value(0);
    const auto chosen = [&](const Club& c) {
        if (field == "selecao")
            return c.identificador == 1;
        const QString value = field == "pais" ? c.paisClube
                              : field == "uf" ? c.ufClube
                                              : c.federacao;
        return c.identificador == 0 && value == target.value;
    };
    QVERIFY(rig.page().isVisible());
    QCOMPARE(rig.shownNames(), rig.namesWhere(chosen));
    QVERIFY2(rig.page().LblTitulo->text().contains(
                 QStringLiteral("(%1)").arg(countWhere(rig.clubs, chosen))),
             qPrintable(rig.page().LblTitulo->text()));
    QVERIFY(rig.dialogs.messages().isEmpty());
}

void TestEstatisticas::keyboardReachesAStateAndOpensIt() {
    StatsRig rig;
    rig.seed();
    rig.start();
    QVERIFY(rig.open());
    const int v = rig.viewNamed(QStringLiteral("VisaoBrasil"));
    rig.window().TabVisoes->setCurrentIndex(v);
    Canvas* canvas = rig.window().canvas(v);
    canvas->setFocus();
    const int target = rig.itemIndex(v, rig.store.stateName(QStringLiteral("RJ")));
    const QList<int> order = canvas->reachable();
    for (int i = 0; i <= order.indexOf(target); ++i)
        QTest::keyClick(canvas, Qt::Key_Right);
    QCOMPARE(canvas->selected(), target);
    QVERIFY2(rig.window().LblInfo->text().startsWith(rig.store.stateName(QStringLiteral("RJ"))),
             qPrintable(rig.window().LblInfo->text()));
    QTest::keyClick(canvas, Qt::Key_Return);
    QCOMPARE(rig.shownNames(), rig.namesWhere([](const Club& c) {
        return c.ufClube == QStringLiteral("RJ") && c.identificador == 0;
    }));
}

void TestEstatisticas::tableShowsTheSameNumbers() {
    StatsRig rig;
    rig.seed();
    rig.start();
    QVERIFY(rig.open());
    QTest::mouseClick(rig.window().BtnTabela, Qt::LeftButton);
    for (int v = 0; v < rig.window().viewCount(); ++v) {
        QTableWidget* table = rig.window().table(v);
        QCOMPARE(static_cast<QStackedWidget*>(table->parentWidget())->currentWidget(), table);
        QCOMPARE(table->accessibleName(), rig.window().view(v).title);
        QCOMPARE(table->rowCount(), rig.window().view(v).items.size());
        for (int r = 0; r < table->rowCount(); ++r)
            QCOMPARE(table->item(r, 0)->text(), rig.window().view(v).items[r].label);
    }
    // Enter on a row opens its gallery too.
    const int v = rig.viewNamed(QStringLiteral("VisaoTipos"));
    rig.window().TabVisoes->setCurrentIndex(v);
    QTableWidget* table = rig.window().table(v);
    table->setFocus();
    table->setCurrentCell(rig.itemIndex(v, QStringLiteral("Seleções")), 0);
    QTest::keyClick(table, Qt::Key_Return);
    QCOMPARE(rig.shownNames(), rig.namesWhere([](const Club& c) { return c.identificador == 1; }));
}

void TestEstatisticas::savedFilesHoldTheView_data() {
    QTest::addColumn<int>("type");
    QTest::newRow("pdf") << int(TFrmEstatisticas::FileType::Pdf);
    QTest::newRow("svg") << int(TFrmEstatisticas::FileType::Svg);
    QTest::newRow("png") << int(TFrmEstatisticas::FileType::Png);
}

void TestEstatisticas::savedFilesHoldTheView() {
    QFETCH(int, type);
    StatsRig rig;
    rig.seed();
    rig.start();
    QVERIFY(rig.open());
    const int v = rig.viewNamed(QStringLiteral("VisaoBrasil"));
    rig.window().TabVisoes->setCurrentIndex(v);
    const auto fileType = TFrmEstatisticas::FileType(type);
    const QString suffix = TFrmEstatisticas::fileSuffix(fileType);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("visao.") + suffix);
    rig.dialogs.queueSave(path);
    QMenu* menu = rig.window().BtnSalvar->menu();
    menu->actions().at(type)->trigger();

    // Proposed: the view's name and today's date, in the documents folder.
    const QString proposed = rig.dialogs.shown().last().text;
    QVERIFY2(proposed.endsWith(QStringLiteral("Mapa do Brasil - %1.%2")
                                   .arg(QDate::currentDate().toString(Qt::ISODate), suffix)),
             qPrintable(proposed));
    QVERIFY(rig.dialogs.messages().isEmpty());
    const QString title = rig.window().view(v).title;
    if (fileType == TFrmEstatisticas::FileType::Png) {
        const QImage image(path);
        QVERIFY(!image.isNull());
        QVERIFY(image.width() > image.height());
        // The map is coloured: São Paulo has clubs, and a green of the scale is drawn.
        const QImage sp = image.convertToFormat(QImage::Format_RGB32);
        bool green = false;
        for (int y = 0; y < sp.height() && !green; y += 2) {
            for (int x = 0; x < sp.width() && !green; x += 2) {
                const QColor c = sp.pixelColor(x, y);
                green = c.green() > c.red() + 40 && c.green() > c.blue() + 30;
            }
        }
        QVERIFY(green);
        return;
    }
    QString text;
    if (fileType == TFrmEstatisticas::FileType::Pdf) {
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
        QVERIFY(pdftotext.waitForFinished());
        text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        text = QString::fromUtf8(file.readAll());
    }
    QVERIFY2(text.simplified().contains(title), qPrintable(text.left(400)));
}

void TestEstatisticas::figuresFollowASave() {
    StatsRig rig;
    rig.seed();
    rig.start();
    QVERIFY(rig.open());
    const int world = rig.viewNamed(QStringLiteral("VisaoMundo"));
    const QStringList before = rig.tableRow(world, QStringLiteral("Alemanha"));
    QCOMPARE(before, QStringList({"0", "0"}));

    rig.store.add(100, QStringLiteral("Bayern"), QStringLiteral("Alemanha"), QString());
    rig.window().FormActivate();
    QCOMPARE(rig.tableRow(world, QStringLiteral("Alemanha")), QStringList({"1", "0"}));
    QVERIFY(rig.window().view(world).title.contains(QString::number(rig.clubs.size() + 1)));
}

void TestEstatisticas::menuItemNeedsAClub() {
    StatsRig rig;
    rig.start();
    TFrmInicial& main = *rig.app().FrmInicial;
    main.FormActivate();
    QVERIFY(!main.Estatisticas1->isEnabled());
    QCOMPARE(main.Estatisticas1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
    rig.store.add(1, QStringLiteral("Santos"));
    main.FormActivate();
    QVERIFY(main.Estatisticas1->isEnabled());
}

QTEST_MAIN(TestEstatisticas)
#include "test_estatisticas.moc"
