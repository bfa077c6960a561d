#pragma once

#include "store/Query.h"

#include <QComboBox>
#include <QIcon>
#include <QPushButton>
#include <QString>
#include <QWidget>

namespace velmora {

// The choosers' "OK" button with its glyph.
inline QPushButton* makeOkButton(QWidget* parent, QRect geometry) {
    auto* button = new QPushButton(QIcon(QStringLiteral(":/artwork/glyph-ok.png")),
                                   QStringLiteral("OK"), parent);
    button->setObjectName(QStringLiteral("BtnOk"));
    button->setGeometry(geometry);
    return button;
}

// A drop-down list without free typing.
inline QComboBox* makeChoiceList(QWidget* parent, const QString& name, QPoint at, int width) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setEditable(false);
    list->move(at);
    list->setFixedWidth(width);
    return list;
}

// Empties a list and fills it with the first column of every row of a statement
// on a query object, in the order the engine returns them; no item is chosen.
inline void refillChoiceList(QComboBox* list, Query& query, const QString& line) {
    list->clear();
    query.run({line});
    QStringList items;
    for (; !query.eof(); query.next())
        items << query.field(0);
    list->addItems(items);
    list->setCurrentIndex(-1);
}

} // namespace velmora
