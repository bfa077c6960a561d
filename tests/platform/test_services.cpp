// Files, clock and random draws, and the general error report.
#include "core/Files.h"
#include "core/Pictures.h"
#include "core/System.h"
#include "platform/Dialogs.h"
#include "platform/ErrorReport.h"
#include "store/StoreError.h"
#include "tests/support/Doubles.h"
#include "tests/support/Rows.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <stdexcept>

using namespace velmora;
using velmora::test::row;

namespace {

void writeText(const QString& path, const QByteArray& text) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

QByteArray readText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString failureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

} // namespace

class TestServices final : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }

private slots:
    void copyPutsACopyAndLeavesTheSource() {
        writeText(path("escudo.jpg"), "badge");
        QVERIFY(!files::exists(path("copia.jpg")));
        files::copyNoOverwrite(path("escudo.jpg"), path("copia.jpg"));
        QVERIFY(files::exists(path("copia.jpg")));
        QCOMPARE(readText(path("copia.jpg")), QByteArray("badge"));
        QCOMPARE(readText(path("escudo.jpg")), QByteArray("badge"));
    }

    void copyRefusesExistingTarget() {
        writeText(path("novo.jpg"), "new");
        writeText(path("velho.jpg"), "old");
        QCOMPARE(failureOf([&] { files::copyNoOverwrite(path("novo.jpg"), path("velho.jpg")); }),
                 QStringLiteral("O arquivo de destino já existe: %1").arg(path("velho.jpg")));
        QCOMPARE(readText(path("velho.jpg")), QByteArray("old"));
    }

    void copyFailureNamesFileAndReason_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("reason");
        row("missing source", "nada.jpg", "alvo.jpg", "arquivo de origem não encontrado");
        row("missing target folder", "origem.jpg", "sem/pasta/alvo.jpg",
            "pasta de destino não encontrada");
        row("source is a folder", "pasta", "alvo2.jpg", "a origem não é um arquivo");
    }
    void copyFailureNamesFileAndReason() {
        QFETCH(QString, source);
        QFETCH(QString, target);
        QFETCH(QString, reason);
        writeText(path("origem.jpg"), "x");
        QDir().mkpath(path("pasta"));
        const QString message =
            failureOf([&] { files::copyNoOverwrite(path(source), path(target)); });
        QCOMPARE(message,
                 QStringLiteral("Não foi possível copiar o arquivo \"%1\" para \"%2\": %3.")
                     .arg(path(source), path(target), reason));
        QVERIFY(!files::exists(path(target)));
    }

    void removeReportsWhetherItDeleted() {
        writeText(path("apagar.jpg"), "x");
        QVERIFY(files::remove(path("apagar.jpg")));
        QVERIFY(!files::exists(path("apagar.jpg")));
        QVERIFY(!files::remove(path("apagar.jpg")));
        QVERIFY(!files::remove(QString()));
    }

    void ensureDirCreatesParentsAndRefusesFile() {
        files::ensureDir(path("a/b/Distintivos"));
        QVERIFY(QFileInfo(path("a/b/Distintivos")).isDir());
        files::ensureDir(path("a/b/Distintivos")); // already there
        writeText(path("arquivo"), "x");
        QVERIFY(failureOf([&] {
                    files::ensureDir(path("arquivo"));
                }).contains(QStringLiteral("já existe um arquivo")));
    }

    void fileNameTakesLastComponent_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        row("windows", "C:\\Velmora\\Distintivos\\Escudo.JPG", "Escudo.JPG");
        row("unix", "/home/u/Velmora/Distintivos/escudo.jpg", "escudo.jpg");
        row("mixed", "C:/fotos\\times/São Paulo.bmp", "São Paulo.bmp");
        row("bare name", "escudo.jpg", "escudo.jpg");
        row("empty", "", "");
    }
    void fileNameTakesLastComponent() {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QCOMPARE(files::fileName(path), name);
    }

    void clockGivesThisYear() {
        QCOMPARE(Clock().currentYear(), QDate::currentDate().year());
        FixedClock fixed(2024);
        QCOMPARE(fixed.currentYear(), 2024);
    }

    void randomDrawsCoverTheRangeUniformly() {
        Random random;
        random.seedFromClock();
        std::vector<int> counts(7, 0);
        for (int i = 0; i < 7000; ++i) {
            const int v = random.below(7);
            QVERIFY(v >= 0 && v < 7);
            ++counts[size_t(v)];
        }
        for (int c : counts)
            QVERIFY2(c > 700 && c < 1300, qPrintable(QString::number(c)));
        QCOMPARE(random.below(1), 0);
        QCOMPARE(random.below(0), 0);
    }

    void scriptedDrawsAreTakenModuloThenZero() {
        ScriptedRandom random;
        random.queue(5);
        random.queue(13);
        random.queue(-1);
        QCOMPARE(random.below(10), 5);
        QCOMPARE(random.below(10), 3);
        QCOMPARE(random.below(10), 9);
        QCOMPARE(random.below(10), 0);
    }

    void errorReportShowsTheFailuresOwnText_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        row("picture error", 0, QStringLiteral("Não foi possível ler \"ç.jpg\"."));
        row("runtime error with accents", 1, QStringLiteral("Tabela não encontrada: Federação.db"));
        row("plain text", 2, QStringLiteral("Falha ao gravar."));
        row("error", 3, QStringLiteral("\"1a\" não é um número inteiro."));
        row("store error", 4, QStringLiteral("O disco está cheio: Clubes.db"));
    }
    void errorReportShowsTheFailuresOwnText() {
        QFETCH(int, kind);
        QFETCH(QString, text);
        ScriptedDialogs dialogs;
        const bool ok = guard(dialogs, [&] {
            if (kind == 0)
                throw PictureError(text);
            if (kind == 1)
                throw std::runtime_error(text.toStdString());
            if (kind == 3)
                throw Error(text);
            if (kind == 4)
                throw StoreError(text);
            reportError(dialogs, text);
        });
        QCOMPARE(ok, kind == 2);
        QCOMPARE(dialogs.shown().size(), 1);
        const auto& box = dialogs.shown().constFirst();
        QCOMPARE(box.kind, QStringLiteral("message"));
        QCOMPARE(box.caption, QStringLiteral("VELMORA v1.0"));
        QCOMPARE(box.text, text);
        QCOMPARE(box.icon, MsgIcon::Error);
        QCOMPARE(box.buttons, MsgButtons::Ok);
    }

    void guardCatchesAnythingAndStopsTheBody() {
        ScriptedDialogs dialogs;
        bool after = false;
        QVERIFY(!guard(dialogs, [&] {
            throw 42;
            after = true;
        }));
        QVERIFY(!after);
        QCOMPARE(dialogs.messages(), QStringList{QStringLiteral("Erro inesperado.")});
    }

    void scriptedDialogsAnswerInOrderThenDefaults() {
        ScriptedDialogs dialogs;
        dialogs.queueAnswer(MsgResult::Yes);
        dialogs.queueEntry(QStringLiteral("RJ"));
        dialogs.queuePicture(QStringLiteral("/fotos/a.jpg"));
        dialogs.queuePicture(QString());
        QCOMPARE(dialogs.message("Velmora", "Excluir?", MsgIcon::Question, MsgButtons::YesNo),
                 MsgResult::Yes);
        QCOMPARE(dialogs.message("Velmora", "Excluir?", MsgIcon::Question, MsgButtons::YesNo),
                 MsgResult::No);
        QCOMPARE(dialogs.message("Velmora", "Gravado.", MsgIcon::Information, MsgButtons::Ok),
                 MsgResult::Ok);
        QCOMPARE(dialogs.entry("Velmora", "Digite a sigla do estado"), QStringLiteral("RJ"));
        QCOMPARE(dialogs.entry("Velmora", "Digite a sigla do estado"), QString());
        QString file = QStringLiteral("/antes.jpg");
        QVERIFY(dialogs.openPicture(file));
        QCOMPARE(file, QStringLiteral("/fotos/a.jpg"));
        QVERIFY(!dialogs.openPicture(file)); // queued cancel
        QVERIFY(!dialogs.openPicture(file)); // nothing queued
        QCOMPARE(file, QStringLiteral("/fotos/a.jpg"));

        QCOMPARE(dialogs.messages(), QStringList({"Excluir?", "Excluir?", "Gravado."}));
        QStringList kinds;
        for (const auto& s : dialogs.shown())
            kinds.append(s.kind);
        QCOMPARE(kinds, QStringList({"message", "message", "message", "entry", "entry", "picture",
                                     "picture", "picture"}));
        QCOMPARE(dialogs.shown().at(3).text, QStringLiteral("Digite a sigla do estado"));
        QCOMPARE(dialogs.shown().at(0).buttons, MsgButtons::YesNo);
        QCOMPARE(dialogs.shown().at(2).icon, MsgIcon::Information);
        dialogs.clearLog();
        QVERIFY(dialogs.shown().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestServices)
#include "test_services.moc"
