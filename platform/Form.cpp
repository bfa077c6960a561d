#include "platform/Form.h"

#include "platform/Dialogs.h"
#include "platform/ErrorReport.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QToolTip>
#include <QWindow>
#include <algorithm>

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

QPoint keepOnScreen(const QRect& frame, const QRect& available) {
    const auto fit = [](int at, int size, int first, int room) {
        at = std::min(at, first + room - size); // the far edge comes in first ...
        return std::max(at, first);             // ... the near edge wins when both cannot
    };
    return {fit(frame.x(), frame.width(), available.x(), available.width()),
            fit(frame.y(), frame.height(), available.y(), available.height())};
}

QPoint keepOnScreen(const QRect& frame) {
    const QScreen* screen = QGuiApplication::screenAt(frame.topLeft());
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    return screen == nullptr ? frame.topLeft() : keepOnScreen(frame, screen->availableGeometry());
}

namespace {

struct TabStop {
    QWidget* widget;
    QRect place; // in client coordinates
};

// Controls sharing a row: each one's vertical middle lies within the first one's height.
// A radio group is one stop of the reading order: its buttons follow the first of them.
const void* radioGroupOf(const QWidget* w) {
    const auto* radio = qobject_cast<const QRadioButton*>(w);
    if (radio == nullptr)
        return nullptr;
    if (radio->group() != nullptr)
        return radio->group();
    return radio->autoExclusive() ? radio->parentWidget() : nullptr;
}

QList<QWidget*> withGroupsTogether(const QList<QWidget*>& order) {
    QList<QWidget*> result;
    QList<const void*> done;
    for (QWidget* w : order) {
        const void* group = radioGroupOf(w);
        if (group == nullptr) {
            result.append(w);
        } else if (!done.contains(group)) {
            done.append(group);
            for (QWidget* member : order)
                if (radioGroupOf(member) == group)
                    result.append(member);
        }
    }
    return result;
}

QList<QList<TabStop>> rowsOf(QList<TabStop> stops) {
    std::stable_sort(stops.begin(), stops.end(), [](const TabStop& a, const TabStop& b) {
        return a.place.top() < b.place.top();
    });
    QList<QList<TabStop>> rows;
    for (const TabStop& stop : stops) {
        if (!rows.isEmpty()) {
            const QRect& first = rows.last().first().place;
            const int middle = stop.place.center().y();
            if (middle >= first.top() && middle <= first.bottom()) {
                rows.last().append(stop);
                continue;
            }
        }
        rows.append({stop});
    }
    for (auto& row : rows)
        std::stable_sort(row.begin(), row.end(), [](const TabStop& a, const TabStop& b) {
            return a.place.left() < b.place.left();
        });
    return rows;
}

} // namespace

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
    adjustSize();
    QRect frame = frameGeometry();
    if (placedAt_) {
        frame.moveTopLeft(*placedAt_);
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        frame.moveCenter(screen->availableGeometry().center());
    }
    // Wherever it was meant to go, the caption and the menu bar stay reachable.
    move(keepOnScreen(frame));
}

void Form::orderTabs() {
    tabsOrdered_ = true;
    QList<TabStop> stops;
    for (QWidget* w : client_->findChildren<QWidget*>()) {
        // Drop-down lists keep their popups as children: those are windows of their own.
        if ((w->focusPolicy() & Qt::TabFocus) != Qt::TabFocus || w->focusProxy() != nullptr ||
            w->window() != this)
            continue;
        stops.append({w, QRect(w->mapTo(client_, QPoint(0, 0)), w->size())});
        // A picture button is read out by its hint.
        if (auto* button = qobject_cast<QAbstractButton*>(w);
            button != nullptr && button->text().isEmpty() && button->accessibleName().isEmpty())
            button->setAccessibleName(button->toolTip());
    }
    QList<QWidget*> order;
    for (const auto& row : rowsOf(stops))
        for (const TabStop& stop : row)
            order.append(stop.widget);
    order = withGroupsTogether(order);
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void Form::setWayOut(QAction* command) {
    wayOutAction_ = command;
    wayOutButton_ = nullptr;
}

void Form::setWayOut(QAbstractButton* command) {
    wayOutButton_ = command;
    wayOutAction_ = nullptr;
}

void Form::setChoiceButton(QPushButton* ok, const QString& stayHint) {
    setWayOut(ok);
    ok->setDefault(true);
    // Outside a dialog a default button takes no Enter by itself.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)})
        connect(new QShortcut(key, this), &QShortcut::activated, ok, [ok] {
            if (ok->isEnabled())
                ok->click();
        });
    stayHint_ = stayHint;
    setAccessibleDescription(stayHint);
    ok->setToolTip(stayHint);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            [this, ok] {
                QWidget* near = focusWidget() != nullptr ? focusWidget() : ok;
                QToolTip::showText(near->mapToGlobal(QPoint(0, near->height())), stayHint_, near);
            });
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
    if (e->type() == QEvent::Show && !tabsOrdered_)
        orderTabs();
    const bool handled = QMainWindow::event(e);
    if (e->type() == QEvent::WindowActivate)
        forms_.formActivated(this);
    else if (e->type() == QEvent::Hide && !isVisible())
        forms_.formHidden(this);
    return handled;
}

} // namespace velmora
