#pragma once

#include "registry/SelectionDialog.h"

namespace velmora {

// The state dialog: the states of UF.DB as "code-name" with a preview of the flag;
// OK writes the state code and flag into the pending club row and lets the editor
// pick a city of that state.
class TFrmUF final : public SelectionDialog {
    Q_OBJECT
public:
    explicit TFrmUF(Services& services);

    static const SelectionDef& definition();

    void ComboUfChange() { listChange(); }

    QComboBox* ComboUf = nullptr;
    QLabel* ImgBandeiraUF = nullptr;
};

} // namespace velmora
