#pragma once

#include <QString>

namespace velmora {

class Database;
class Table;
struct Services;
class TFrmClubes;

// A club's age as stored in IdadeClube: "124 anos" (a year still to come gives a
// negative number).
QString ageText(int currentYear, int foundationYear);

// A year picked in the editor: the pending row's IdadeClube from the year text the
// year box shows. Throws when the text is no year.
void setPendingAge(Table& clubs, int currentYear, const QString& yearText);

// Sets IdadeClube of every stored club that has a foundation year, in one
// transaction, writing only the rows whose age text is not already right; a club
// without a year keeps its age. Returns the clubs with a year (all now right).
// Throws StoreError, having written nothing, when an age would not fit the field.
int storeAges(Database& db, int currentYear);

// "Recalcular Idade dos Clubes": every age for this year, then the editor shows the
// last club and the user is told.
void recalcularIdades(Services& services, TFrmClubes& editor);

// The success message, telling how many clubs without a foundation year kept their age.
QString agesStoredText(int withoutYear);

} // namespace velmora
