#pragma once

#include <QTimer>

namespace velmora {

class Database;

// Merges the full-text indexes in the program's idle time. Writes leave merging out
// (Search::deferMerging), since a merge can rewrite much of an index inside one save;
// a while after the last commit it is done here in small steps, each its own event,
// so the windows stay responsive and the indexes few-segmented.
class SearchUpkeep final {
public:
    explicit SearchUpkeep(Database& db);
    ~SearchUpkeep();
    SearchUpkeep(const SearchUpkeep&) = delete;
    SearchUpkeep& operator=(const SearchUpkeep&) = delete;

    // Merging is waiting for the program to be idle.
    bool pending() const { return timer_.isActive(); }
    // No merge starts from hold() to release(): another connection writes meanwhile, and
    // a merge would wait for it on the windows' thread.
    void hold();
    void release();
    // Pages of merged index one step writes (each step holds the window: a few ms), and
    // how long after a commit merging starts.
    static constexpr int pagesPerStep = 4;
    static constexpr int idleMs = 150;

private:
    void committed();
    void step();

    Database& db_;
    QTimer timer_;
    bool held_ = false; // merging was waiting when held
};

} // namespace velmora
