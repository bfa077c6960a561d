// The window tracker: which form's FormActivate runs when, under the offscreen platform.
#include "platform/Dialogs.h"
#include "platform/Form.h"
#include "tests/support/Doubles.h"

#include <QApplication>
#include <QInputDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <stdexcept>

using namespace velmora;

namespace {

class CountingForm final : public Form {
public:
    using Form::Form;
    void FormActivate() override {
        ++activations;
        if (failWith)
            throw std::runtime_error(failWith);
    }
    int activations = 0;
    const char* failWith = nullptr;
};

// Runs act on the modal box once it is up and active, from inside its event loop.
void whenModalActive(std::function<void(QWidget*)> act, bool* wasActive = nullptr) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act, wasActive] {
        QWidget* box = QApplication::activeModalWidget();
        if (box == nullptr || !box->isVisible())
            return;
        if (wasActive != nullptr)
            *wasActive = QApplication::activeWindow() == box;
        timer->deleteLater();
        timer->stop();
        act(box);
    });
    timer->start();
}

} // namespace

class TestForms final : public QObject {
    Q_OBJECT

    ScriptedDialogs scripted;
    std::unique_ptr<Forms> forms;
    std::unique_ptr<CountingForm> a, b;

    bool activate(Form* f) {
        forms->show(f);
        return QTest::qWaitForWindowActive(f);
    }

private slots:
    void init() {
        scripted.clearLog();
        forms = std::make_unique<Forms>(scripted);
        a = std::make_unique<CountingForm>(*forms, QStringLiteral("FrmA"), QStringLiteral("A"),
                                           QSize(300, 200));
        b = std::make_unique<CountingForm>(*forms, QStringLiteral("FrmB"), QStringLiteral("B"),
                                           QSize(200, 100), QPoint(40, 30));
    }
    void cleanup() {
        a.reset();
        b.reset();
        forms.reset();
    }

    void formHasCaptionBarWithoutButtonsAndFixedClient() {
        QCOMPARE(a->objectName(), QStringLiteral("FrmA"));
        QCOMPARE(a->windowTitle(), QStringLiteral("A"));
        const Qt::WindowFlags flags = a->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowTitleHint));
        QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
        for (auto button : {Qt::WindowSystemMenuHint, Qt::WindowMinimizeButtonHint,
                            Qt::WindowMaximizeButtonHint, Qt::WindowCloseButtonHint})
            QVERIFY(!flags.testFlag(button));
        a->menuBar()->addMenu(QStringLiteral("Arquivo"));
        QVERIFY(activate(a.get()));
        QCOMPARE(a->client()->size(), QSize(300, 200));
        QCOMPARE(a->client()->mapTo(a.get(), QPoint(0, 0)).y(), a->menuBar()->height());
    }

    void placementCentredOrAtDesignedPosition() {
        QVERIFY(activate(a.get()));
        QVERIFY(activate(b.get()));
        QCOMPARE(b->pos(), QPoint(40, 30));
        const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
        QVERIFY((a->frameGeometry().center() - centre).manhattanLength() <= 2);
        // A window the user moved stays there when shown again.
        forms->close(b.get());
        b->move(100, 90);
        QVERIFY(activate(b.get()));
        QCOMPARE(b->pos(), QPoint(100, 90));
    }

    void firstShowRunsActivation() {
        QVERIFY(activate(a.get()));
        QTRY_COMPARE(a->activations, 1);
        QCOMPARE(forms->lastActive(), a.get());
        QCOMPARE(b->activations, 0);
    }

    void everyReturnToAFormRunsActivation() {
        QVERIFY(activate(a.get()));
        QVERIFY(activate(b.get()));
        QVERIFY(activate(a.get()));
        QVERIFY(activate(b.get()));
        QCoreApplication::processEvents();
        QCOMPARE(a->activations, 2);
        QCOMPARE(b->activations, 2);
    }

    void showOfVisibleFormOnlyBringsItToFront() {
        QVERIFY(activate(a.get()));
        const QPoint moved(70, 60);
        a->move(moved);
        QVERIFY(activate(a.get()));
        QCoreApplication::processEvents();
        QCOMPARE(a->activations, 1);
        QCOMPARE(a->pos(), moved);
    }

    void closeOnlyHides() {
        QVERIFY(activate(a.get()));
        QVERIFY(activate(b.get()));
        QPointer<CountingForm> watch = b.get();
        forms->close(b.get());
        QVERIFY(!b->isVisible());
        QCoreApplication::processEvents();
        QVERIFY(watch);
        QCOMPARE(b->activations, 1);
    }

    void formShownAgainAfterCloseRunsActivation() {
        QVERIFY(activate(a.get()));
        forms->close(a.get());
        QVERIFY(activate(a.get()));
        QTRY_COMPARE(a->activations, 2);
    }

    void messageBoxClosingOverFormRunsNothing_data() {
        QTest::addColumn<bool>("throughQtDialogs");
        QTest::newRow("QtDialogs message box") << true;
        QTest::newRow("plain dialog") << false;
    }
    void messageBoxClosingOverFormRunsNothing() {
        QFETCH(bool, throughQtDialogs);
        QVERIFY(activate(a.get()));
        QTRY_COMPARE(a->activations, 1);
        bool boxWasActive = false;
        whenModalActive([](QWidget* box) { qobject_cast<QDialog*>(box)->accept(); }, &boxWasActive);
        if (throughQtDialogs) {
            QtDialogs real;
            real.setForms(forms.get());
            real.message(QStringLiteral("Velmora"), QStringLiteral("Aviso"), MsgIcon::Warning,
                         MsgButtons::Ok);
        } else {
            QDialog plain(a.get());
            plain.exec();
            a->activateWindow(); // what the desktop does when the box goes
        }
        QVERIFY(boxWasActive);
        QVERIFY(QTest::qWaitForWindowActive(a.get()));
        QTest::qWait(20);
        QCOMPARE(a->activations, 1);
        QCOMPARE(forms->lastActive(), a.get());
    }

    void switchToAnotherApplicationAndBackRunsNothing() {
        QVERIFY(activate(a.get()));
        QApplication::setActiveWindow(nullptr); // another application takes the focus
        QTRY_VERIFY(!a->isActiveWindow());
        a->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(a.get()));
        QTest::qWait(20);
        QCOMPARE(a->activations, 1);
    }

    void scriptedEntryBoxHandsActivationBack() {
        QVERIFY(activate(a.get()));
        QTRY_COMPARE(a->activations, 1);
        scripted.queueEntry(QStringLiteral("SP"));
        QCOMPARE(scripted.entry(QStringLiteral("Velmora"), QStringLiteral("Sigla")),
                 QStringLiteral("SP"));
        QCOMPARE(a->activations, 2);
        QCOMPARE(forms->lastActive(), a.get());
        // Nothing queued: Cancel, and still an entry box that hands activation back.
        QCOMPARE(scripted.entry(QStringLiteral("Velmora"), QStringLiteral("Sigla")), QString());
        QCOMPARE(a->activations, 3);
    }

    void realEntryBoxHandsActivationBack_data() {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("expected");
        QTest::newRow("OK") << true << QStringLiteral("São Paulo");
        QTest::newRow("Cancel") << false << QString();
    }
    void realEntryBoxHandsActivationBack() {
        QFETCH(bool, accept);
        QFETCH(QString, expected);
        QVERIFY(activate(a.get()));
        QTRY_COMPARE(a->activations, 1);
        QtDialogs real;
        real.setForms(forms.get());
        QString shownPrompt, shownCaption, startText = QStringLiteral("unset");
        whenModalActive([&](QWidget* box) {
            auto* input = qobject_cast<QInputDialog*>(box);
            QVERIFY(input);
            shownCaption = input->windowTitle();
            shownPrompt = input->labelText();
            startText = input->textValue();
            input->setTextValue(QStringLiteral("São Paulo"));
            accept ? input->accept() : input->reject();
        });
        QCOMPARE(real.entry(QStringLiteral("Velmora"), QStringLiteral("Digite o nome")), expected);
        QCOMPARE(shownCaption, QStringLiteral("Velmora"));
        QCOMPARE(shownPrompt, QStringLiteral("Digite o nome"));
        QCOMPARE(startText, QString());
        QVERIFY(QTest::qWaitForWindowActive(a.get()));
        QTest::qWait(20);
        QCOMPARE(a->activations, 2);
    }

    void entryBoxOverHiddenFormActivatesNothing() {
        QVERIFY(activate(a.get()));
        forms->entryBoxOpened();
        a->hide();
        forms->entryBoxClosed();
        QCOMPARE(a->activations, 1);
        QVERIFY(forms->lastActive() == nullptr);
        // The next form to come up is a change of program window.
        QVERIFY(activate(a.get()));
        QTRY_COMPARE(a->activations, 2);
    }

    void hidingActiveFormRunsNothingOnIt() {
        QVERIFY(activate(a.get()));
        QVERIFY(activate(b.get()));
        forms->close(b.get());
        QTest::qWait(20);
        QCOMPARE(b->activations, 1);
        // A hidden form never runs its activation, even when told it was activated.
        forms->formActivated(b.get());
        QCOMPARE(b->activations, 1);
    }

    void throwingActivationGoesToGeneralErrorReport() {
        a->failWith = "Tabela não encontrada: Clubes.db";
        QVERIFY(activate(a.get()));
        QTRY_COMPARE(a->activations, 1);
        QCOMPARE(scripted.shown().size(), 1);
        const auto& box = scripted.shown().constFirst();
        QCOMPARE(box.kind, QStringLiteral("message"));
        QCOMPARE(box.caption, QStringLiteral("VELMORA v1.0"));
        QCOMPARE(box.text, QStringLiteral("Tabela não encontrada: Clubes.db"));
        QCOMPARE(box.icon, MsgIcon::Error);
        QCOMPARE(box.buttons, MsgButtons::Ok);
    }

    // A box raised by the window just opened (its activation not yet confirmed by the
    // platform) sits on that window, and after it the window is still in front.
    void errorReportKeepsTheWindowJustShownInFront_data() {
        QTest::addColumn<bool>("openedFirst");
        QTest::newRow("window just opened") << true;
        QTest::newRow("window already active") << false;
    }
    void errorReportKeepsTheWindowJustShownInFront() {
        QFETCH(bool, openedFirst);
        QVERIFY(activate(a.get()));
        if (!openedFirst)
            QVERIFY(activate(b.get()));
        QtDialogs real;
        real.setForms(forms.get());
        QWidget* boxParent = nullptr;
        whenModalActive([&boxParent](QWidget* box) {
            boxParent = box->parentWidget();
            qobject_cast<QDialog*>(box)->accept();
        });
        forms->show(b.get()); // and the opening command fails at once
        real.message(QStringLiteral("VELMORA v1.0"), QStringLiteral("Arquivo não encontrado"),
                     MsgIcon::Error, MsgButtons::Ok);
        QCOMPARE(boxParent, b.get());
        QVERIFY(QTest::qWaitForWindowActive(b.get()));
        QTest::qWait(50);
        QCOMPARE(QApplication::activeWindow(), b.get());
        QCOMPARE(forms->front(), b.get());
    }

    // The window manager's close box runs the window's own way out while it is enabled.
    void closeBoxRunsTheWayOut_data() {
        QTest::addColumn<bool>("button");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("menu command") << false << true;
        QTest::newRow("menu command, unavailable") << false << false;
        QTest::newRow("button") << true << true;
        QTest::newRow("button, unavailable") << true << false;
    }
    void closeBoxRunsTheWayOut() {
        QFETCH(bool, button);
        QFETCH(bool, enabled);
        QVERIFY(activate(a.get()));
        QVERIFY(activate(b.get()));
        int ran = 0;
        auto leave = [this, &ran] {
            ++ran;
            forms->close(b.get());
        };
        QAction command(QStringLiteral("Voltar"));
        QPushButton ok(QStringLiteral("OK"), b->client());
        QObject::connect(&command, &QAction::triggered, b.get(), leave);
        QObject::connect(&ok, &QPushButton::clicked, b.get(), leave);
        command.setEnabled(enabled);
        ok.setEnabled(enabled);
        if (button)
            b->setWayOut(&ok);
        else
            b->setWayOut(&command);

        const bool closed = b->close();
        QCOMPARE(ran, enabled ? 1 : 0);
        QCOMPARE(closed, enabled);
        QCOMPARE(b->isVisible(), !enabled);
        QVERIFY(a->isVisible());
    }

    void trackerUnregistersFromDialogs() {
        QCOMPARE(scripted.forms(), forms.get());
        a.reset();
        b.reset();
        forms.reset();
        QVERIFY(scripted.forms() == nullptr);
        QCOMPARE(scripted.entry(QStringLiteral("Velmora"), QStringLiteral("Sigla")), QString());
    }
};

QTEST_MAIN(TestForms)
#include "test_forms.moc"
