#pragma once

#include <QLabel>
#include <QTextDocument>

namespace velmora::test {

// Whether a label draws its text as the characters it holds: Qt interprets a label's
// text as HTML unless told it is plain, whenever the text looks like markup.
inline bool showsLiterally(const QLabel* label) {
    return label->textFormat() == Qt::PlainText ||
           (label->textFormat() == Qt::AutoText && !Qt::mightBeRichText(label->text()));
}

} // namespace velmora::test
