#pragma once

#include <QString>

namespace velmora {

// A name as a Brazilian reader compares it: upper-cased and without accents
// ("São Paulo" -> "SAO PAULO", "Itália" -> "ITALIA"). Names are listed in the order
// of this text, ties broken by the exact name; searches compare it on both sides.
// The store offers it to statements as the SQL function fold().
QString foldedText(const QString& text);

} // namespace velmora
