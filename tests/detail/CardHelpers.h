#pragma once
// Shared steps of the chooser and card tests.
#include "app/Inicial.h"
#include "app/VelmoraApp.h"
#include "detail/ClubeSelecionado.h"
#include "detail/SelClube.h"
#include "tests/support/AppFixture.h"
#include "tests/support/store/TestStore.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace velmora::test {

inline QStringList comboItems(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

inline bool hasPicture(const QLabel* box) {
    return !box->pixmap().isNull();
}

// The chooser as the main window's menu item opens it, activated.
inline TFrmSelClube& openChooser(VelmoraApp& app) {
    auto* item = app.FrmInicial->findChild<QAction*>(QStringLiteral("DadosdoClube1"));
    if (item != nullptr && item->isEnabled()) {
        item->trigger();
    } else {
        app.FrmSelClube->uncheckKinds();
        app.forms.show(app.FrmSelClube.get());
    }
    TFrmSelClube& chooser = *app.FrmSelClube;
    [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(&chooser);
    return chooser;
}

// Checks the kind as the user does and picks name; false when it is not listed.
inline bool pick(TFrmSelClube& chooser, QRadioButton* kind, const QString& name) {
    if (!kind->isChecked())
        QTest::mouseClick(kind, Qt::LeftButton, {}, QPoint(6, kind->height() / 2));
    const int index = chooser.ComboClubes->findText(name);
    if (index < 0)
        return false;
    chooser.ComboClubes->setCurrentIndex(index);
    chooser.ComboClubesChange();
    return true;
}

// Chooser, kind, name, OK: the card as the user opens it.
inline bool openCard(VelmoraApp& app, const QString& name, bool selecao = false) {
    TFrmSelClube& chooser = openChooser(app);
    if (!pick(chooser, selecao ? chooser.rbSelecao : chooser.rbClube, name))
        return false;
    QTest::mouseClick(chooser.BtnOk, Qt::LeftButton);
    return app.FrmClubeSelecionado->isVisible();
}

} // namespace velmora::test
