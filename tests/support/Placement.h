#pragma once

// Checks a window's real controls against its place table.

#include "layout/Place.h"

#include <QAbstractButton>
#include <QColor>
#include <QLabel>
#include <QPalette>
#include <QTest>
#include <QWidget>

namespace velmora::test {

// One data row per control of the window, its picture first, each named after it.
inline void addPlaceRows(const layout::Window& window) {
    QTest::addColumn<QString>("name");
    if (window.backgroundName != nullptr)
        QTest::newRow(window.backgroundName) << QString::fromLatin1(window.backgroundName);
    for (const layout::Place& place : window.places)
        QTest::newRow(place.name) << QString::fromLatin1(place.name);
}

// The control of that name sits on the client area where its row says, in its font and
// colour, with its caption, tool tip, glyph and spoken name. Check QTest::currentTestFailed()
// after it.
inline void checkPlace(QWidget* client, const layout::Place& place) {
    auto* control = client->findChild<QWidget*>(QString::fromLatin1(place.name));
    QVERIFY2(control != nullptr, place.name);
    QCOMPARE(control->parentWidget(), client);
    if (place.sizedToText())
        QCOMPARE(control->pos(), place.rect.topLeft());
    else
        QCOMPARE(control->geometry(), place.rect);
    if (place.font.family != nullptr) {
        QCOMPARE(control->font().family(), QString::fromLatin1(place.font.family));
        QCOMPARE(control->font().pixelSize(), place.font.pixelSize);
        QCOMPARE(control->font().bold(), place.font.bold);
    }
    if (place.colour != 0)
        QCOMPARE(control->palette().color(QPalette::WindowText), QColor::fromRgb(place.colour));
    if (*place.spoken != '\0')
        QCOMPARE(control->accessibleName(), QString::fromUtf8(place.spoken));
    if (*place.hint != '\0')
        QCOMPARE(control->toolTip(), QString::fromUtf8(place.hint));
    if (auto* label = qobject_cast<QLabel*>(control)) {
        // Labels and pictures lie on the artwork without a background of their own.
        QVERIFY(!label->autoFillBackground());
        if (place.align != Qt::Alignment())
            QCOMPARE(label->alignment(), place.align);
        if (place.kind == layout::Kind::Picture) // stretched to its box
            QVERIFY(label->hasScaledContents());
        else if (*place.text != '\0')
            QCOMPARE(label->text(), QString::fromUtf8(place.text));
    }
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        QCOMPARE(button->text(), QString::fromUtf8(place.text));
        QCOMPARE(button->icon().isNull(), place.glyph == nullptr);
    }
}

// The window's picture lies where its table says, stretched or at its own size.
inline void checkBackground(QWidget* client, const layout::Window& window) {
    auto* box = client->findChild<QLabel*>(QString::fromLatin1(window.backgroundName));
    QVERIFY2(box != nullptr, window.backgroundName);
    QCOMPARE(box->parentWidget(), client);
    QCOMPARE(box->geometry(), window.backgroundRect);
    QCOMPARE(box->hasScaledContents(), window.stretched);
}

// The row's control, or the window's picture, checked as above.
inline void checkControl(QWidget* client, const layout::Window& window, const QString& name) {
    if (window.backgroundName != nullptr && name == QLatin1String(window.backgroundName))
        checkBackground(client, window);
    else
        checkPlace(client, layout::at(window, name.toLatin1().toStdString()));
}

} // namespace velmora::test
