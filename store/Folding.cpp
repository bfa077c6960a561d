#include "store/Folding.h"

namespace velmora {

QString foldedText(const QString& text) {
    // Decomposed, every accent is a combining mark after its letter; composing again
    // afterwards keeps scripts whose letters decompose into other letters (Hangul) whole.
    QString decomposed = text.toUpper().normalized(QString::NormalizationForm_D);
    decomposed.removeIf([](QChar c) { return c.category() == QChar::Mark_NonSpacing; });
    return decomposed.normalized(QString::NormalizationForm_C);
}

} // namespace velmora
