#pragma once

#include <QString>
#include <memory>

class QLockFile;

namespace velmora {

// One program per data directory: a lock file in the folder, held while the
// program runs. A lock left by a program that died (killed, crashed) is taken
// over, as the process that held it no longer exists.
class DataDirLock final {
public:
    static constexpr const char* fileName = "Velmora.lock";

    enum class Outcome {
        Locked,      // this program holds the folder
        AlreadyOpen, // another live program holds it
        NoFolder,    // nothing to lock: the folder is missing (the store says so)
        CannotLock,  // the lock file cannot be written (read-only folder, no rights)
    };

    explicit DataDirLock(const QString& dataDir);
    ~DataDirLock();
    DataDirLock(const DataDirLock&) = delete;
    DataDirLock& operator=(const DataDirLock&) = delete;

    Outcome outcome() const { return outcome_; }
    // The user's message for AlreadyOpen and CannotLock; empty otherwise.
    QString message() const;

private:
    QString dataDir_;
    std::unique_ptr<QLockFile> lock_;
    Outcome outcome_ = Outcome::NoFolder;
};

} // namespace velmora
