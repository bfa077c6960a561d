#include "platform/Fonts.h"

#include <QStringList>

namespace velmora {

void installFontSubstitutes() {
    QFont::insertSubstitutions(QStringLiteral("Corbel"),
                               {QStringLiteral("Carlito"), QStringLiteral("DejaVu Sans")});
    // Impact is a heavy face; the Bold cut is the look-alike (the family's default
    // face is a thin one).
    QFont::insertSubstitutions(QStringLiteral("Impact"),
                               {QStringLiteral("Bebas Neue Bold"), QStringLiteral("Bebas Neue"),
                                QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"),
                                                        QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

QFont pixelFont(const QString& family, int pixelSize, bool bold) {
    QFont f(family);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

} // namespace velmora
