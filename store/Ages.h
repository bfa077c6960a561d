#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace velmora {

class Database;

// A club's age as stored in IdadeClube: "124 anos" (a year still to come gives a
// negative number).
QString ageText(int currentYear, int foundationYear);

// Told the share of the clubs done (0 to 100) between steps of a long run; false
// asks to stop.
using AgesProgress = std::function<bool(int percent)>;

// The year every stored age was last made for, in a one-row table: a recount writes
// it, and triggers on Clubes clear it when a club is written with an age that is not
// that year's (the editor's save, an import, a statement typed by hand). A second
// press in the same year then needs to read no club.
class AgesYear final {
public:
    // Creates the table (with no year) and its triggers; drop() first when they may exist.
    static void build(QSqlDatabase& db);
    static void drop(QSqlDatabase& db);
    static QStringList triggerNames();
};

// Sets IdadeClube of every stored club that has a foundation year, in one
// transaction, writing only the rows whose age text is not already right; a club
// without a year keeps its age. When AgesYear holds `currentYear` no club is read. Returns the
// clubs with a year (all now right), or nothing when `progress` asked to stop: then nothing was
// written. Throws StoreError, having written nothing, when an age would not fit the field. The rows
// are read in the table's order, `rowsPerStep` between two reports.
std::optional<int> storeAges(Database& db, int currentYear, const AgesProgress& progress = {},
                             int rowsPerStep = 32768);

// storeAges on a connection of its own to the store in `dataDir`, on a thread of its
// own, while the calling thread keeps its windows painted: `progress` is still called
// on the calling thread, once for each report storeAges makes, and `meanwhile` between
// them and all through the commit, every few milliseconds. Nothing else may write the
// store meanwhile. The engine's own checkpoint is left out: the caller's checkpointer
// copies the log. Throws what storeAges throws.
std::optional<int> storeAgesAside(const QString& dataDir, int currentYear,
                                  const AgesProgress& progress,
                                  const std::function<void()>& meanwhile, int rowsPerStep = 32768);

} // namespace velmora
