#pragma once

#include "store/Ages.h"

#include <QString>

namespace velmora {

class Table;
struct Services;
class TFrmClubes;

// A year picked in the editor: the pending row's IdadeClube from the year text the
// year box shows. Throws when the text is no year.
void setPendingAge(Table& clubs, int currentYear, const QString& yearText);

// "Recalcular Idade dos Clubes": every age for this year (storeAges) with a progress
// panel in the editor, then the editor shows the last club and the user is told.
// Cancelled, nothing is written and the editor stays on its row.
void recalcularIdades(Services& services, TFrmClubes& editor);

// The success message, telling how many clubs without a foundation year kept their age.
QString agesStoredText(int withoutYear);

} // namespace velmora
