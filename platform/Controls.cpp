#include "platform/Controls.h"

#include "platform/ErrorReport.h"
#include "platform/Fonts.h"
#include "platform/PictureBox.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFontMetrics>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QTextDocument>

namespace velmora {

namespace {

bool isArrow(int key) {
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right;
}

// The width a label's text may take: its fixed width, or the room of its row.
int textRoom(const QLabel* label) {
    if (label->maximumWidth() >= QWIDGETSIZE_MAX)
        return -1;
    const QMargins m = label->contentsMargins();
    return label->maximumWidth() - m.left() - m.right() - 2 * label->margin();
}

// A tool tip that shows a club's text as typed: one that looks like markup is escaped.
QString plainTip(const QString& text) {
    if (!Qt::mightBeRichText(text))
        return text;
    return QLatin1String("<p style='white-space:pre'>") + text.toHtmlEscaped() +
           QLatin1String("</p>");
}

} // namespace

ChoiceList::ChoiceList(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    // The whole item in the tool tip when the box cuts it.
    connect(this, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        const QFontMetrics metrics(font());
        QStyleOptionComboBox opt;
        initStyleOption(&opt);
        const int room =
            style()
                ->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this)
                .width();
        setToolTip(metrics.horizontalAdvance(text) > room ? plainTip(text) : QString());
    });
}

void ChoiceList::setTitle(const QString& text) {
    if (title_ == nullptr) {
        // Lies under the list, which hides it: the words are painted on the window.
        title_ = new QLabel(parentWidget());
        title_->setTextFormat(Qt::PlainText);
        title_->setObjectName(objectName() + QLatin1String("Titulo"));
        title_->setGeometry(geometry());
        title_->stackUnder(this);
        QPalette palette = title_->palette();
        palette.setColor(QPalette::WindowText, Qt::transparent);
        title_->setPalette(palette);
        title_->setBuddy(this);
    }
    title_->setText(text);
}

void ChoiceList::setTitle(QLabel* shown) {
    delete title_;
    title_ = shown;
    title_->setBuddy(this);
}

void ChoiceList::keyPressEvent(QKeyEvent* e) {
    const bool searching =
        lastTyped_.isValid() && lastTyped_.elapsed() < QApplication::keyboardInputInterval();
    const bool printable = !e->text().isEmpty() && e->text().at(0).isPrint() &&
                           (e->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == 0;
    if (printable && (e->key() != Qt::Key_Space || searching)) {
        lastTyped_.start();
        // A space in the middle of a name is searched as a letter, not taken as a press.
        QKeyEvent letter(e->type(), Qt::Key_unknown, e->modifiers(), e->text(), e->isAutoRepeat(),
                         ushort(e->count()));
        QComboBox::keyPressEvent(&letter);
        e->setAccepted(letter.isAccepted());
        return;
    }
    lastTyped_.invalidate();
    QComboBox::keyPressEvent(e);
}

void ChoiceList::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    painter.drawComplexControl(QStyle::CC_ComboBox, opt);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
    opt.currentText = fontMetrics().elidedText(opt.currentText, Qt::ElideRight, field.width() - 2);
    painter.drawControl(QStyle::CE_ComboBoxLabel, opt);
}

void ChoiceRadio::keyPressEvent(QKeyEvent* e) {
    QRadioButton::keyPressEvent(e);
    // Qt moves the focus without choosing while no button of the group is checked.
    auto* now = qobject_cast<QRadioButton*>(QApplication::focusWidget());
    if (!isArrow(e->key()) || now == nullptr || now == this || now->isChecked())
        return;
    const bool sameGroup = group() != nullptr ? now->group() == group()
                                              : now->autoExclusive() && autoExclusive() &&
                                                    now->parentWidget() == parentWidget();
    if (sameGroup)
        now->click();
}

void putAt(QWidget* control, const layout::Place& place) {
    control->setObjectName(QString::fromLatin1(place.name));
    if (place.sizedToText())
        control->move(place.rect.topLeft());
    else
        control->setGeometry(place.rect);
    if (place.font.family != nullptr)
        control->setFont(pixelFont(QString::fromLatin1(place.font.family), place.font.pixelSize,
                                   place.font.bold));
    if (place.colour != 0) {
        QPalette palette = control->palette();
        palette.setColor(QPalette::WindowText, QColor::fromRgb(place.colour));
        control->setPalette(palette);
    }
    if (*place.spoken != '\0')
        control->setAccessibleName(QString::fromUtf8(place.spoken));
    if (auto* list = qobject_cast<ChoiceList*>(control); list != nullptr && *place.spoken != '\0')
        list->setTitle(QString::fromUtf8(place.spoken));
}

void setFittedText(QLabel* label, const QString& text) {
    const int room = textRoom(label);
    const QString shown =
        room < 0 ? text : QFontMetrics(label->font()).elidedText(text, Qt::ElideRight, room);
    const QString whole = shown == text ? QString() : text;
    label->setText(shown);
    label->setToolTip(plainTip(whole));
    label->setAccessibleDescription(whole);
    if (label->minimumWidth() != label->maximumWidth()) // sized to its text
        label->adjustSize();
}

void setShrunkText(QLabel* label, const QString& text, const layout::Place& place) {
    QFont font = label->font();
    int size = place.font.pixelSize;
    constexpr int inset = 4; // clear of the label's edges
    const int room = label->contentsRect().width() - 2 * inset;
    for (font.setPixelSize(size); size > 1 && QFontMetrics(font).horizontalAdvance(text) > room;
         font.setPixelSize(--size)) {
    }
    label->setFont(font);
    label->setText(text);
}

void setTitledValue(QLabel* label, const QString& value, const layout::Place& place) {
    label->setText(value);
    label->setAccessibleName(QString::fromUtf8(place.title) + QLatin1String(": ") + value);
}

void PictureBox::paintEvent(QPaintEvent* event) {
    const QPixmap shown = pixmap();
    if (!hasScaledContents() || shown.isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRectF(contentsRect()), shown, QRectF(shown.rect()));
}

QLabel* makePicture(QWidget* parent, const layout::Place& place) {
    auto* picture = placed(new PictureBox(parent), place);
    picture->setScaledContents(true);
    return picture;
}

QLabel* makeLabel(QWidget* parent, const layout::Place& place) {
    auto* label = placed(new QLabel(QString::fromUtf8(place.text), parent), place);
    label->setTextFormat(Qt::PlainText);
    if (place.align != Qt::Alignment())
        label->setAlignment(place.align);
    // A label of fixed size keeps it whatever text it is given later.
    if (!place.sizedToText())
        label->setFixedSize(place.rect.size());
    else if (place.room > 0)
        label->setMaximumWidth(place.room);
    return label;
}

QPushButton* makeButton(QWidget* parent, const layout::Place& place, QSize glyphSize) {
    auto* button = placed(new QPushButton(QString::fromUtf8(place.text), parent), place);
    button->setToolTip(QString::fromUtf8(place.hint));
    if (place.glyph != nullptr)
        button->setIcon(QIcon(QString::fromLatin1(place.glyph)));
    if (!glyphSize.isEmpty())
        button->setIconSize(glyphSize);
    return button;
}

ChoiceRadio* makeRadio(QWidget* parent, const layout::Place& place) {
    return placed(new ChoiceRadio(QString::fromUtf8(place.text), parent), place);
}

QCheckBox* makeCheckBox(QWidget* parent, const layout::Place& place) {
    return placed(new QCheckBox(QString::fromUtf8(place.text), parent), place);
}

ChoiceList* makeChoiceList(QWidget* parent, const layout::Place& place) {
    return placed(new ChoiceList(parent), place);
}

QLabel* makeBackgroundBox(QWidget* parent, const layout::Window& window) {
    auto* box = new PictureBox(parent);
    box->setObjectName(QString::fromLatin1(window.backgroundName));
    box->setGeometry(window.backgroundRect);
    box->setScaledContents(window.stretched);
    if (!window.stretched)
        box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return box;
}

QLabel* makeBackground(QWidget* parent, const layout::Window& window, Pictures& pictures,
                       Dialogs& dialogs) {
    QLabel* box = makeBackgroundBox(parent, window);
    guard(dialogs, [&] {
        showPicture(pictures, box, QString::fromLatin1(window.background), window.stretched);
    });
    return box;
}

} // namespace velmora
