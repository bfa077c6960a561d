#pragma once

#include "registry/SelectionDialog.h"

namespace velmora {

// The federation dialog: the federations of Federacao.db with a preview of the
// logo; OK writes the federation and its logo into the pending club row.
class TFrmFederacao final : public SelectionDialog {
    Q_OBJECT
public:
    explicit TFrmFederacao(Services& services);

    static const SelectionDef& definition();

    void ComboFederacaoChange() { listChange(); }

    QComboBox* ComboFederacao = nullptr;
    QLabel* ImgLogoFederacao = nullptr;
};

} // namespace velmora
