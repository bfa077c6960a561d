#pragma once

#include "registry/SelectionDialog.h"

namespace velmora {

// The city dialog: the cities of Cidades.DB registered for the pending club's
// country (and, for "Brasil", its state); OK writes the city into the row.
class TFrmCidade final : public SelectionDialog {
    Q_OBJECT
public:
    explicit TFrmCidade(Services& services);

    static const SelectionDef& definition();

    QComboBox* ComboCidade = nullptr;
};

} // namespace velmora
