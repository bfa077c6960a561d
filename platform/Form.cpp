#include "platform/Form.h"

#include "platform/Dialogs.h"
#include "platform/ErrorReport.h"

#include <QCloseEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QWindow>

namespace velmora {

Forms::Forms(Dialogs& dialogs, QObject* parent) : QObject(parent), dialogs_(dialogs) {
    dialogs_.setForms(this);
}

Forms::~Forms() {
    if (dialogs_.forms() == this)
        dialogs_.setForms(nullptr);
}

void Forms::show(Form* form) {
    if (form == nullptr)
        return;
    if (!form->isVisible()) {
        const bool first = !form->isPlaced();
        if (first)
            form->place();
        form->show();
        if (first)
            form->place(); // again, now that the frame around the client is known
    }
    front_ = form; // before the platform confirms: a box may come up at once
    form->raise();
    form->activateWindow();
    // Some platforms (offscreen) keep a hidden window as the focus window and send
    // no activation when it comes back; it is the active window all the same.
    const QWindow* handle = form->windowHandle();
    if (form->isActiveWindow() || (handle != nullptr && QGuiApplication::focusWindow() == handle))
        formActivated(form);
}

void Forms::showMainWindow() {
    show(main_);
}

void Forms::close(Form* form) {
    if (form != nullptr)
        form->hide();
}

void Forms::entryBoxOpened() {
    if (entryDepth_++ > 0)
        return;
    beforeEntry_ = last_;
    last_ = nullptr; // the entry box is now the active program window
}

void Forms::entryBoxClosed() {
    if (entryDepth_ == 0 || --entryDepth_ > 0)
        return;
    Form* back = beforeEntry_;
    beforeEntry_ = nullptr;
    // Activation returns to the window underneath; do not wait for the platform's
    // activation event, which some platforms never send for a window that kept focus.
    if (back != nullptr && back->isVisible())
        formActivated(back);
}

Form* Forms::front() const {
    return front_ && front_->isVisible() ? front_.data() : nullptr;
}

void Forms::formHidden(Form* form) {
    if (front_ == form)
        front_ = nullptr;
    // Whatever comes up next is a change of program window, this form included.
    if (last_ == form)
        last_ = nullptr;
}

void Forms::formActivated(Form* form) {
    if (form != nullptr && form->isVisible())
        front_ = form;
    // While an entry box is up it is the active program window; its closing
    // hands activation back.
    if (form == nullptr || entryDepth_ > 0 || !form->isVisible() || last_ == form)
        return;
    last_ = form;
    QPointer<Form> guarded = form;
    guard(dialogs_, [&guarded] {
        if (guarded)
            guarded->FormActivate();
    });
}

Form::Form(Forms& forms, const QString& objectName, const QString& caption, QSize clientSize,
           std::optional<QPoint> placedAt)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      forms_(forms), client_(new QWidget(this)), clientSize_(clientSize), placedAt_(placedAt) {
    setObjectName(objectName);
    setWindowTitle(caption);
    client_->setObjectName(QStringLiteral("client"));
    client_->setFixedSize(clientSize_);
    setCentralWidget(client_);
    // The window is exactly its menu bar plus the client area, however small (a
    // top-level window would otherwise be given a minimum height of its own).
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void Form::place() {
    placed_ = true;
    if (placedAt_) {
        move(*placedAt_);
        return;
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    adjustSize();
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

void Form::setWayOut(QAction* command) {
    wayOutAction_ = command;
    wayOutButton_ = nullptr;
}

void Form::setWayOut(QAbstractButton* command) {
    wayOutButton_ = command;
    wayOutAction_ = nullptr;
}

void Form::closeEvent(QCloseEvent* e) {
    // Our own code only hides windows; a close comes from the window manager. The
    // way out decides: it may ask, refuse or keep a row being edited.
    e->ignore();
    if (wayOutAction_ && wayOutAction_->isEnabled())
        wayOutAction_->trigger();
    else if (wayOutButton_ && wayOutButton_->isEnabled())
        wayOutButton_->click();
    if (!isVisible())
        e->accept(); // the way out left the window: nothing more to close
}

bool Form::event(QEvent* e) {
    const bool handled = QMainWindow::event(e);
    if (e->type() == QEvent::WindowActivate)
        forms_.formActivated(this);
    else if (e->type() == QEvent::Hide && !isVisible())
        forms_.formHidden(this);
    return handled;
}

} // namespace velmora
