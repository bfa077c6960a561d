#pragma once

namespace velmora {

class Forms;
class TFrmCadastroCidade;
class TFrmCidade;
class TFrmClubes;
class TFrmFederacao;
class TFrmPaises;
class TFrmUF;

// The club editor and the windows it opens.
struct RegistryWindows {
    TFrmClubes& editor;
    TFrmCadastroCidade& cityRegistry;
    TFrmPaises& countries;
    TFrmUF& states;
    TFrmCidade& cities;
    TFrmFederacao& federations;
};

// Connects them: the editor's buttons open the dialogs, a dialog's choice goes into the
// pending row, and a dialog whose list no longer fits that row closes.
void connectRegistry(const RegistryWindows& windows);

} // namespace velmora
