#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

struct sqlite3;

namespace velmora {

class Database;

// Copies committed pages from the write-ahead log into the store file on a thread of its
// own, with its own connection. Left to the engine, the commit that fills the log copies
// it, inside a save and on the windows' thread; here the copy never holds up a save: a
// passive checkpoint waits for no reader or writer, so saves and listings go on while it
// runs and no snapshot a listing reads is changed by it.
class Checkpointer final {
public:
    // Log pages after which a commit asks for a checkpoint: the engine's own default.
    static constexpr int defaultPages = 1000;

    // Takes over `db`'s checkpoints. A store opened for reading only, or one a second
    // connection cannot open, keeps the engine's own checkpoints.
    explicit Checkpointer(Database& db, int pages = defaultPages);
    ~Checkpointer();
    Checkpointer(const Checkpointer&) = delete;
    Checkpointer& operator=(const Checkpointer&) = delete;

    // Whether the checkpoints run on the thread (false: the engine's own after commits).
    bool active() const { return own_ != nullptr; }
    // Asks for a checkpoint now: another connection committed (its own are left out).
    void request();
    // Checkpoints that copied the whole log into the store file, so far.
    int completed() const { return completed_.load(); }

private:
    static int committed(void* self, sqlite3*, const char*, int pages);
    void run();

    Database& db_;
    int pages_;
    sqlite3* own_ = nullptr; // used by the thread alone once it runs
    std::mutex mutex_;
    std::condition_variable wake_;
    bool wanted_ = false;
    bool stopping_ = false;
    std::atomic<int> completed_{0};
    std::thread thread_;
};

} // namespace velmora
