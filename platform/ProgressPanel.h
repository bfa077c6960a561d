#pragma once

#include "platform/Dialogs.h"

#include <QObject>
#include <QPointer>

class QFrame;
class QProgressBar;

namespace velmora {

// Long work's panel, centred in the window that started it: a line of text, a bar
// and "Cancelar". While it is up, input to every other control of the program is
// dropped, so nothing else reads or writes the store half-way through the work.
class ProgressPanel final : public QObject, public ProgressBox {
    Q_OBJECT
public:
    ProgressPanel(QWidget* window, const QString& text);
    ~ProgressPanel() override;

    bool step(int percent) override;

    QFrame* panel() const { return panel_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QFrame> panel_;
    QProgressBar* bar_ = nullptr;
    bool cancelled_ = false;
};

} // namespace velmora
