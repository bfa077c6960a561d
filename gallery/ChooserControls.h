#pragma once

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

} // namespace velmora
