#pragma once

#include "platform/Form.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace velmora {

struct Services;
struct GalleryDef;

// The year chooser: a list of the years of Anos.DB and OK, which opens the gallery of
// the clubs founded in the chosen year.
class TFrmAno final : public Form {
    Q_OBJECT
public:
    explicit TFrmAno(Services& services);

    // Refills the year list, with no choice, each time the chooser becomes active.
    void FormActivate() override;
    void BtnOkClick();

    // The year gallery as the chooser's OK runs it.
    static const GalleryDef& gallery();

    QLabel* Label1 = nullptr;
    QComboBox* ComboAnos = nullptr;
    QPushButton* BtnOk = nullptr;

signals:
    // OK: the gallery of the chosen item is wanted, with this window as its chooser.
    void galleryChosen(const QString& choice);

private:
    Services& services_;
};

} // namespace velmora
