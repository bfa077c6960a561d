#pragma once

#include <QFont>
#include <QString>

namespace velmora {

// The windows name Corbel, Impact, Arial and MS Sans Serif; each is mapped to an
// installed look-alike (Carlito, Bebas Neue, Liberation Sans).
void installFontSubstitutes();

// A font by family and character height in pixels.
QFont pixelFont(const QString& family, int pixelSize, bool bold = false);

} // namespace velmora
