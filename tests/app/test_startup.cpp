// Start-up sequence and the window set.
#include "app/Inicial.h"
#include "app/Startup.h"
#include "app/VelmoraApp.h"
#include "layout/App.h"
#include "layout/Detail.h"
#include "layout/Gallery.h"
#include "layout/Registry.h"
#include "tests/support/AppFixture.h"
#include "tests/support/FileSystemLimits.h"
#include "tests/support/store/TestStore.h"

#include "registry/CadCidade.h"
#include "registry/Clubes.h"
#include "store/Module.h"
#include "tests/support/Rows.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace velmora;
using velmora::test::AppFixture;
using velmora::test::row;
using velmora::test::TestStore;
using velmora::test::Unwritable;

namespace {

QList<Form*> visibleForms() {
    QList<Form*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<Form*>(w); f && f->isVisible())
            out.append(f);
    return out;
}

Form* formNamed(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<Form*>(w); f && f->objectName() == name)
            return f;
    return nullptr;
}

// Overwrites part of the store file with bytes that mean nothing to the engine.
void scribble(const QString& file, qint64 at, qint64 length) {
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.seek(at));
    QCOMPARE(f.write(QByteArray(int(length), char(0xA5))), length);
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void sequenceShowsMainOnlyAfterSplash();
    void missingStoreEndsBeforeMainWindow_data();
    void missingStoreEndsBeforeMainWindow();
    void windowSet_data();
    void windowSet();
    void closingOtherWindowsOnlyHides();
    void showingAShownWindowKeepsIt();
    void unwritableStoreOpensForReadingOnly_data();
    void unwritableStoreOpensForReadingOnly();
    void olderStoreThatCannotBeWrittenSaysWhy();
    void damagedStoreSaysHowToRestore_data();
    void damagedStoreSaysHowToRestore();
    void upgradedStoreIsAnnounced();
    void closeBoxFollowsTheWayOut_data();
    void closeBoxFollowsTheWayOut();
    void splashIsOnScreenBeforeTheWait();
    void splashTimeCountsTheWindowsBuilt_data();
    void splashTimeCountsTheWindowsBuilt();
    void secondStartOnTheSameFolderStops();
    void lockOfAKilledProgramDoesNotBlock();
    void leftoverLockNeverHoldsTheStart_data();
    void leftoverLockNeverHoldsTheStart();
    void storeVelmoraDidNotMakeIsLeftUntouched_data();
    void storeVelmoraDidNotMakeIsLeftUntouched();
};

void TestStartup::sequenceShowsMainOnlyAfterSplash() {
    AppFixture fx;
    QStringList steps;
    bool mainSeenEarly = false;
    auto app = Startup::start(fx.environment(), [&](const QString& step) {
        steps << step;
        if (step != QLatin1String("main shown") && !visibleForms().isEmpty())
            mainSeenEarly = true;
    });
    QVERIFY(app);
    QCOMPARE(steps, QStringList({"splash shown", "windows created", "splash gone", "main shown"}));
    QVERIFY(!mainSeenEarly);
    QCOMPARE(visibleForms(), QList<Form*>{formNamed("FrmInicial")});
    QVERIFY(!formNamed("FrmSplash"));
    QCOMPARE(QCoreApplication::applicationName(), QString("VELMORA v1.0"));
    QVERIFY(fx.dialogs.shown().isEmpty() ||
            fx.dialogs.shown().first().caption != QLatin1String("VELMORA v1.0"));
}

void TestStartup::missingStoreEndsBeforeMainWindow_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("expected");
    row("no store file", "store", "Clubes.db");
    row("missing table", "drop Paises", "Paises.DB");
    row("missing field", "drop field", "Clubes.db");
    row("no directory", "dir", "");
}

void TestStartup::missingStoreEndsBeforeMainWindow() {
    QFETCH(QString, damage);
    QFETCH(QString, expected);
    AppFixture fx;
    Environment env = fx.environment();
    if (damage == QLatin1String("drop Paises"))
        fx.store.exec("DROP TABLE Paises");
    if (damage == QLatin1String("drop field"))
        fx.store.exec("ALTER TABLE Clubes DROP COLUMN Estadio");
    fx.store.close();
    if (damage == QLatin1String("store"))
        QVERIFY(QFile::remove(fx.dataDir() + "/Velmora.sqlite"));
    if (damage == QLatin1String("dir"))
        env.dataDir = fx.dataDir() + "/nao-existe";

    QStringList steps;
    bool splashUpAtError = false;
    auto app = Startup::start(env, [&](const QString& step) {
        steps << step;
        if (step == QLatin1String("error shown"))
            splashUpAtError = true;
    });
    QVERIFY(!app);
    QVERIFY(splashUpAtError);
    QVERIFY(!steps.contains("main shown"));
    QVERIFY(visibleForms().isEmpty());
    QCOMPARE(fx.dialogs.shown().size(), 1);
    const auto box = fx.dialogs.shown().first();
    QCOMPARE(box.caption, QString("VELMORA v1.0"));
    QCOMPARE(box.icon, MsgIcon::Error);
    QVERIFY2(box.text.contains(expected), qPrintable(box.text));
    // Our own words first, the engine's after them.
    QVERIFY2(box.text.startsWith(QStringLiteral("Não foi possível abrir o catálogo do Velmora")),
             qPrintable(box.text));
}

void TestStartup::windowSet_data() {
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QPoint>("placed"); // (-1,-1) = centred
    const QPoint centred(-1, -1);
    QTest::newRow("FrmInicial") << "FrmInicial"
                                << "Velmora" << layout::inicial.client << centred;
    QTest::newRow("FrmClubes") << "FrmClubes"
                               << "Cadastro de Clubes" << layout::clubes.client << centred;
    QTest::newRow("FrmCadastroCidade")
        << "FrmCadastroCidade"
        << "CADASTRO DE CIDADES" << layout::cadCidade.client << centred;
    QTest::newRow("FrmPaises") << "FrmPaises"
                               << "Selecionar País" << layout::paises.client << centred;
    QTest::newRow("FrmUF") << "FrmUF"
                           << "Selecionar Estado" << layout::uf.client << centred;
    QTest::newRow("FrmCidade") << "FrmCidade"
                               << "Selecionar a Cidade" << layout::cidade.client << centred;
    QTest::newRow("FrmInformacoes") << "FrmInformacoes"
                                    << "Informações" << layout::informacoes.client << centred;
    QTest::newRow("FrmAno") << "FrmAno"
                            << "Velmora" << layout::ano.client << centred;
    QTest::newRow("FrmFederacao") << "FrmFederacao"
                                  << "Selecionar Federação" << layout::federacao.client
                                  << QPoint(372, 332);
    QTest::newRow("FrmSelFeder") << "FrmSelFeder"
                                 << "Velmora" << layout::selFeder.client << centred;
    QTest::newRow("FrmRelatorios") << "FrmRelatorios"
                                   << "Relatórios" << layout::relatorios.client << centred;
    QTest::newRow("FrmSelClube") << "FrmSelClube"
                                 << "Selecionar Clube" << layout::selClube.client << centred;
    QTest::newRow("FrmClubeSelecionado") << "FrmClubeSelecionado"
                                         << "" << layout::card.client << centred;
}

void TestStartup::windowSet() {
    QFETCH(QString, object);
    QFETCH(QString, caption);
    QFETCH(QSize, client);
    QFETCH(QPoint, placed);
    AppFixture fx;
    fx.start();
    Form* form = formNamed(object);
    QVERIFY2(form, qPrintable(object));
    QVERIFY(!form->isVisible());
    QCOMPARE(form->windowTitle(), caption);
    QCOMPARE(form->client()->size(), client);
    // The window holds nothing but its menu bar and the client area.
    const int bar = form->menuWidget() ? form->menuWidget()->sizeHint().height() : 0;
    // A caption bar without any title-bar button.
    const Qt::WindowFlags flags = form->windowFlags();
    QVERIFY(flags & Qt::WindowTitleHint);
    QVERIFY(!(flags & Qt::WindowCloseButtonHint));
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(flags & Qt::WindowSystemMenuHint));

    fx.app().forms.show(form);
    QVERIFY(form->isVisible());
    QCOMPARE(form->size(), client + QSize(0, bar));
    if (placed != QPoint(-1, -1)) {
        QCOMPARE(form->frameGeometry().topLeft(), placed); // the frame, as a window position
    } else {
        const QPoint screenCentre = form->screen()->availableGeometry().center();
        const QPoint c = form->geometry().center();
        QVERIFY2(qAbs(c.x() - screenCentre.x()) <= 2 && qAbs(c.y() - screenCentre.y()) <= 40,
                 qPrintable(QString("%1,%2 vs %3,%4")
                                .arg(c.x())
                                .arg(c.y())
                                .arg(screenCentre.x())
                                .arg(screenCentre.y())));
    }
    fx.app().forms.close(form);
}

void TestStartup::closingOtherWindowsOnlyHides() {
    AppFixture fx;
    auto app = Startup::start(fx.environment());
    QVERIFY(app);
    QSignalSpy quit(qApp, &QCoreApplication::aboutToQuit);
    for (const char* name : {"FrmInformacoes", "FrmRelatorios", "FrmClubeSelecionado"}) {
        Form* f = formNamed(name);
        QVERIFY(f);
        app->forms.show(f);
        QVERIFY(f->isVisible());
        QVERIFY(f->close());
        QVERIFY(!f->isVisible());
        QVERIFY(formNamed(name)); // still alive
    }
    QCoreApplication::processEvents();
    QCOMPARE(quit.count(), 0);
    QVERIFY(formNamed("FrmInicial")->isVisible());
}

void TestStartup::showingAShownWindowKeepsIt() {
    AppFixture fx;
    fx.start();
    Form* f = formNamed("FrmRelatorios");
    fx.app().forms.show(f);
    f->move(f->pos() + QPoint(30, 20));
    const QPoint at = f->pos();
    fx.app().forms.show(f);
    QCOMPARE(f->pos(), at); // brought to front where it is, not placed again
    QVERIFY(f->isVisible());
}

void TestStartup::unwritableStoreOpensForReadingOnly_data() {
    QTest::addColumn<bool>("folder"); // the whole data folder, not only the store file
    QTest::newRow("store file") << false;
    QTest::newRow("data folder") << true;
}

void TestStartup::unwritableStoreOpensForReadingOnly() {
    QFETCH(bool, folder);
    AppFixture fx;
    QString file;
    fx.store.add(1, QStringLiteral("Santos"));
    fx.store.add(2, QStringLiteral("Palmeiras"));
    file = fx.store.storeFile();
    fx.store.close();
    const QByteArray before = [&] {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    Unwritable locked(folder ? fx.dataDir() : file);
    if (!locked.ok())
        QSKIP("this machine cannot make a file unwritable for this process");

    auto app = Startup::start(fx.environment());
    QVERIFY(app);
    QVERIFY(formNamed("FrmInicial")->isVisible());
    // Said once, at start-up, in Portuguese.
    QCOMPARE(fx.dialogs.shown().size(), 1);
    const auto box = fx.dialogs.shown().first();
    QCOMPARE(box.icon, MsgIcon::Warning);
    QVERIFY2(box.text.contains(QStringLiteral("somente leitura")), qPrintable(box.text));
    QVERIFY(box.text.contains(QStringLiteral("apenas para consulta")));

    // Readable as before; no command that would save is offered.
    QCOMPARE(app->dm().TblClubes.rowCount(), 2);
    TFrmClubes& editor = *app->FrmClubes;
    app->forms.show(&editor);
    editor.FormActivate();
    for (QAction* command : {editor.Novo1, editor.Alterar1, editor.Excluir1,
                             editor.RecalcularIdadedosClubes1, editor.Cadastrarcidade1})
        QVERIFY2(!command->isEnabled(), qPrintable(command->objectName()));
    QVERIFY(!editor.BtnGravar->isEnabled());
    QVERIFY(editor.Voltar1->isEnabled());
    QVERIFY(editor.BtnLocalizar->isEnabled());
    QVERIFY(!app->FrmCadastroCidade->BtnGravar->isEnabled());
    app.reset();

    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);
}

void TestStartup::olderStoreThatCannotBeWrittenSaysWhy() {
    AppFixture fx;
    QString file;
    fx.store.exec(QStringLiteral("PRAGMA user_version = 1"));
    file = fx.store.storeFile();
    fx.store.close();
    Unwritable locked(file);
    if (!locked.ok())
        QSKIP("this machine cannot make a file unwritable for this process");
    auto app = Startup::start(fx.environment());
    QVERIFY(!app);
    QCOMPARE(fx.dialogs.shown().size(), 1);
    const QString text = fx.dialogs.shown().first().text;
    QVERIFY2(text.contains(QStringLiteral("versão anterior do Velmora")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("somente leitura")));
}

void TestStartup::damagedStoreSaysHowToRestore_data() {
    QTest::addColumn<qint64>("at");
    QTest::addColumn<qint64>("length");
    QTest::newRow("header overwritten") << qint64(0) << qint64(100);
    QTest::newRow("table list overwritten") << qint64(100) << qint64(3000);
}

void TestStartup::damagedStoreSaysHowToRestore() {
    QFETCH(qint64, at);
    QFETCH(qint64, length);
    AppFixture fx;
    QString file;
    fx.store.add(1, QStringLiteral("Santos"));
    file = fx.store.storeFile();
    fx.store.close();
    scribble(file, at, length);
    auto app = Startup::start(fx.environment());
    QVERIFY(!app);
    QCOMPARE(fx.dialogs.shown().size(), 1);
    const QString text = fx.dialogs.shown().first().text;
    QVERIFY2(text.startsWith(QStringLiteral("O arquivo do catálogo ") + file +
                             QStringLiteral(" está danificado")),
             qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Restaure a cópia de segurança")));
    QVERIFY(text.contains(QStringLiteral("Detalhe: ")));
}

// An older store is upgraded at start-up; the user is told once where the old file is.
void TestStartup::upgradedStoreIsAnnounced() {
    AppFixture fx;
    fx.store.exec(QStringLiteral("drop index if exists ClubesUFNome"));
    fx.store.exec(QStringLiteral("PRAGMA user_version = 1"));
    fx.store.close();
    QStringList steps;
    QString progress; // what the splash showed of the upgrade once the windows were made
    auto app = Startup::start(fx.environment(), [&](const QString& step) {
        steps << step;
        if (step == QLatin1String("windows created"))
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == QLatin1String(layout::splash.name))
                    if (auto* line = w->findChild<QLabel*>(QStringLiteral("LblAtualizacao")))
                        progress = line->isVisible() ? line->text() : QString();
    });
    QVERIFY(app);
    QCOMPARE(steps.mid(3), QStringList({"main shown", "upgrade notice shown"}));
    QVERIFY2(progress.endsWith(QStringLiteral("100%")), qPrintable(progress));
    QCOMPARE(fx.dialogs.shown().size(), 1);
    const auto& box = fx.dialogs.shown().first();
    QCOMPARE(box.icon, MsgIcon::Information);
    QCOMPARE(box.caption, QStringLiteral("Velmora"));
    const QString kept = fx.dataDir() + QStringLiteral("/Velmora-v1.sqlite");
    QVERIFY2(box.text.contains(kept), qPrintable(box.text));
    QVERIFY(QFile::exists(kept));
}

void TestStartup::closeBoxFollowsTheWayOut_data() {
    QTest::addColumn<QString>("object");
    QTest::addColumn<bool>("stays");
    QTest::newRow("city registry: Cancelar") << "FrmCadastroCidade" << false;
    QTest::newRow("information: Voltar") << "FrmInformacoes" << false;
    QTest::newRow("club chooser, nothing chosen: OK unavailable") << "FrmSelClube" << true;
}

// The window manager's close box runs each window's own way out, or nothing.
void TestStartup::closeBoxFollowsTheWayOut() {
    QFETCH(QString, object);
    QFETCH(bool, stays);
    AppFixture fx;
    auto app = Startup::start(fx.environment());
    QVERIFY(app);
    QSignalSpy quit(qApp, &QCoreApplication::aboutToQuit);
    Form* f = formNamed(object);
    app->forms.show(f);
    QCOMPARE(f->close(), !stays);
    QCOMPARE(f->isVisible(), stays);
    QVERIFY(formNamed("FrmInicial")->isVisible());
    QCoreApplication::processEvents();
    QCOMPARE(quit.count(), 0);
}

// A sleep that notes what it was asked and whether the splash was up then.
class WatchedSleep final : public Sleep {
public:
    void sleepMs(int ms) override {
        asked << ms;
        const QWidget* splash = nullptr;
        for (const QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("FrmSplash") && w->isVisible())
                splash = w;
        splashUp << (splash != nullptr);
    }
    QList<int> asked;
    QList<bool> splashUp;
};

void TestStartup::splashTimeCountsTheWindowsBuilt_data() {
    QTest::addColumn<int>("splashMs");
    QTest::addColumn<bool>("rest");
    // Building every window and opening the store takes far more than a millisecond.
    QTest::newRow("shorter than building") << 1 << false;
    QTest::newRow("ten minutes") << 600000 << true;
}

// The splash's time runs from the splash shown: building the windows takes part of it
// and only the rest is slept, with the splash up and the main window not yet shown.
void TestStartup::splashTimeCountsTheWindowsBuilt() {
    QFETCH(int, splashMs);
    QFETCH(bool, rest);
    AppFixture fx;
    Environment env = fx.environment();
    WatchedSleep sleep;
    env.sleep = &sleep;
    env.splashMs = splashMs;
    QStringList steps;
    auto app = Startup::start(env, [&](const QString& step) { steps << step; });
    QVERIFY(app);
    QCOMPARE(steps, QStringList({"splash shown", "windows created", "splash gone", "main shown"}));
    QCOMPARE(sleep.asked.size(), 1);
    QCOMPARE(sleep.splashUp, QList<bool>{true});
    if (rest) {
        QVERIFY2(sleep.asked.first() > 0 && sleep.asked.first() < splashMs,
                 qPrintable(QString::number(sleep.asked.first())));
    } else {
        QCOMPARE(sleep.asked.first(), 0);
    }
    QCOMPARE(visibleForms(), QList<Form*>{formNamed("FrmInicial")});
}

// The wait blocks the program: the picture must be on the screen before it starts.
void TestStartup::splashIsOnScreenBeforeTheWait() {
    AppFixture fx;
    QImage onScreen;
    bool exposed = false;
    auto app = Startup::start(fx.environment(), [&](const QString& step) {
        QWidget* splash = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("FrmSplash") && w->isVisible())
                splash = w;
        if (step != QLatin1String("windows created") || splash == nullptr)
            return;
        exposed = splash->windowHandle() && splash->windowHandle()->isExposed();
        onScreen = splash->screen()->grabWindow(splash->winId()).toImage();
    });
    QVERIFY(app);
    QVERIFY(exposed);
    QCOMPARE(onScreen.size(), layout::splash.client);
    const QImage picture = QImage(QStringLiteral(":/artwork/splash.jpg"))
                               .scaled(onScreen.size())
                               .convertToFormat(onScreen.format());
    int matching = 0;
    int total = 0;
    for (int y = 10; y < onScreen.height(); y += 37)
        for (int x = 10; x < onScreen.width(); x += 41, ++total) {
            const QColor a = onScreen.pixelColor(x, y);
            const QColor b = picture.pixelColor(x, y);
            if (qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) <
                60)
                ++matching;
        }
    QVERIFY2(matching > total * 9 / 10, qPrintable(QString::number(matching)));
}

// Two programs on one folder would number new clubs from the same highest code.
void TestStartup::secondStartOnTheSameFolderStops() {
    AppFixture fx;
    auto first = Startup::start(fx.environment());
    QVERIFY(first);
    Form* main = first->FrmInicial.get();

    AppFixture other;
    Environment env = other.environment();
    env.dataDir = fx.dataDir();
    QStringList steps;
    auto second = Startup::start(env, [&steps](const QString& step) { steps << step; });
    QVERIFY(!second);
    QVERIFY(!steps.contains("splash shown")); // told at once, no splash wait
    QCOMPARE(other.dialogs.shown().size(), 1);
    const auto box = other.dialogs.shown().first();
    QCOMPARE(box.caption, QString("Velmora"));
    QVERIFY2(box.text.contains(QStringLiteral("já está aberto")) && box.text.contains(fx.dataDir()),
             qPrintable(box.text));
    QVERIFY(main->isVisible()); // the first one goes on untouched
    QCOMPARE(visibleForms(), QList<Form*>{main});

    // Once the first has ended, the folder is free again.
    first.reset();
    other.dialogs.clearLog();
    auto again = Startup::start(env);
    QVERIFY(again);
    QVERIFY(other.dialogs.shown().isEmpty());
}

void TestStartup::lockOfAKilledProgramDoesNotBlock() {
    QTemporaryDir home;
    const QString dataDir = home.filePath(QStringLiteral("Velmora"));
    QVERIFY(QDir().mkpath(dataDir));
    { TestStore store(dataDir); }

    // The real program holds the folder, then dies without cleaning up (kill -9).
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(env);
    program.start(qEnvironmentVariable("VELMORA_BINARY_DIR") + QStringLiteral("/velmora"));
    QVERIFY(program.waitForStarted());
    QFileInfo lock(dataDir + QStringLiteral("/Velmora.lock"));
    QTRY_VERIFY_WITH_TIMEOUT((lock.refresh(), lock.exists() && lock.size() > 0), 30000);

    AppFixture fx(dataDir, TestStore::Copy::None);
    Environment mine = fx.environment();
    QVERIFY(!Startup::start(mine)); // alive: the folder is taken
    QCOMPARE(fx.dialogs.shown().size(), 1);

    program.kill();
    QVERIFY(program.waitForFinished());
    QCOMPARE(program.exitStatus(), QProcess::CrashExit);
    QVERIFY(QFileInfo::exists(lock.filePath())); // left behind
    fx.dialogs.clearLog();
    auto app = Startup::start(mine);
    QVERIFY(app);
    QVERIFY(fx.dialogs.shown().isEmpty());
}

void TestStartup::leftoverLockNeverHoldsTheStart_data() {
    QTest::addColumn<QString>("leftover");
    QTest::addColumn<QString>("told"); // "" when the program starts
    row("empty (a power cut)", "empty", "");
    row("written on another computer", "other computer", "");
    row("a pipe", "pipe", "canal (pipe)");
    row("a folder", "folder", "uma pasta");
}

void TestStartup::leftoverLockNeverHoldsTheStart() {
    QFETCH(QString, leftover);
    QFETCH(QString, told);
    AppFixture fx;
    const QString lock = QDir(fx.dataDir()).filePath(QStringLiteral("Velmora.lock"));
    if (leftover == QLatin1String("empty"))
        QVERIFY(QFile(lock).open(QIODevice::WriteOnly));
    else if (leftover == QLatin1String("other computer")) {
        QFile f(lock);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("4242\nvelmora\ncomputador-da-sala\n");
    } else if (leftover == QLatin1String("pipe"))
        QCOMPARE(::mkfifo(QFile::encodeName(lock).constData(), 0644), 0);
    else
        QVERIFY(QDir().mkdir(lock));

    QStringList steps;
    auto app = Startup::start(fx.environment(), [&steps](const QString& step) { steps << step; });
    if (told.isEmpty()) {
        QVERIFY(app);
        QVERIFY(fx.dialogs.shown().isEmpty());
        return;
    }
    QVERIFY(!app);
    QVERIFY(!steps.contains("splash shown"));
    QCOMPARE(fx.dialogs.shown().size(), 1);
    const auto box = fx.dialogs.shown().first();
    QCOMPARE(box.icon, MsgIcon::Error);
    QVERIFY2(box.text.contains(told) && box.text.contains(lock) &&
                 box.text.contains(QStringLiteral("apague")),
             qPrintable(box.text));
}

void TestStartup::storeVelmoraDidNotMakeIsLeftUntouched_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("told");
    row("empty file", "empty", "está vazio (0 bytes)");
    row("another program's database", "foreign", "não é um catálogo do Velmora");
}

void TestStartup::storeVelmoraDidNotMakeIsLeftUntouched() {
    QFETCH(QString, kind);
    QFETCH(QString, told);
    AppFixture fx;
    const QString file = fx.store.storeFile();
    fx.store.close();
    QVERIFY(QFile::remove(file));
    if (kind == QLatin1String("foreign")) {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "other");
        other.setDatabaseName(file);
        QVERIFY(other.open());
        QVERIFY(QSqlQuery(other).exec(QStringLiteral("create table notas (texto text)")));
        other.close();
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase("other");
    } else {
        QVERIFY(QFile(file).open(QIODevice::WriteOnly));
    }
    const QDateTime stamp = QDateTime::currentDateTime().addDays(-3);
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(stamp, QFileDevice::FileModificationTime));
    }
    const QByteArray before = [&] {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("unreadable");
    }();

    auto app = Startup::start(fx.environment());
    QVERIFY(!app);
    QCOMPARE(fx.dialogs.shown().size(), 1);
    const QString text = fx.dialogs.shown().first().text;
    QVERIFY2(text.contains(told) && text.contains(file), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("velmora-datadir")));

    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);
    QCOMPARE(QFileInfo(file).lastModified(), stamp);
}

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
