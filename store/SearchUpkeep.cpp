#include "store/SearchUpkeep.h"

#include "store/Database.h"
#include "store/Search.h"
#include "store/StoreError.h"

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

void SearchUpkeep::step() {
    try {
        if (Search::mergeStep(db_.handle(), pagesPerStep))
            timer_.start(0);
    } catch (const StoreError&) {
        // Busy or unwritable now: the next commit tries again; searches stay exact.
    }
}

} // namespace velmora
