#pragma once

#include <QString>

namespace velmora {

// Turns the program's local SQL into SQLite: table file names ("clubes.db",
// "UF.DB") to table names, double-quoted text constants to string literals.
// Named parameters (":ESTADO") are kept.
class Dialect final {
public:
    static QString translate(const QString& localSql);
};

} // namespace velmora
