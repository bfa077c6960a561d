#include "store/SearchUpkeep.h"

#include "store/Database.h"
#include "store/Search.h"
#include "store/StoreError.h"

#include <utility>

namespace velmora {

SearchUpkeep::SearchUpkeep(Database& db) : db_(db) {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { step(); });
    if (db_.readOnly() || !Search::present(db_.handle()))
        return;
    Search::deferMerging(db_.handle());
    db_.setCommitted([this] { committed(); });
    // What an older program left unmerged is merged once the program is idle.
    committed();
}

SearchUpkeep::~SearchUpkeep() {
    db_.setCommitted({});
}

void SearchUpkeep::committed() {
    timer_.start(idleMs);
}

void SearchUpkeep::hold() {
    held_ = timer_.isActive();
    timer_.stop();
}

void SearchUpkeep::release() {
    if (std::exchange(held_, false))
        timer_.start(idleMs);
}

namespace {

// A merge only reorganises an index: one lost to a power cut loses nothing, so its commit
// does not wait for the disk. The next save's commit syncs the log, merges and all.
class UnsyncedCommits final {
public:
    explicit UnsyncedCommits(Database& db) : db_(db) {
        db_.exec(QStringLiteral("PRAGMA synchronous = NORMAL"));
    }
    ~UnsyncedCommits() {
        try {
            db_.exec(QStringLiteral("PRAGMA synchronous = FULL"));
        } catch (const StoreError&) {
            // Only a connection gone wrong refuses a pragma; its saves fail on their own.
        }
    }
    UnsyncedCommits(const UnsyncedCommits&) = delete;
    UnsyncedCommits& operator=(const UnsyncedCommits&) = delete;

private:
    Database& db_;
};

} // namespace

void SearchUpkeep::step() {
    try {
        const UnsyncedCommits unsynced(db_);
        if (Search::mergeStep(db_.handle(), pagesPerStep))
            timer_.start(0);
    } catch (const StoreError&) {
        // Busy or unwritable now: the next commit tries again; searches stay exact.
    }
}

} // namespace velmora
