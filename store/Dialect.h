#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

// Turns the program's local SQL into SQLite: table file names ("clubes.db",
// "UF.DB") to table names, double-quoted text constants to string literals,
// field names to the declared spelling ("país" -> "País", which SQLite's
// ASCII-only case folding would miss). Named parameters (":ESTADO") are kept.
// Throws StoreError for an unknown table file or an unclosed text constant.
class Dialect final {
public:
    static QString translate(const QString& localSql);

    // The same translation with each parameter replaced by "?", and the parameter
    // names (without the colon) in the order they appear, for positional binding.
    struct Prepared {
        QString sql;
        QStringList parameters;
    };
    static Prepared prepare(const QString& localSql);
};

} // namespace velmora
