#pragma once

// Shared by the gallery tests: an application on a seeded store and ways to read the page.
#include "app/VelmoraApp.h"
#include "core/Pictures.h"
#include "gallery/Relatorios.h"
#include "tests/support/AppFixture.h"
#include "tests/support/store/TestStore.h"

#include <QLabel>
#include <QPushButton>
#include <QStringList>

namespace velmora::test {

// The application with ways to fill the store and read the gallery page.
struct GalleryRig : AppFixture {
    TFrmRelatorios& page() { return *app().FrmRelatorios; }

    // Clubs named prefix01, prefix02, ... of a country (clubs, or national teams).
    void addClubs(int count, const QString& prefix, const QString& pais = QStringLiteral("Brasil"),
                  int identificador = 0, int firstCode = 1) {
        for (int i = 0; i < count; ++i) {
            const QString name = prefix + QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0'));
            Club c = identificador == 1 ? store.selecao(firstCode + i, name, pais)
                                        : store.club(firstCode + i, name, pais);
            store.insert(c);
        }
    }

    // The short names of the twelve slots ("" for a cleared slot).
    QStringList slotNames() {
        QStringList names;
        for (int n = 1; n <= TFrmRelatorios::slotCount; ++n)
            names << page().slot(n).LblNomeClube->text();
        return names;
    }

    // Object names of the next-page buttons that are shown and usable.
    QStringList shownButtons() {
        QStringList names;
        for (int b = 0; b < pageButtonCount; ++b) {
            QPushButton* button = page().pageButton(PageButton(b));
            if (!button->isHidden() && button->isEnabled())
                names << button->objectName();
        }
        return names;
    }

    // True when box shows the picture of path as the loader draws it for that box.
    bool shows(QLabel* box, const QString& path, bool stretch = true) {
        if (box->pixmap().isNull() || path.isEmpty())
            return false;
        const QImage expected = app()
                                    .pictures.load(path, stretch ? box->size() : QSize())
                                    .convertToFormat(QImage::Format_RGB32);
        return box->pixmap().toImage().convertToFormat(QImage::Format_RGB32) == expected;
    }
};

// A slot's four texts as "short name|code|full name|city".
inline QString slotText(const TFrmRelatorios::Slot& s) {
    return QStringList{s.LblNomeClube->text(), s.LblSiglaPaisClube->text(),
                       s.LblNomeCompleto->text(), s.LblCidade->text()}
        .join(QLatin1Char('|'));
}

// Names prefix01..prefixNN from first to last, padded with "" up to twelve.
inline QStringList expectedNames(const QString& prefix, int first, int last) {
    QStringList names;
    for (int i = first; i <= last; ++i)
        names << prefix + QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
    while (names.size() < TFrmRelatorios::slotCount)
        names << QString();
    return names;
}

} // namespace velmora::test
