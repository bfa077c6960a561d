#include "registry/Clubes.h"

#include "core/Files.h"
#include "layout/Registry.h"
#include "platform/Captions.h"
#include "platform/Controls.h"
#include "platform/DataControls.h"
#include "platform/ErrorReport.h"
#include "platform/PictureBox.h"
#include "platform/Services.h"
#include "registry/Idade.h"
#include "store/Module.h"
#include "store/Names.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <stdexcept>

namespace velmora {

namespace {

// Fields a saved club must have.
const QStringList& requiredFields() {
    static const QStringList fields = {
        QStringLiteral("EscudoClube"),   QStringLiteral("BandeiraPais"),
        QStringLiteral("LogoFederacao"), QStringLiteral("NomeClube"),
        QStringLiteral("Identificador"),
    };
    return fields;
}

// Same file on disk, however the two paths are spelled.
bool sameFile(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty())
        return false;
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

} // namespace

using Editor = TFrmClubes;

namespace {

using Handler = void (TFrmClubes::*)();
using layout::at;
using layout::clubes;

// What each control is bound to; where it sits comes from the window's place table.
struct EditBinding {
    const layout::Place& place;
    DbLineEdit* TFrmClubes::*control;
    const char* field;
};
struct PictureBinding {
    const layout::Place& place;
    QLabel* TFrmClubes::*control;
};
struct ButtonBinding {
    const layout::Place& place;
    QPushButton* TFrmClubes::*control;
    Handler handler;
};

constexpr EditBinding editBindings[] = {
    {at(clubes, "EdtNomeClube"), &Editor::EdtNomeClube, "NomeClube"},
    {at(clubes, "EdtIdade"), &Editor::EdtIdade, "IdadeClube"},
    {at(clubes, "EdtNomeCompletoClube"), &Editor::EdtNomeCompletoClube, "NomeCompletoClube"},
    {at(clubes, "EdtNomePais"), &Editor::EdtNomePais, "PaisClube"},
    {at(clubes, "EdtSiglaEstado"), &Editor::EdtSiglaEstado, "UFClube"},
    {at(clubes, "EdtNomeCidade"), &Editor::EdtNomeCidade, "CidadeClube"},
    {at(clubes, "EdtFederacao"), &Editor::EdtFederacao, "Federacao"},
    {at(clubes, "EdtEstadio"), &Editor::EdtEstadio, "Estadio"},
    {at(clubes, "EdtCapacidade"), &Editor::EdtCapacidade, "Capacidade"},
};

constexpr PictureBinding pictureBindings[] = {
    {at(clubes, "ImgLogoClube"), &Editor::ImgLogoClube},
    {at(clubes, "ImgBandeira"), &Editor::ImgBandeira},
    {at(clubes, "ImgUF"), &Editor::ImgUF},
    {at(clubes, "ImgLogoFederacao"), &Editor::ImgLogoFederacao},
};

constexpr ButtonBinding buttonBindings[] = {
    {at(clubes, "BtnLocalizar"), &Editor::BtnLocalizar, &Editor::BtnLocalizarClick},
    {at(clubes, "BtnSelecionarPais"), &Editor::BtnSelecionarPais, &Editor::BtnSelecionarPaisClick},
    {at(clubes, "BtnSelecionaUF"), &Editor::BtnSelecionaUF, &Editor::BtnSelecionaPaisClick},
    {at(clubes, "BtnSelecionarCidade"), &Editor::BtnSelecionarCidade,
     &Editor::BtnSelecionarCidadeClick},
    {at(clubes, "BtnFederacao"), &Editor::BtnFederacao, &Editor::BtnFederacaoClick},
    {at(clubes, "BtnFoto"), &Editor::BtnFoto, &Editor::BtnFotoClick},
    {at(clubes, "BtnGravar"), &Editor::BtnGravar, &Editor::BtnGravarClick},
    {at(clubes, "BtnCancelar"), &Editor::BtnCancelar, &Editor::BtnCancelarClick},
};

} // namespace

TFrmClubes::TFrmClubes(Services& services)
    : Form(services.forms, QStringLiteral("FrmClubes"), QStringLiteral("Cadastro de Clubes"),
           clubes.client, std::nullopt),
      services_(services) {
    buildControls();
    buildMenu();
    FormCreate();
    holdWritingCommands();
}

void TFrmClubes::buildControls() {
    QWidget* area = client();
    TFrmDm& dm = services_.dm();
    Image1 = makeBackground(area, clubes, services_.pictures, services_.dialogs);
    lblCodigo = makeLabel(area, at(clubes, "lblCodigo"));

    for (const EditBinding& b : editBindings) {
        auto* edit = placed(
            new DbLineEdit(dm.DtsClubes, QString::fromLatin1(b.field), services_.dialogs, area),
            b.place);
        edit->setEnabled(false);
        this->*b.control = edit;
    }

    ComboAno = placed(new DbComboBox(dm.DtsAnos, QStringLiteral("Ano"), dm.DtsClubes,
                                     QStringLiteral("AnoFundacao"), services_.dialogs, area),
                      at(clubes, "ComboAno"));
    ComboAno->setEnabled(false);
    connect(ComboAno, &DbComboBox::chosen, this, &TFrmClubes::ComboAnoClick);

    for (const PictureBinding& b : pictureBindings)
        this->*b.control = makePicture(area, b.place);

    for (const ButtonBinding& b : buttonBindings) {
        const QSize glyph =
            b.place.glyph != nullptr ? b.place.rect.size() - QSize(10, 10) : QSize();
        QPushButton* button = makeButton(area, b.place, glyph);
        button->setEnabled(false);
        const Handler handler = b.handler;
        connect(button, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
        this->*b.control = button;
    }
    BtnLocalizar->setEnabled(true);
    // Shortcuts of disabled controls do nothing: Ctrl+S saves, and Esc cancels, only
    // while a row is being inserted or edited; in browse mode Esc is "Voltar".
    BtnGravar->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    BtnCancelar->setShortcut(QKeySequence(Qt::Key_Escape));

    rbSelecao = makeRadio(area, at(clubes, "rbSelecao"));
    rbClube = makeRadio(area, at(clubes, "rbClube"));
    kindGroup = new QButtonGroup(this);
    kindGroup->setExclusive(true);
    kindGroup->addButton(rbSelecao);
    kindGroup->addButton(rbClube);
    CkbExtinto = makeCheckBox(area, at(clubes, "CkbExtinto"));
    for (QAbstractButton* box :
         std::initializer_list<QAbstractButton*>{rbSelecao, rbClube, CkbExtinto})
        box->setEnabled(false);
    // clicked, not toggled: showing a row sets them without writing it.
    connect(rbSelecao, &QRadioButton::clicked, this, &TFrmClubes::rbSelecaoClick);
    connect(rbClube, &QRadioButton::clicked, this, &TFrmClubes::rbClubeClick);
    connect(CkbExtinto, &QCheckBox::clicked, this, &TFrmClubes::CkbExtintoClick);

    Navegador =
        placed(new DbNavigator(dm.DtsClubes, services_.dialogs, area), at(clubes, "Navegador"));
    connect(Navegador, &DbNavigator::clicked, this, &TFrmClubes::NavegadorClick);
}

void TFrmClubes::buildMenu() {
    MnClubes = menuBar();
    MnClubes->setObjectName(QStringLiteral("MnClubes"));
    addMenus<TFrmClubes>(
        *this, MnClubes,
        {{"Arquivo1",
          "&Arquivo",
          &Editor::Arquivo1,
          {{"Novo1", "&Novo", &Editor::Novo1, &Editor::Novo1Click, Qt::CTRL | Qt::Key_N},
           {"Alterar1", "&Alterar", &Editor::Alterar1, &Editor::Alterar1Click},
           {"Excluir1", "&Excluir", &Editor::Excluir1, &Editor::Excluir1Click},
           {"N1", nullptr, &Editor::N1},
           {"Voltar1", "&Voltar", &Editor::Voltar1, &Editor::Voltar1Click, Qt::Key_Escape}}},
         {"Utilitrios1",
          "&Utilitários",
          &Editor::Utilitrios1,
          {{"Cadastrarcidade1", "&Cadastro de Cidades", &Editor::Cadastrarcidade1,
            &Editor::Cadastrarcidade1Click},
           {"RecalcularIdadedosClubes1", "&Recalcular Idade dos Clubes",
            &Editor::RecalcularIdadedosClubes1, &Editor::RecalcularIdadedosClubes1Click}}}});
    setWayOut(Voltar1);
}

Table& TFrmClubes::clubs() const {
    return services_.dm().TblClubes;
}

QString TFrmClubes::field(const QString& name) const {
    return clubs().fieldText(name);
}

void TFrmClubes::setField(const QString& name, const QString& text) {
    clubs().setFieldText(name, text);
}

bool TFrmClubes::editing() const {
    return clubs().state() != Table::State::Browse;
}

void TFrmClubes::setStateGroupVisible(bool visible) {
    EdtSiglaEstado->setVisible(visible);
    BtnSelecionaUF->setVisible(visible);
    ImgUF->setVisible(visible);
}

bool TFrmClubes::stateGroupVisible() const {
    return !ImgUF->isHidden();
}

// ---- record display ----

void TFrmClubes::recordDisplay() {
    guard(services_.dialogs, [this] { displayRecord(); });
}

// A picture that cannot be loaded leaves its box empty (never another club's picture)
// and the rest is still shown; the first failure is thrown at the end.
void TFrmClubes::displayRecord() {
    QString failure;
    auto load = [&](QLabel* box, const char* pathField) {
        try {
            showPicture(services_.pictures, box, field(QString::fromLatin1(pathField)), true);
        } catch (const PictureError& e) {
            clearPicture(box);
            if (failure.isEmpty())
                failure = e.text();
        }
    };
    const bool inBrasil = field(QStringLiteral("PaisClube")) == brasil;
    setStateGroupVisible(inBrasil);
    if (inBrasil)
        load(ImgUF, "BandeiraUF");
    load(ImgBandeira, "BandeiraPais");
    load(ImgLogoClube, "EscudoClube");
    load(ImgLogoFederacao, "LogoFederacao");
    showKind();
    CkbExtinto->setChecked(field(QStringLiteral("Extinto")) == QLatin1String("1"));
    showCode();
    if (!failure.isEmpty())
        throw PictureError(failure);
}

void TFrmClubes::showKind() {
    const bool selecao = field(QStringLiteral("Identificador")) == QLatin1String("1");
    rbSelecao->setChecked(selecao);
    rbClube->setChecked(!selecao);
}

void TFrmClubes::setKindUnchecked() {
    // An exclusive group never lets its last checked button go; lift it for a moment.
    kindGroup->setExclusive(false);
    rbSelecao->setChecked(false);
    rbClube->setChecked(false);
    kindGroup->setExclusive(true);
}

void TFrmClubes::showCode() {
    // Every code fits the disc: a long one is drawn smaller.
    const QString code = field(QStringLiteral("Codigo"));
    const layout::Place& place = at(clubes, "lblCodigo");
    setShrunkText(lblCodigo, code, place);
    setTitledValue(lblCodigo, code, place);
}

void TFrmClubes::clearPictures() {
    for (const PictureBinding& b : pictureBindings)
        clearPicture(this->*b.control);
}

// ---- modes ----

QList<QWidget*> TFrmClubes::pendingControls() const {
    return {ComboAno,
            CkbExtinto,
            BtnFoto,
            rbClube,
            rbSelecao,
            EdtEstadio,
            EdtCapacidade,
            BtnFederacao,
            BtnGravar,
            BtnCancelar,
            BtnSelecionaUF,
            BtnSelecionarPais,
            EdtNomeClube,
            EdtNomeCompletoClube,
            BtnSelecionarCidade};
}

QList<QAction*> TFrmClubes::browseCommands() const {
    return {Novo1, Alterar1, Excluir1, Voltar1, Cadastrarcidade1, RecalcularIdadedosClubes1};
}

void TFrmClubes::enterPending(bool inserting) {
    for (QWidget* control : pendingControls())
        control->setEnabled(true);
    // A new row picks its city only after its country (or state) is known.
    BtnSelecionarCidade->setEnabled(!inserting);
    Navegador->setEnabled(false);
    // Locating would move away from the pending row.
    BtnLocalizar->setEnabled(false);
    for (QAction* command : browseCommands())
        command->setEnabled(false);
}

void TFrmClubes::enterBrowse() {
    for (QWidget* control : pendingControls())
        control->setEnabled(false);
    Navegador->setEnabled(true);
    for (QAction* command : browseCommands())
        command->setEnabled(true);
    BtnLocalizar->setEnabled(!clubs().isEmpty());
    holdWritingCommands();
}

void TFrmClubes::followRowCount() {
    const bool rows = !clubs().isEmpty();
    BtnLocalizar->setEnabled(rows);
    Alterar1->setEnabled(rows);
    Excluir1->setEnabled(rows);
    RecalcularIdadedosClubes1->setEnabled(rows);
    holdWritingCommands();
    if (rows)
        showCode();
}

void TFrmClubes::holdWritingCommands() {
    if (!services_.dm().readOnly())
        return;
    for (QAction* command :
         {Novo1, Alterar1, Excluir1, Cadastrarcidade1, RecalcularIdadedosClubes1})
        command->setEnabled(false);
    BtnGravar->setEnabled(false);
}

void TFrmClubes::FormCreate() {
    setStateGroupVisible(false);
}

void TFrmClubes::FormActivate() {
    // A pending row keeps its commands when a selection dialog hands activation back.
    if (editing())
        return;
    guard(services_.dialogs, [this] { followRowCount(); });
}

// ---- commands ----

void TFrmClubes::Novo1Click() {
    guard(services_.dialogs, [this] {
        if (editing())
            return;
        Table& table = clubs();
        // The row and its code first: a failing store leaves the window in browse mode.
        table.append();
        try {
            const int code = services_.dm().nextClubCode();
            services_.dm().QueryUltimoNum.close(); // no read snapshot kept until the post
            setField(QStringLiteral("Codigo"), QString::number(code));
        } catch (...) {
            table.cancel();
            throw;
        }
        CkbExtinto->setChecked(false);
        setKindUnchecked();
        enterPending(true);
        EdtNomeClube->setFocus();
        setStateGroupVisible(false);
        clearPictures();
        BtnFoto->setText(QStringLiteral("Selecionar logo"));
        showCode();
        rememberedName_.clear();
        rememberedBadge_.clear();
        pendingBadge_ = 0;
        chosenBadge_.clear();
    });
}

void TFrmClubes::Alterar1Click() {
    guard(services_.dialogs, [this] {
        if (editing())
            return;
        Table& table = clubs();
        if (table.isEmpty()) {
            services_.dialogs.message(programName,
                                      QStringLiteral("Não há registros para serem alterados"),
                                      MsgIcon::Warning);
            Alterar1->setEnabled(false);
            Excluir1->setEnabled(false);
            return;
        }
        table.edit();
        rememberedName_ = field(QStringLiteral("NomeClube"));
        showKind();
        rememberedBadge_ = field(QStringLiteral("EscudoClube"));
        pendingBadge_ = 0;
        chosenBadge_.clear();
        enterPending(false);
        BtnFoto->setText(QStringLiteral("Alterar logo"));
    });
}

void TFrmClubes::Excluir1Click() {
    guard(services_.dialogs, [this] {
        if (editing())
            return;
        Table& table = clubs();
        if (table.isEmpty()) {
            services_.dialogs.message(programName,
                                      QStringLiteral("Não há registros para serem excluídos"),
                                      MsgIcon::Warning);
            Alterar1->setEnabled(false);
            Excluir1->setEnabled(false);
            setStateGroupVisible(false);
            clearPictures();
            lblCodigo->clear();
            return;
        }
        if (services_.dialogs.message(programName, QStringLiteral("Confirma exclusão?"),
                                      MsgIcon::Question, MsgButtons::YesNo) != MsgResult::Yes)
            return;
        const QString badge = field(QStringLiteral("EscudoClube"));
        table.remove();
        removeBadgeFile(badge); // a badge already gone is no reason to keep the row
        followRowCount();       // the last row gone: nothing left to change or locate
        if (table.isEmpty()) {
            clearPictures();
            setStateGroupVisible(false);
            lblCodigo->clear();
            return;
        }
        displayRecord();
    });
}

void TFrmClubes::Voltar1Click() {
    guard(services_.dialogs, [this] {
        if (editing())
            return;
        services_.forms.showMainWindow();
        services_.forms.close(this);
    });
}

void TFrmClubes::NavegadorClick() {
    guard(services_.dialogs, [this] {
        if (clubs().isEmpty()) {
            services_.dialogs.message(programName, QStringLiteral("Não há registros cadastrados"),
                                      MsgIcon::Warning);
            return;
        }
        displayRecord();
    });
}

void TFrmClubes::BtnLocalizarClick() {
    guard(services_.dialogs, [this] {
        if (editing())
            return;
        const QString answer = services_.dialogs.entry(
            programName, QStringLiteral("Digite uma parte do nome do clube"));
        if (answer.isEmpty())
            return;
        Query& query = services_.dm().QueryLocalizaClube;
        query.run(Statements::locateClub(),
                  {{QStringLiteral("NOMETIME"), QLatin1Char('%') + answer + QLatin1Char('%')}});
        const QString code = query.field(0);
        query.close();

        Table& table = clubs();
        bool found = false;
        if (!table.isEmpty()) {
            // Straight to the row with that code; without one the search ends on the
            // last row, as a walk through the table would.
            bool isCode = false;
            const qint64 key = code.toLongLong(&isCode);
            found = isCode && table.seek(key);
            if (!found)
                table.last();
        }
        if (!found)
            services_.dialogs.message(programName, QStringLiteral("Clube não encontrado"),
                                      MsgIcon::Information);
        if (!table.isEmpty())
            displayRecord();
    });
}

// ---- save and cancel ----

// Any stored row whose short name equals name exactly (letter case and spaces count).
// The engine compares: "=" is exact, and the name index spares a walk over every row.
// A row without a name reads as empty text, as a walk would read it.
bool TFrmClubes::isDuplicateName(const QString& name) {
    Query& query = services_.dm().QueryTodosClubes;
    query.run({QStringLiteral("select NomeClube"), QStringLiteral("from clubes.db"),
               name.isEmpty() ? QStringLiteral("where NomeClube = :NOME or NomeClube is null")
                              : QStringLiteral("where NomeClube = :NOME")},
              {{QStringLiteral("NOME"), name}});
    const bool found = !query.isEmpty();
    query.close(); // holds no read snapshot while the row is written
    return found;
}

bool TFrmClubes::checkBeforeSave() {
    const QString name = EdtNomeClube->text();
    if (name != rememberedName_ && isDuplicateName(name)) {
        services_.dialogs.message(
            programName,
            QStringLiteral("Existe cadastrado outro Clube e/ou Seleção com este nome."),
            MsgIcon::Error);
        EdtNomeClube->setFocus();
        return false;
    }
    for (const QString& required : requiredFields()) {
        if (field(required).isEmpty()) {
            services_.dialogs.message(
                programName, QStringLiteral("Todos os campos são de preenchimento obrigatório"),
                MsgIcon::Warning);
            return false;
        }
    }
    if (field(QStringLiteral("PaisClube")) == brasil &&
        field(QStringLiteral("UFClube")).isEmpty()) {
        services_.dialogs.message(programName,
                                  QStringLiteral("Verifique o preenchimento campo ESTADO"),
                                  MsgIcon::Warning);
        return false;
    }
    return true;
}

bool TFrmClubes::choosePictureInto(const QString& path) {
    // Only the copy's path is stored, so only it must fit, however deep the source.
    const QString copy = services_.badgeDir() + files::fileName(path);
    const int width = badgePathWidth();
    const int length = int(copy.toUcs4().size());
    if (length > width) {
        services_.dialogs.message(
            programName,
            QStringLiteral("O distintivo \"%1\" não pode ser usado: a cópia dele na pasta de "
                           "distintivos teria um caminho de %2 caracteres, e o caminho de um "
                           "distintivo pode ter no máximo %3.\nRenomeie o arquivo com um nome "
                           "mais curto e selecione-o de novo.")
                .arg(files::fileName(path))
                .arg(length)
                .arg(width),
            MsgIcon::Warning);
        return false;
    }
    showPicture(services_.pictures, ImgLogoClube, path, true);
    setField(QStringLiteral("EscudoClube"), copy);
    chosenBadge_ = path;
    return true;
}

int TFrmClubes::badgePathWidth() const {
    for (const FieldDef& f : clubs().def().fields)
        if (f.name == QLatin1String("EscudoClube"))
            return f.width;
    return 0;
}

QString TFrmClubes::freeBadgeTarget() {
    auto targetFor = [this] { return field(QStringLiteral("EscudoClube")); };
    QString target = targetFor();
    // Every club gets a badge file of its own: a taken name sends the user back to
    // the dialog until a free one is chosen.
    while (files::exists(target)) {
        services_.dialogs.message(
            programName,
            QStringLiteral("Arquivo duplicado, favor selecionar outro distintivo ou renomear o "
                           "atual."),
            MsgIcon::Error);
        services_.dialogs.openPicture(lastPictureFile_);
        choosePictureInto(lastPictureFile_);
        target = targetFor();
    }
    return target;
}

void TFrmClubes::removeBadgeFile(const QString& path) {
    // Only the program's own copies are deleted, never a file elsewhere on disk.
    const QString folder = QDir::cleanPath(QDir(services_.badgeDir()).absolutePath());
    if (!path.isEmpty() && QDir::cleanPath(QFileInfo(path).absolutePath()) == folder)
        files::trash(path); // the user can still get a deleted or replaced badge back
}

void TFrmClubes::saveRow() {
    QString copied;
    if (pendingBadge_ == 1) {
        const QString target = freeBadgeTarget();
        files::ensureDir(services_.badgeDir());
        files::copyNoOverwrite(chosenBadge_, target);
        copied = target;
    }
    // Always 0 or 1, whatever the row held before.
    setField(QStringLiteral("Extinto"),
             CkbExtinto->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    try {
        clubs().post();
    } catch (...) {
        // Nothing left behind: the fresh copy goes, the row keeps its chosen file.
        if (!copied.isEmpty())
            files::remove(copied);
        throw;
    }
    if (!copied.isEmpty()) {
        // The replaced badge goes only once the row points to its successor.
        if (!sameFile(rememberedBadge_, copied))
            removeBadgeFile(rememberedBadge_);
        pendingBadge_ = 0;
        chosenBadge_.clear();
    }
}

void TFrmClubes::BtnGravarClick() {
    guard(services_.dialogs, [this] {
        if (!editing() || !checkBeforeSave())
            return;
        saveRow();
        enterBrowse();
        emit editingEnded();
    });
}

void TFrmClubes::discardPending() {
    BtnCancelarClick();
}

void TFrmClubes::BtnCancelarClick() {
    guard(services_.dialogs, [this] {
        if (!editing())
            return;
        Table& table = clubs();
        table.cancel();
        pendingBadge_ = 0;
        chosenBadge_.clear();
        enterBrowse();
        emit editingEnded();
        showCode();
        if (table.isEmpty()) {
            clearPictures();
            setStateGroupVisible(false);
            return;
        }
        displayRecord();
    });
}

// ---- badge, kind, extinct, year ----

void TFrmClubes::BtnFotoClick() {
    guard(services_.dialogs, [this] {
        if (!editing() || !services_.dialogs.openPicture(lastPictureFile_))
            return;
        if (choosePictureInto(lastPictureFile_))
            pendingBadge_ = 1;
    });
}

void TFrmClubes::rbSelecaoClick() {
    guard(services_.dialogs, [this] {
        if (editing() && rbSelecao->isChecked())
            setField(QStringLiteral("Identificador"), QStringLiteral("1"));
    });
}

void TFrmClubes::rbClubeClick() {
    guard(services_.dialogs, [this] {
        if (editing() && rbClube->isChecked())
            setField(QStringLiteral("Identificador"), QStringLiteral("0"));
    });
}

void TFrmClubes::CkbExtintoClick() {
    guard(services_.dialogs, [this] {
        if (editing())
            setField(QStringLiteral("Extinto"),
                     CkbExtinto->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    });
}

void TFrmClubes::ComboAnoClick() {
    guard(services_.dialogs, [this] {
        if (editing())
            setPendingAge(clubs(), services_.clock.currentYear(), ComboAno->currentText());
    });
}

void TFrmClubes::RecalcularIdadedosClubes1Click() {
    guard(services_.dialogs, [this] {
        if (!editing())
            recalcularIdades(services_, *this);
    });
}

// ---- the other windows ----

void TFrmClubes::BtnSelecionarPaisClick() {
    guard(services_.dialogs, [this] {
        if (editing())
            emit countryWanted(ImgBandeira->size());
    });
}

void TFrmClubes::BtnSelecionaPaisClick() {
    guard(services_.dialogs, [this] {
        if (editing())
            emit stateWanted(ImgUF->size());
    });
}

void TFrmClubes::BtnSelecionarCidadeClick() {
    guard(services_.dialogs, [this] {
        if (editing())
            emit cityWanted();
    });
}

void TFrmClubes::BtnFederacaoClick() {
    guard(services_.dialogs, [this] {
        if (editing())
            emit federationWanted(ImgLogoFederacao->size());
    });
}

void TFrmClubes::Cadastrarcidade1Click() {
    guard(services_.dialogs, [this] {
        if (!editing())
            emit cityRegistryWanted();
    });
}

void TFrmClubes::comeBack() {
    if (isVisible())
        services_.forms.show(this);
}

// Sets every field or none: a refused value puts back what was there.
void TFrmClubes::applyChoice(const SelectionChoice& choice, QLabel* box) {
    QList<QPair<QString, QString>> before;
    for (const auto& [name, value] : choice.fields)
        before.append({name, field(name)});
    try {
        for (const auto& [name, value] : choice.fields)
            setField(name, value);
    } catch (...) {
        for (const auto& [name, value] : before)
            setField(name, value);
        throw;
    }
    if (box != nullptr) {
        box->setScaledContents(true);
        box->setPixmap(QPixmap::fromImage(choice.picture));
    }
}

void TFrmClubes::countryChosen(const SelectionChoice& choice) {
    guard(services_.dialogs, [&] {
        applyChoice(choice, ImgBandeira);
        // Only Brazilian clubs have a state; a Brazilian city is picked once it is known.
        const bool inBrasil = choice.picked == brasil;
        setStateGroupVisible(inBrasil);
        BtnSelecionarCidade->setEnabled(!inBrasil);
        if (!inBrasil) {
            setField(QStringLiteral("UFClube"), QString());
            setField(QStringLiteral("BandeiraUF"), QString());
            clearPicture(ImgUF);
            emit stateDropped();
        }
        emit cityListChanged();
        comeBack();
    });
}

void TFrmClubes::stateChosen(const SelectionChoice& choice) {
    guard(services_.dialogs, [&] {
        applyChoice(choice, ImgUF);
        BtnSelecionarCidade->setEnabled(true);
        emit cityListChanged();
        comeBack();
    });
}

void TFrmClubes::cityChosen(const SelectionChoice& choice) {
    guard(services_.dialogs, [&] {
        applyChoice(choice, nullptr);
        comeBack();
    });
}

void TFrmClubes::federationChosen(const SelectionChoice& choice) {
    guard(services_.dialogs, [&] {
        applyChoice(choice, ImgLogoFederacao);
        comeBack();
    });
}

} // namespace velmora
