#pragma once

#include <QString>

namespace velmora {

class Database;

// A club's age as stored in IdadeClube: "124 anos" (a year still to come gives a
// negative number).
QString ageText(int currentYear, int foundationYear);

// Sets IdadeClube of every stored club that has a foundation year, in one
// transaction, writing only the rows whose age text is not already right; a club
// without a year keeps its age. Returns the clubs with a year (all now right).
// Throws StoreError, having written nothing, when an age would not fit the field.
int storeAges(Database& db, int currentYear);

} // namespace velmora
