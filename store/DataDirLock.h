#pragma once

#include <QString>
#include <memory>

class QLockFile;

namespace velmora {

// One program per data directory: a lock file in the folder, held while the
// program runs. Who holds it is decided by the system's lock on the file, which
// ends with the process that took it (killed, crashed, a power cut): a file that
// no running process holds is taken over whatever it says (empty, garbage, the
// name of another computer); one a running program holds is never taken,
// however long that program has run.
class DataDirLock final {
public:
    static constexpr const char* fileName = "Velmora.lock";
    // The data-directory tool holds the same lock while it changes a folder.
    static constexpr const char* toolName = "velmora-datadir";

    enum class Outcome {
        Locked,      // this program holds the folder
        AlreadyOpen, // another live program holds it
        NoFolder,    // nothing to lock: the folder is missing (the store says so)
        CannotLock,  // the lock file cannot be written (read-only folder, no rights)
        NotAFile,    // Velmora.lock is a folder, a pipe, a link...: nothing we may replace
    };

    explicit DataDirLock(const QString& dataDir);
    ~DataDirLock();
    DataDirLock(const DataDirLock&) = delete;
    DataDirLock& operator=(const DataDirLock&) = delete;

    Outcome outcome() const { return outcome_; }
    // The user's message when the folder is not ours; empty when Locked or NoFolder.
    QString message() const;
    // Who holds an AlreadyOpen folder, as its lock file says ("processo 12 neste
    // computador", "o computador X"); empty when it does not say.
    QString holder() const;
    // Whether that holder is the data-directory tool rather than the program.
    bool heldByTool() const { return holderApp_ == QLatin1String(toolName); }

private:
    QString path() const;
    Outcome take();
    void readHolder();

    QString dataDir_;
    std::unique_ptr<QLockFile> lock_;
    Outcome outcome_ = Outcome::NoFolder;
    QString kind_;          // what a lock that is not a file is ("uma pasta")
    QString holder_;        // the process holding a taken folder, as the lock file tells
    QString otherComputer_; // or the computer, when it names another one
    QString holderApp_;     // the program that took it, as the lock file tells
};

} // namespace velmora
