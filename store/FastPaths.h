#pragma once

#include <QHash>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <optional>
#include <utility>

namespace velmora {

class Database;
class Statement;

// The engine's own shortcuts for the store's statements (Statements) on a big
// catalogue: a statement is rewritten into one that gives the same rows in the same
// order but reads counts kept by triggers, resolves a typed country against the
// countries first, or finds name fragments through a full-text index. Which shortcut
// is known from the statement itself; its text is never read. A statement written
// in place runs as written.
class FastPaths final {
public:
    using Bindings = QVector<QPair<QString, QVariant>>; // parameter names without ':'

    struct Plan {
        QStringList lines; // local SQL, as the statement
        Bindings added;    // values of the parameters the shortcut adds
    };

    explicit FastPaths(Database& db) : db_(db) {}

    // The faster equivalent of `statement` with the values bound to it; nothing when
    // it has none, or none for these values (a pattern with wildcards of its own).
    // What a choice looked up in the store is kept until the store changes.
    std::optional<Plan> choose(const Statement& statement, const Bindings& bound);
    // Whether the last choice still holds for what the store's last statement read:
    // false when it was kept from before another connection wrote. Run right after
    // the chosen statement; then forget() and choose again.
    bool current() const;
    void forget();

private:
    std::optional<Plan> country(const Statement& s, const QVariant& pattern);
    std::optional<Plan> name(const Statement& s, const QVariant& pattern);
    // The plan kept for `key`, or a new one from `make`, kept while the store is unchanged.
    template <typename Make> std::optional<Plan> kept(const QString& key, Make make);

    Database& db_;
    std::pair<qint64, qint64> stamp_{-1, -1};
    QHash<QString, std::optional<Plan>> plans_;
    bool lastKept_ = false; // the last choice came from, or went into, plans_
};

} // namespace velmora
