#include "platform/Controls.h"

#include "platform/ErrorReport.h"
#include "platform/Fonts.h"
#include "platform/Pictures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>

namespace velmora {

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

QRadioButton* makeRadio(QWidget* parent, const layout::Place& place) {
    return placed(new QRadioButton(QString::fromUtf8(place.text), parent), place);
}

QCheckBox* makeCheckBox(QWidget* parent, const layout::Place& place) {
    return placed(new QCheckBox(QString::fromUtf8(place.text), parent), place);
}

QComboBox* makeChoiceList(QWidget* parent, const layout::Place& place) {
    auto* list = placed(new QComboBox(parent), place);
    list->setEditable(false);
    return list;
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
