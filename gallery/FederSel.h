#pragma once

#include "platform/Form.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace velmora {

struct Services;
struct GalleryDef;

// The federation chooser: a list of the federations of Federacao.db with a preview of
// the picked one's logo, and OK, which opens the gallery of that federation's clubs.
class TFrmSelFeder final : public Form {
    Q_OBJECT
public:
    explicit TFrmSelFeder(Services& services);

    // Empties the choice and the preview and refills the list at each activation.
    void FormActivate() override;
    // The user picked a federation: preview its logo.
    void ComboFederChange();
    void BtnOkClick();

    static const GalleryDef& gallery();

    QLabel* Image1 = nullptr;
    QLabel* ImgLogoFeder = nullptr;
    QComboBox* ComboFeder = nullptr;
    QPushButton* BtnOk = nullptr;

signals:
    // OK: the gallery of the chosen item is wanted, with this window as its chooser.
    void galleryChosen(const QString& choice);

private:
    Services& services_;
};

} // namespace velmora
