// The statistics window built on its own (this program links the stats library, not the
// application): a number asks for its gallery by a signal, and "Imprimir" prints the
// window as the other windows print.
#include "platform/Services.h"
#include "stats/Canvas.h"
#include "stats/Estatisticas.h"
#include "store/Module.h"
#include "tests/support/TestServices.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QtTest>

using namespace velmora;

Q_DECLARE_METATYPE(velmora::StatsGallery)

namespace {

struct Alone : test::TestServices {
    Pictures pictures;
    Forms forms{dialogs};
    std::unique_ptr<TFrmDm> dm;
    std::unique_ptr<Services> services;
    std::unique_ptr<TFrmEstatisticas> window;

    Alone() {
        // Two clubs founded in one decade, in different years; one extinct.
        test::Club a = store.club(1, QStringLiteral("Santos"));
        a.anoFundacao = 1912;
        store.insert(a);
        test::Club b = store.club(2, QStringLiteral("Palmeiras"));
        b.anoFundacao = 1914;
        b.extinto = 1;
        store.insert(b);
        dm = std::make_unique<TFrmDm>(store.dir());
        services = std::make_unique<Services>(
            Services{dialogs, printing, clock, random, sleep, pictures, forms, *dm,
                     store.dir() + QStringLiteral("/Distintivos/")});
        window = std::make_unique<TFrmEstatisticas>(*services);
        forms.show(window.get());
        window->FormActivate();
    }

    int view(const QString& objectName) {
        for (int i = 0; i < window->viewCount(); ++i) {
            if (window->canvas(i)->objectName() == objectName)
                return i;
        }
        return -1;
    }
    int item(int v, const QString& label) {
        for (int i = 0; i < window->view(v).items.size(); ++i) {
            if (window->view(v).items[i].label == label)
                return i;
        }
        return -1;
    }
};

} // namespace

class TestStatsAlone : public QObject {
    Q_OBJECT
private slots:
    void numbersAskForTheirGallery_data();
    void numbersAskForTheirGallery();
    void decadeOffersItsYears();
    void printsTheWindow();
};

void TestStatsAlone::numbersAskForTheirGallery_data() {
    QTest::addColumn<QString>("view");
    QTest::addColumn<QString>("item");
    QTest::addColumn<StatsGallery>("gallery");
    QTest::addColumn<QString>("value");
    QTest::newRow("extinct") << "VisaoSituacao"
                             << "Extintos" << StatsGallery::Extinct << "";
    QTest::newRow("clubs") << "VisaoTipos"
                           << "Clubes" << StatsGallery::AllClubs << "";
    QTest::newRow("state") << "VisaoBrasil"
                           << "São Paulo" << StatsGallery::State << "SP";
    QTest::newRow("country") << "VisaoMundo"
                             << "Brasil" << StatsGallery::Country << "Brasil";
    QTest::newRow("federation") << "VisaoFederacoes"
                                << "FPF-SP" << StatsGallery::Federation << "FPF-SP";
}

void TestStatsAlone::numbersAskForTheirGallery() {
    QFETCH(QString, view);
    QFETCH(QString, item);
    QFETCH(StatsGallery, gallery);
    QFETCH(QString, value);
    Alone a;
    QSignalSpy wanted(a.window.get(), &TFrmEstatisticas::galleryWanted);
    const int v = a.view(view);
    a.window->TabVisoes->setCurrentIndex(v);
    Canvas* canvas = a.window->canvas(v);
    canvas->setFocus();
    canvas->select(a.item(v, item));
    QTest::keyClick(canvas, Qt::Key_Enter);
    QCOMPARE(wanted.size(), 1);
    QCOMPARE(wanted[0][0].value<StatsGallery>(), gallery);
    QCOMPARE(wanted[0][1].toString(), value);
    // Active clubs have no gallery of their own: nothing is asked for.
    const int status = a.view(QStringLiteral("VisaoSituacao"));
    a.window->openItem(status, a.item(status, QStringLiteral("Ativos")));
    QCOMPARE(wanted.size(), 1);
}

void TestStatsAlone::decadeOffersItsYears() {
    Alone a;
    const int v = a.view(QStringLiteral("VisaoDecadas"));
    const StatsItem& decade = a.window->view(v).items[a.item(v, QStringLiteral("1910–1919"))];
    QCOMPARE(decade.count, 2);
    QCOMPARE(decade.targets.size(), 2);
    QCOMPARE(decade.targets[0].value, QStringLiteral("1912"));
    QCOMPARE(decade.targets[1].value, QStringLiteral("1914"));
    QCOMPARE(decade.targets[1].gallery, StatsGallery::Year);
}

void TestStatsAlone::printsTheWindow() {
    Alone a;
    QTest::mouseClick(a.window->BtnImprimir, Qt::LeftButton);
    QCOMPARE(a.printing.printed.size(), 1);
    // The window's client area, the current view on it.
    QVERIFY(a.printing.printed[0].width() >= a.window->client()->width());
    QVERIFY(a.printing.printed[0].height() >= a.window->client()->height());
    QVERIFY(a.dialogs.shown().isEmpty());
}

QTEST_MAIN(TestStatsAlone)
#include "test_stats_alone.moc"
