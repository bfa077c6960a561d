#pragma once

#include <QString>
#include <QVariantList>
#include <optional>

namespace velmora {

class Database;

// The engine's own shortcuts for the program's statements on a big catalogue: a
// statement is rewritten into one that gives the same rows in the same order but
// reads counts kept by triggers, resolves a typed country against the countries
// first, or finds name fragments through a full-text index. A statement without a
// shortcut runs as written.
class FastPaths final {
public:
    struct Plan {
        QString sql; // SQLite, positional parameters
        QVariantList values;
    };

    // sql is a translated statement (Dialect::prepare) with its values in order.
    static std::optional<Plan> choose(Database& db, const QString& sql, const QVariantList& values);
};

} // namespace velmora
