#pragma once

#include "registry/SelectionDialog.h"

namespace velmora {

// The country dialog: every country of Paises.DB with a preview of its flag; OK
// writes the country and its flag into the pending club row and sets the editor's
// state group and city button by whether the country is "Brasil".
class TFrmPaises final : public SelectionDialog {
    Q_OBJECT
public:
    explicit TFrmPaises(Services& services);

    static const SelectionDef& definition();

    void ComboPaisChange() { listChange(); }

    QComboBox* ComboPais = nullptr;
    QLabel* ImgBandeiraPais = nullptr;
};

} // namespace velmora
