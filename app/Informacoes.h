#pragma once

#include "platform/Form.h"

class QAction;
class QLabel;
class QMenuBar;

namespace velmora {

class VelmoraApp;

// The page of usage notes, left through "Voltar".
class TFrmInformacoes final : public Form {
    Q_OBJECT
public:
    explicit TFrmInformacoes(VelmoraApp& app);

    // Closes this window and brings the main window back, which activates it.
    void Voltar1Click();

    QLabel* Image = nullptr;
    QMenuBar* MnInformacoes = nullptr;
    QAction* Voltar1 = nullptr;

private:
    VelmoraApp& app_;
};

} // namespace velmora
