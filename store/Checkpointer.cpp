#include "store/Checkpointer.h"

#include "store/Database.h"
#include "store/StoreError.h"

#include <QFile>
#include <sqlite3.h>

namespace velmora {

Checkpointer::Checkpointer(Database& db, int pages) : db_(db), pages_(pages) {
    sqlite3* handle = engineHandle(db_.handle());
    if (db_.readOnly() || handle == nullptr)
        return;
    const QByteArray path = QFile::encodeName(db_.filePath());
    if (sqlite3_open_v2(path.constData(), &own_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(own_);
        own_ = nullptr;
        return;
    }
    // The copy is made durable before the log is reused, as the engine's own would be.
    sqlite3_exec(own_, "PRAGMA synchronous = FULL", nullptr, nullptr, nullptr);
    // A hook of our own replaces the engine's checkpoints on the windows' connection.
    sqlite3_wal_hook(handle, &Checkpointer::committed, this);
    thread_ = std::thread([this] { run(); });
}

Checkpointer::~Checkpointer() {
    if (own_ == nullptr)
        return;
    if (sqlite3* handle = engineHandle(db_.handle()))
        sqlite3_wal_autocheckpoint(handle, defaultPages);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
    sqlite3_close(own_);
}

int Checkpointer::committed(void* self, sqlite3*, const char*, int pages) {
    auto* checkpointer = static_cast<Checkpointer*>(self);
    if (pages >= checkpointer->pages_)
        checkpointer->request();
    return SQLITE_OK;
}

void Checkpointer::request() {
    if (own_ == nullptr)
        return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        wanted_ = true;
    }
    wake_.notify_one();
}

void Checkpointer::run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return wanted_ || stopping_; });
        if (stopping_)
            return;
        wanted_ = false;
        lock.unlock();
        int logged = 0;
        int copied = 0;
        // Pages a listing still reads stay in the log; a later commit asks again.
        if (sqlite3_wal_checkpoint_v2(own_, nullptr, SQLITE_CHECKPOINT_PASSIVE, &logged, &copied) ==
                SQLITE_OK &&
            logged == copied)
            ++completed_;
        lock.lock();
    }
}

} // namespace velmora
