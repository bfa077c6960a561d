#include "platform/ProgressPanel.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora {

namespace {

constexpr QSize panelSize(360, 120);

bool isInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

} // namespace

ProgressPanel::ProgressPanel(QWidget* window, const QString& text) : panel_(new QFrame(window)) {
    panel_->setObjectName(QStringLiteral("PainelProgresso"));
    panel_->setFrameShape(QFrame::Box);
    panel_->setAutoFillBackground(true);
    panel_->setFixedSize(panelSize);
    auto* layout = new QVBoxLayout(panel_);
    auto* label = new QLabel(text, panel_);
    label->setAlignment(Qt::AlignCenter);
    bar_ = new QProgressBar(panel_);
    bar_->setRange(0, 100);
    bar_->setValue(0);
    // A screen reader says what is progressing, not only how far.
    bar_->setAccessibleName(text);
    auto* cancel = new QPushButton(QStringLiteral("Cancelar"), panel_);
    cancel->setObjectName(QStringLiteral("BtnCancelarProgresso"));
    connect(cancel, &QPushButton::clicked, this, [this] { cancelled_ = true; });
    layout->addWidget(label);
    layout->addWidget(bar_);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
    panel_->move((window->width() - panelSize.width()) / 2,
                 (window->height() - panelSize.height()) / 2);
    panel_->show();
    panel_->raise();
    cancel->setFocus();
    qApp->installEventFilter(this);
}

ProgressPanel::~ProgressPanel() {
    qApp->removeEventFilter(this);
    delete panel_.data();
}

bool ProgressPanel::step(int percent) {
    bar_->setValue(percent);
    QCoreApplication::processEvents();
    return !cancelled_;
}

bool ProgressPanel::eventFilter(QObject* watched, QEvent* event) {
    if (!isInput(event->type()) || panel_.isNull())
        return false;
    // A window hands its input on to its widgets: those are judged.
    if (watched->isWindowType())
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    const bool inPanel = widget && (widget == panel_ || panel_->isAncestorOf(widget));
    return !inPanel;
}

} // namespace velmora
