#pragma once

#include "platform/Form.h"

#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velmora {

struct Services;

// The city registry: a city name, its country and, for "Brasil", its state, stored
// as one new row of Cidades.DB.
class TFrmCadastroCidade final : public Form {
    Q_OBJECT
public:
    explicit TFrmCadastroCidade(Services& services);

    // The editor's "Cadastro de Cidades": shows the registry over a new, empty row.
    // An open registry is only brought to the front, keeping what was typed.
    void open();

    void FormCreate();
    void ComboPaisChange();
    void ComboUFChange();
    void BtnGravarClick();
    void BtnCancelarClick();

    QLabel* Image1 = nullptr;
    QLineEdit* EdtCidade = nullptr;
    QComboBox* ComboPais = nullptr;
    QLabel* ImgBandPais = nullptr;
    QComboBox* ComboUF = nullptr;
    QLabel* ImgBandUF = nullptr;
    QPushButton* BtnGravar = nullptr;
    QPushButton* BtnCancelar = nullptr;

signals:
    // Gravar or Cancelar has closed the registry.
    void left();

private:
    void buildControls();
    void fillCountries();
    void fillStates();
    void showStatePart(bool visible);
    // The first failed check's message, "" when the row may be stored.
    QString refusal() const;
    void leave();

    Services& services_;
};

} // namespace velmora
