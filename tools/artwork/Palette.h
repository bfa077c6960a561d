#pragma once

#include <QColor>

// One set of colours for every picture, so the windows read as one program.
namespace artwork::palette {

inline const QColor midnight{7, 20, 38};
inline const QColor navy{12, 33, 58};
inline const QColor deepGreen{10, 78, 46};
inline const QColor green{22, 122, 66};
inline const QColor grass{46, 148, 82};
inline const QColor orange{244, 141, 36};
inline const QColor ink{36, 44, 56};
inline const QColor muted{104, 116, 130};
inline const QColor paper{246, 247, 243};
inline const QColor hairline{206, 213, 220};
inline const QColor well{239, 242, 245};
inline const QColor wellBorder{214, 220, 227};
inline const QColor mist{214, 232, 220}; // light text on the pitch
inline const QColor steel{122, 132, 144};

} // namespace artwork::palette
