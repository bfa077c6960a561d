// The club editor's badges: choosing, copying into Distintivos/, replacing, the
// duplicate-name loop, and what a failed copy or post leaves behind.
#include "core/Files.h"
#include "tests/support/EditorRig.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>

using namespace velmora;
using velmora::test::Club;
using velmora::test::EditorRig;

namespace {

const QString duplicateFile =
    QStringLiteral("Arquivo duplicado, favor selecionar outro distintivo ou renomear o atual.");

QByteArray bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Kinds of the boxes shown, in order ("picture", "message", "entry").
QStringList kinds(const ScriptedDialogs& dialogs) {
    QStringList list;
    for (const auto& shown : dialogs.shown())
        list << shown.kind;
    return list;
}

} // namespace

class TestClubesBadges final : public QObject {
    Q_OBJECT
    QTemporaryDir home_; // its trash receives the badges the editor removes
    QString trashed(const QString& name) const {
        return home_.filePath(QStringLiteral("share/Trash/files/")) + name;
    }
private slots:
    void initTestCase() {
        QVERIFY(home_.isValid());
        qputenv("HOME", QFile::encodeName(home_.path()));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home_.filePath(QStringLiteral("share"))));
    }
    void newBadgeIsCopied();
    void badgeOfEveryTypeKeepsItsName_data();
    void badgeOfEveryTypeKeepsItsName();
    void replacedBadgeGoesAfterSave();
    void editWithoutBadgeTouchesNoFile();
    void duplicateFileName_data();
    void duplicateFileName();
    void cancelAfterChoosing();
    void failedCopy_data();
    void failedCopy();
    void failedPost_data();
    void failedPost();
    void newBadgeNamedLikeMissingOldOne();
    void deleteRemovesBadge();
    void missingBadgeFolderIsCreated();
    void lastFileRemembered();
    void deepSourceFolder_data();
    void deepSourceFolder();
    void unreadablePicture();
    void svgReachingBeyondItself_data();
    void svgReachingBeyondItself();
};

void TestClubesBadges::newBadgeIsCopied() {
    EditorRig rig;
    TFrmClubes& editor = rig.open();
    rig.fillNew(QStringLiteral("Boca"));
    const QString source = rig.store.path(QStringLiteral("Fontes/escudo.jpg"));
    QCOMPARE(editor.chosenBadge(), source);
    QCOMPARE(rig.clubs().fieldText(QStringLiteral("EscudoClube")),
             rig.badgeDir() + files::fileName(source));
    QVERIFY(rig.hasPicture(editor.ImgLogoClube));
    QCOMPARE(editor.pendingBadge(), 1);
    QVERIFY(rig.badgeFiles().isEmpty()); // nothing copied before the save
    rig.click(editor.BtnGravar);
    QCOMPARE(rig.stored(1, QStringLiteral("EscudoClube")), rig.badgeDir() + "escudo.jpg");
    QCOMPARE(rig.badgeFiles(), QStringList{"escudo.jpg"});
    QVERIFY(QFile::exists(source));
    QCOMPARE(bytes(rig.badgeDir() + "escudo.jpg"), bytes(source));
    QCOMPARE(editor.pendingBadge(), 0);
    QCOMPARE(rig.stored(1, QStringLiteral("Extinto")), QStringLiteral("0"));
}

void TestClubesBadges::badgeOfEveryTypeKeepsItsName_data() {
    QTest::addColumn<QString>("file");
    for (const char* name :
         {"escudo.webp", "escudo.svg", "escudo.tif", "escudo.TIFF", "escudo.png"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestClubesBadges::badgeOfEveryTypeKeepsItsName() {
    QFETCH(QString, file);
    EditorRig rig;
    TFrmClubes& editor = rig.open();
    rig.fillNew(QStringLiteral("Boca"), file);
    QVERIFY(rig.hasPicture(editor.ImgLogoClube));
    QVERIFY(rig.dialogs().messages().isEmpty());
    rig.click(editor.BtnGravar);
    QCOMPARE(rig.stored(1, QStringLiteral("EscudoClube")), rig.badgeDir() + file);
    QCOMPARE(rig.badgeFiles(), QStringList{file});
    QCOMPARE(bytes(rig.badgeDir() + file), bytes(rig.store.path(QStringLiteral("Fontes/") + file)));
}

void TestClubesBadges::replacedBadgeGoesAfterSave() {
    EditorRig rig;
    const Club santos = rig.store.clubSharingBadge(
        1, QStringLiteral("Santos"), QStringLiteral("Brasil"), QStringLiteral("SP"),
        rig.store.makeBadge(QStringLiteral("velho.jpg"), Qt::blue, QStringLiteral("Distintivos")));
    rig.store.insert(santos);
    const QByteArray old = bytes(santos.escudoClube);
    TFrmClubes& editor = rig.open();
    editor.Alterar1->trigger();
    QCOMPARE(editor.rememberedBadge(), santos.escudoClube);
    const QString source = rig.store.makeBadge(QStringLiteral("novo.jpg"));
    rig.chooseBadge(source);
    rig.click(editor.BtnGravar);
    QCOMPARE(rig.clubs().state(), Table::State::Browse);
    QCOMPARE(rig.stored(1, QStringLiteral("EscudoClube")), rig.badgeDir() + "novo.jpg");
    QCOMPARE(rig.badgeFiles(), QStringList{"novo.jpg"});
    QVERIFY(QFile::exists(source));
    QCOMPARE(rig.dialogs().messages(), QStringList());
    QCOMPARE(bytes(trashed(QStringLiteral("velho.jpg"))), old); // the user can get it back
}

void TestClubesBadges::editWithoutBadgeTouchesNoFile() {
    EditorRig rig;
    const Club santos = rig.store.add(1, QStringLiteral("Santos"));
    rig.store.add(2, QStringLiteral("Palmeiras"));
    TFrmClubes& editor = rig.open();
    const QStringList before = rig.badgeFiles();
    editor.Alterar1->trigger();
    editor.EdtEstadio->setText(QStringLiteral("Vila Belmiro"));
    rig.click(editor.BtnGravar);
    QCOMPARE(rig.stored(1, QStringLiteral("Estadio")), QStringLiteral("Vila Belmiro"));
    QCOMPARE(rig.stored(1, QStringLiteral("EscudoClube")), santos.escudoClube);
    QCOMPARE(rig.badgeFiles(), before);
}

void TestClubesBadges::duplicateFileName_data() {
    QTest::addColumn<bool>("fromBadgeFolder");
    QTest::newRow("same name in another folder") << false;
    QTest::newRow("the stored badge itself") << true;
}

void TestClubesBadges::duplicateFileName() {
    QFETCH(bool, fromBadgeFolder);
    EditorRig rig;
    const Club santos = rig.store.add(1, QStringLiteral("Santos"));
    const QString taken = files::fileName(santos.escudoClube);
    const QByteArray takenBytes = bytes(santos.escudoClube);
    TFrmClubes& editor = rig.open();
    rig.fillNew(QStringLiteral("Boca"), QStringLiteral("provisorio.jpg"));
    const QString first = fromBadgeFolder ? santos.escudoClube : rig.store.makeBadge(taken);
    rig.chooseBadge(first);
    const QString free = rig.store.makeBadge(QStringLiteral("livre.jpg"), Qt::green);
    rig.dialogs().clearLog();
    rig.dialogs().queuePicture(QString()); // cancelled: the message comes back
    rig.dialogs().queuePicture(free);
    rig.click(editor.BtnGravar);
    QCOMPARE(kinds(rig.dialogs()), QStringList({"message", "picture", "message", "picture"}));
    QCOMPARE(rig.dialogs().messages(), QStringList({duplicateFile, duplicateFile}));
    const auto& shown = rig.dialogs().shown().constFirst();
    QCOMPARE(shown.caption, QStringLiteral("Velmora"));
    QCOMPARE(int(shown.icon), int(MsgIcon::Error));
    // The dialog reopens at the file chosen before.
    QCOMPARE(rig.dialogs().shown().at(1).text, first);
    QCOMPARE(rig.clubs().state(), Table::State::Browse);
    QCOMPARE(rig.stored(2, QStringLiteral("EscudoClube")), rig.badgeDir() + "livre.jpg");
    QCOMPARE(bytes(rig.badgeDir() + "livre.jpg"), bytes(free));
    QCOMPARE(bytes(santos.escudoClube), takenBytes); // the taken file is left alone
    QCOMPARE(rig.badgeFiles().size(), 2);
}

void TestClubesBadges::cancelAfterChoosing() {
    EditorRig rig;
    const Club santos = rig.store.add(1, QStringLiteral("Santos"));
    rig.store.add(2, QStringLiteral("Palmeiras"));
    TFrmClubes& editor = rig.open();
    const QStringList before = rig.badgeFiles();
    editor.Alterar1->trigger();
    rig.chooseBadge(rig.store.makeBadge(QStringLiteral("novo.jpg")));
    rig.click(editor.BtnCancelar);
    QCOMPARE(editor.pendingBadge(), 0);
    QCOMPARE(rig.badgeFiles(), before);
    QCOMPARE(rig.stored(1, QStringLiteral("EscudoClube")), santos.escudoClube);
    QVERIFY(rig.hasPicture(editor.ImgLogoClube));
    // A later edit without a new badge saves without the duplicate-file loop.
    rig.goTo(2);
    editor.Alterar1->trigger();
    rig.click(editor.BtnGravar);
    QCOMPARE(rig.dialogs().messages(), QStringList());
    QCOMPARE(rig.clubs().state(), Table::State::Browse);
    QCOMPARE(rig.badgeFiles(), before);
}

void TestClubesBadges::failedCopy_data() {
    QTest::addColumn<bool>("editing");
    QTest::addColumn<bool>("folderIsFile"); // else the source goes after being chosen
    QTest::newRow("new row, badge folder is a file") << false << true;
    QTest::newRow("new row, source removed") << false << false;
    QTest::newRow("edited row, source removed") << true << false;
}

void TestClubesBadges::failedCopy() {
    QFETCH(bool, editing);
    QFETCH(bool, folderIsFile);
    EditorRig rig;
    Club santos;
    if (editing)
        santos = rig.store.add(1, QStringLiteral("Santos"));
    TFrmClubes& editor = rig.open();
    QString source;
    if (editing) {
        editor.Alterar1->trigger();
        source = rig.store.makeBadge(QStringLiteral("novo.jpg"));
        rig.chooseBadge(source);
    } else {
        rig.fillNew(QStringLiteral("Boca"), QStringLiteral("novo.jpg"));
        source = rig.store.path(QStringLiteral("Fontes/novo.jpg"));
    }
    const QString folder = rig.fx.dataDir() + QStringLiteral("/Distintivos");
    if (folderIsFile) {
        QVERIFY(QDir(folder).removeRecursively());
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    } else {
        QVERIFY(QFile::remove(source));
    }
    rig.dialogs().clearLog();
    rig.click(editor.BtnGravar);

    QCOMPARE(rig.dialogs().shown().size(), 1);
    const auto& report = rig.dialogs().shown().constFirst();
    QCOMPARE(report.caption, QStringLiteral("VELMORA v1.0"));
    QCOMPARE(int(report.icon), int(MsgIcon::Error));
    QVERIFY2(report.text.contains(folderIsFile ? QStringLiteral("Distintivos")
                                               : QStringLiteral("novo.jpg")),
             qPrintable(report.text));
    // Not posted, nothing deleted, everything kept for another try.
    QCOMPARE(rig.clubs().state(), editing ? Table::State::Edit : Table::State::Insert);
    QVERIFY(editor.BtnGravar->isEnabled());
    QCOMPARE(editor.pendingBadge(), 1);
    QCOMPARE(editor.chosenBadge(), source);
    QCOMPARE(rig.clubs().fieldText(QStringLiteral("EscudoClube")),
             rig.badgeDir() + files::fileName(source));
    QCOMPARE(rig.store.count(QStringLiteral("Clubes")), editing ? 1 : 0);
    if (editing) {
        QVERIFY(QFile::exists(santos.escudoClube));
        QCOMPARE(rig.stored(1, QStringLiteral("EscudoClube")), santos.escudoClube);
    }

    // Once the cause is gone the same save goes through.
    if (folderIsFile)
        QVERIFY(QFile::remove(folder));
    else
        rig.store.makeBadge(QStringLiteral("novo.jpg"));
    rig.click(editor.BtnGravar);
    QCOMPARE(rig.clubs().state(), Table::State::Browse);
    QVERIFY(QFile::exists(rig.badgeDir() + "novo.jpg"));
    if (editing)
        QVERIFY(!QFile::exists(santos.escudoClube));
}

void TestClubesBadges::failedPost_data() {
    QTest::addColumn<bool>("editing");
    QTest::newRow("new row") << false;
    QTest::newRow("edited row") << true;
}

void TestClubesBadges::failedPost() {
    QFETCH(bool, editing);
    EditorRig rig;
    const Club santos = rig.store.add(1, QStringLiteral("Santos"));
    TFrmClubes& editor = rig.open();
    const QString source = rig.store.makeBadge(QStringLiteral("novo.jpg"));
    // A store that refuses the write.
    rig.store.exec(QStringLiteral("create trigger recusa before %1 on Clubes begin "
                                  "select raise(abort, 'gravação recusada'); end")
                       .arg(editing ? "update" : "insert"));
    if (editing) {
        editor.Alterar1->trigger();
        editor.EdtEstadio->setText(QStringLiteral("Vila Belmiro"));
        rig.chooseBadge(source);
    } else {
        rig.fillNew(QStringLiteral("Boca"), QStringLiteral("novo.jpg"));
    }
    rig.dialogs().clearLog();
    rig.click(editor.BtnGravar);

    QCOMPARE(rig.dialogs().shown().size(), 1);
    QVERIFY2(rig.dialogs().shown().constFirst().text.contains(QStringLiteral("gravação recusada")),
             qPrintable(rig.dialogs().shown().constFirst().text));
    QCOMPARE(rig.clubs().state(), editing ? Table::State::Edit : Table::State::Insert);
    QCOMPARE(rig.store.count(QStringLiteral("Clubes")), 1);
    QCOMPARE(rig.stored(1, QStringLiteral("EscudoClube")), santos.escudoClube);
    QCOMPARE(rig.stored(1, QStringLiteral("Estadio")), santos.estadio);
    QVERIFY(QFile::exists(santos.escudoClube));
    QVERIFY(!QFile::exists(rig.badgeDir() + "novo.jpg")); // no orphan copy
    QCOMPARE(editor.chosenBadge(), source);
    QCOMPARE(rig.clubs().fieldText(QStringLiteral("EscudoClube")),
             rig.badgeDir() + files::fileName(source));
    QCOMPARE(editor.pendingBadge(), 1);

    rig.store.exec(QStringLiteral("drop trigger recusa"));
    rig.click(editor.BtnGravar);
    QCOMPARE(rig.clubs().state(), Table::State::Browse);
    QCOMPARE(rig.stored(editing ? 1 : 2, QStringLiteral("EscudoClube")),
             rig.badgeDir() + "novo.jpg");
    QCOMPARE(QFile::exists(santos.escudoClube), !editing);
}

void TestClubesBadges::newBadgeNamedLikeMissingOldOne() {
    EditorRig rig;
    const Club santos = rig.store.add(1, QStringLiteral("Santos"));
    TFrmClubes& editor = rig.open();
    QVERIFY(QFile::remove(santos.escudoClube));
    editor.Alterar1->trigger();
    rig.chooseBadge(rig.store.makeBadge(files::fileName(santos.escudoClube)));
    rig.click(editor.BtnGravar);
    QCOMPARE(rig.clubs().state(), Table::State::Browse);
    QCOMPARE(rig.dialogs().messages(), QStringList());
    // The replaced badge had the new one's name: the fresh copy must stay.
    QVERIFY(QFile::exists(santos.escudoClube));
}

void TestClubesBadges::deleteRemovesBadge() {
    EditorRig rig;
    const Club santos = rig.store.add(1, QStringLiteral("Santos"));
    Club outside = rig.store.club(2, QStringLiteral("Palmeiras"));
    outside.escudoClube = rig.store.makeBadge(QStringLiteral("fora.jpg"));
    rig.store.insert(outside);
    const QByteArray badge = bytes(santos.escudoClube);
    TFrmClubes& editor = rig.open();
    rig.dialogs().queueAnswer(MsgResult::Yes);
    editor.Excluir1->trigger();
    QVERIFY(!QFile::exists(santos.escudoClube));
    QCOMPARE(bytes(trashed(files::fileName(santos.escudoClube))), badge);
    // Only the program's own copies are deleted.
    rig.dialogs().queueAnswer(MsgResult::Yes);
    editor.Excluir1->trigger();
    QCOMPARE(rig.store.count(QStringLiteral("Clubes")), 0);
    QVERIFY(QFile::exists(outside.escudoClube));
}

void TestClubesBadges::missingBadgeFolderIsCreated() {
    EditorRig rig;
    TFrmClubes& editor = rig.open();
    QVERIFY(QDir(rig.badgeDir()).removeRecursively());
    rig.fillNew(QStringLiteral("Boca"));
    rig.click(editor.BtnGravar);
    QCOMPARE(rig.clubs().state(), Table::State::Browse);
    QCOMPARE(rig.badgeFiles(), QStringList{"escudo.jpg"});
}

void TestClubesBadges::lastFileRemembered() {
    EditorRig rig;
    TFrmClubes& editor = rig.open();
    editor.Novo1->trigger();
    const QString a = rig.store.makeBadge(QStringLiteral("a.jpg"));
    const QString b = rig.store.makeBadge(QStringLiteral("b.bmp"));
    rig.chooseBadge(a);
    rig.chooseBadge(b);
    rig.chooseBadge(QString()); // cancelled: nothing changes
    const auto& shown = rig.dialogs().shown();
    QCOMPARE(shown.size(), 3);
    QCOMPARE(shown.at(1).text, a);
    QCOMPARE(shown.at(2).text, b);
    QCOMPARE(editor.lastPictureFile(), b);
    QCOMPARE(editor.chosenBadge(), b);
    QCOMPARE(rig.clubs().fieldText(QStringLiteral("EscudoClube")), rig.badgeDir() + "b.bmp");
    QCOMPARE(editor.pendingBadge(), 1);
}

void TestClubesBadges::deepSourceFolder_data() {
    QTest::addColumn<bool>("copyFits");
    QTest::newRow("deep folder, short name: accepted") << true;
    QTest::newRow("name too long for the badge folder: refused") << false;
}

// Only the stored copy's path has a limit: a badge deep in the user's folders is
// fine, while one whose copy would not fit is refused in the user's words and
// leaves the pending row exactly as it was.
void TestClubesBadges::deepSourceFolder() {
    QFETCH(bool, copyFits);
    EditorRig rig;
    TFrmClubes& editor = rig.open();
    rig.fillNew(QStringLiteral("Boca"), QStringLiteral("primeiro.jpg"));
    const QString first = editor.chosenBadge();
    int limit = 0;
    for (const FieldDef& f : Schema::table(QStringLiteral("Clubes")).fields)
        if (f.name == QLatin1String("EscudoClube"))
            limit = f.width;
    QString deep = QStringLiteral("Fontes");
    while (rig.store.path(deep).size() <= limit)
        deep += QStringLiteral("/uma pasta funda");
    const QString name = copyFits ? QStringLiteral("deep.jpg")
                                  : QString(limit, QLatin1Char('n')) + QStringLiteral(".jpg");
    const QString source = rig.store.makeBadge(name, Qt::yellow, deep);
    QVERIFY(source.size() > limit);
    rig.dialogs().clearLog();
    rig.chooseBadge(source);

    QCOMPARE(editor.pendingBadge(), 1);
    QCOMPARE(editor.EdtNomeClube->text(), QStringLiteral("Boca"));
    QCOMPARE(rig.clubs().state(), Table::State::Insert);
    if (copyFits) {
        QCOMPARE(rig.dialogs().messages(), QStringList());
        QCOMPARE(editor.chosenBadge(), source);
    } else {
        QCOMPARE(rig.dialogs().messages().size(), 1);
        const auto& told = rig.dialogs().shown().constLast();
        QCOMPARE(told.caption, QStringLiteral("Velmora"));
        QVERIFY2(told.text.contains(name) && told.text.contains(QString::number(limit)),
                 qPrintable(told.text));
        QVERIFY2(!told.text.contains(QStringLiteral("EscudoClube")), qPrintable(told.text));
        QCOMPARE(editor.chosenBadge(), first); // the earlier choice stands
    }
    rig.click(editor.BtnGravar);
    QCOMPARE(rig.clubs().state(), Table::State::Browse);
    const QString kept = copyFits ? name : files::fileName(first);
    QCOMPARE(rig.stored(1, QStringLiteral("EscudoClube")), rig.badgeDir() + kept);
    QCOMPARE(rig.badgeFiles(), QStringList{kept});
    QCOMPARE(bytes(rig.badgeDir() + kept), bytes(copyFits ? source : first));
}

void TestClubesBadges::unreadablePicture() {
    EditorRig rig;
    TFrmClubes& editor = rig.open();
    editor.Novo1->trigger();
    const QString bad = rig.store.path(QStringLiteral("ruim.jpg"));
    QFile file(bad);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();
    rig.chooseBadge(bad);
    QCOMPARE(rig.dialogs().shown().constLast().caption, QStringLiteral("VELMORA v1.0"));
    QVERIFY(rig.clubs().fieldText(QStringLiteral("EscudoClube")).isEmpty());
    QCOMPARE(editor.pendingBadge(), 0);
    QVERIFY(!rig.hasPicture(editor.ImgLogoClube));
    QCOMPARE(rig.clubs().state(), Table::State::Insert);
}

// An SVG that draws itself or another file is refused like any damaged picture (the
// first once ended the program and the club being typed): the club stays as typed and
// is saved with another badge.
void TestClubesBadges::svgReachingBeyondItself_data() {
    QTest::addColumn<QString>("href");
    QTest::newRow("itself") << "laco.svg";
    QTest::newRow("a picture in the folder above") << "../escudo.jpg";
}

void TestClubesBadges::svgReachingBeyondItself() {
    QFETCH(QString, href);
    EditorRig rig;
    TFrmClubes& editor = rig.open();
    editor.Novo1->trigger();
    editor.EdtNomeClube->setText(QStringLiteral("Boca"));
    const QString good = rig.store.makeBadge(QStringLiteral("escudo.jpg"));
    const QString svg =
        rig.store.makeBadge(QStringLiteral("laco.svg"), Qt::red, QStringLiteral("Fontes/Laços"));
    QFile file(svg);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(
        QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" "
                       "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"9\" "
                       "height=\"9\"><image width=\"9\" height=\"9\" xlink:href=\"%1\"/></svg>")
            .arg(href)
            .toUtf8());
    file.close();
    rig.chooseBadge(svg);
    const QStringList messages = rig.dialogs().messages();
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.first().contains(svg), qPrintable(messages.first()));
    QCOMPARE(editor.pendingBadge(), 0);
    QVERIFY(!rig.hasPicture(editor.ImgLogoClube));
    QCOMPARE(rig.clubs().state(), Table::State::Insert);
    QCOMPARE(editor.EdtNomeClube->text(), QStringLiteral("Boca"));
    rig.pick(QStringLiteral("Argentina"));
    rig.chooseBadge(good);
    rig.click(editor.rbClube);
    rig.click(editor.BtnGravar);
    QCOMPARE(rig.stored(1, QStringLiteral("NomeClube")), QStringLiteral("Boca"));
    QCOMPARE(rig.badgeFiles(), QStringList{"escudo.jpg"});
}

QTEST_MAIN(TestClubesBadges)
#include "test_clubes_badges.moc"
