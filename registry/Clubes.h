#pragma once

#include "platform/Form.h"
#include "registry/SelectionDialog.h"

#include <QList>
#include <QSize>
#include <QString>

class QAction;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QWidget;

namespace velmora {

struct Services;
class DbComboBox;
class DbLineEdit;
class DbNavigator;
class Table;

// The club editor: creates, changes, deletes, browses and locates the rows of
// Clubes.db through controls bound to the current row of TblClubes. Browse, insert
// and edit mode follow the table's own state.
class TFrmClubes final : public Form {
    Q_OBJECT
public:
    explicit TFrmClubes(Services& services);

    // Shows the current row of TblClubes in the parts not bound to it (state group,
    // pictures, kind buttons, extinct box, code). A picture that cannot be loaded goes
    // to the general error report.
    void recordDisplay();

    // True while a row is being inserted or edited.
    bool editing() const;
    // Drops the row being inserted or edited, as "Cancelar" does (the program is ending).
    void discardPending();
    // The state group (EdtSiglaEstado, BtnSelecionaUF, ImgUF): shown for "Brasil" only.
    void setStateGroupVisible(bool visible);
    bool stateGroupVisible() const;

    // Editor state kept between commands.
    const QString& rememberedName() const { return rememberedName_; }
    const QString& rememberedBadge() const { return rememberedBadge_; }
    int pendingBadge() const { return pendingBadge_; }
    // The file chosen while a badge is pending; EscudoClube then holds its copy's path.
    const QString& chosenBadge() const { return chosenBadge_; }
    const QString& lastPictureFile() const { return lastPictureFile_; }

    void FormCreate();
    void FormActivate() override;

    // Handlers, each wired to its control and run inside the general error report.
    void Novo1Click();
    void Alterar1Click();
    void Excluir1Click();
    void Voltar1Click();
    void Cadastrarcidade1Click();
    void RecalcularIdadedosClubes1Click();
    void BtnGravarClick();
    void BtnCancelarClick();
    void NavegadorClick();
    void BtnLocalizarClick();
    void BtnSelecionarPaisClick();
    void BtnSelecionaPaisClick(); // the state button's handler keeps its historic name
    void BtnSelecionarCidadeClick();
    void BtnFederacaoClick();
    void BtnFotoClick();
    void ComboAnoClick();
    void rbSelecaoClick();
    void rbClubeClick();
    void CkbExtintoClick();

    // A selection dialog's choice: written into the pending row, its picture shown,
    // and the controls that depend on it switched.
    void countryChosen(const SelectionChoice& choice);
    void stateChosen(const SelectionChoice& choice);
    void cityChosen(const SelectionChoice& choice);
    void federationChosen(const SelectionChoice& choice);
    // Back to the front after a window opened from here has closed, if still shown.
    void comeBack();

    QLabel* Image1 = nullptr;
    QLabel* lblCodigo = nullptr;
    DbLineEdit* EdtNomeClube = nullptr;
    DbComboBox* ComboAno = nullptr;
    DbLineEdit* EdtIdade = nullptr;
    DbLineEdit* EdtNomeCompletoClube = nullptr;
    QPushButton* BtnLocalizar = nullptr;
    QLabel* ImgLogoClube = nullptr;
    QLabel* ImgBandeira = nullptr;
    DbLineEdit* EdtNomePais = nullptr;
    QPushButton* BtnSelecionarPais = nullptr;
    QLabel* ImgUF = nullptr;
    DbLineEdit* EdtSiglaEstado = nullptr;
    QPushButton* BtnSelecionaUF = nullptr;
    DbLineEdit* EdtNomeCidade = nullptr;
    QPushButton* BtnSelecionarCidade = nullptr;
    QLabel* ImgLogoFederacao = nullptr;
    DbLineEdit* EdtFederacao = nullptr;
    QPushButton* BtnFederacao = nullptr;
    QRadioButton* rbSelecao = nullptr;
    QRadioButton* rbClube = nullptr;
    QButtonGroup* kindGroup = nullptr;
    QCheckBox* CkbExtinto = nullptr;
    QPushButton* BtnFoto = nullptr;
    QPushButton* BtnGravar = nullptr;
    QPushButton* BtnCancelar = nullptr;
    DbNavigator* Navegador = nullptr;
    DbLineEdit* EdtEstadio = nullptr;
    DbLineEdit* EdtCapacidade = nullptr;

    QMenuBar* MnClubes = nullptr;
    QMenu* Arquivo1 = nullptr;
    QAction* Novo1 = nullptr;
    QAction* Alterar1 = nullptr;
    QAction* Excluir1 = nullptr;
    QAction* N1 = nullptr;
    QAction* Voltar1 = nullptr;
    QMenu* Utilitrios1 = nullptr;
    QAction* Cadastrarcidade1 = nullptr;
    QAction* RecalcularIdadedosClubes1 = nullptr;

signals:
    // A save or a cancel has left insert or edit mode; open selection dialogs close.
    void editingEnded();
    // The selection dialogs and the city registry asked for, with the size of the
    // box the picked picture goes into.
    void countryWanted(QSize pictureBox);
    void stateWanted(QSize pictureBox);
    void cityWanted();
    void federationWanted(QSize pictureBox);
    void cityRegistryWanted();
    // A country choice has emptied the state: a state dialog open for it closes.
    void stateDropped();
    // The country or state changed: a city list read before is out of date.
    void cityListChanged();

private:
    void buildControls();
    void buildMenu();
    // A store that cannot be written offers no command that would save.
    void holdWritingCommands();

    Table& clubs() const;
    QString field(const QString& name) const;
    void setField(const QString& name, const QString& text);

    // Record display, throwing the first picture failure after every part is shown.
    void displayRecord();
    void showKind();
    void showCode();
    void clearPictures();

    // Which controls and commands each mode allows.
    QList<QWidget*> pendingControls() const;
    QList<QAction*> browseCommands() const;
    void enterPending(bool inserting);
    void enterBrowse();
    void followRowCount();
    void setKindUnchecked();

    bool isDuplicateName(const QString& name);
    bool checkBeforeSave();
    QString freeBadgeTarget();
    // False (the user told why, nothing changed) when the copy's path would not fit.
    bool choosePictureInto(const QString& path);
    int badgePathWidth() const;
    void removeBadgeFile(const QString& path);
    void saveRow();
    void applyChoice(const SelectionChoice& choice, QLabel* box);

    Services& services_;
    QString rememberedName_;
    QString rememberedBadge_;
    int pendingBadge_ = 0;
    QString chosenBadge_;
    QString lastPictureFile_;
};

} // namespace velmora
