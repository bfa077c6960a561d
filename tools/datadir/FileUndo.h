#pragma once

#include <QString>
#include <QStringList>

namespace velmora::datadir {

// Remembers what a run created and removes it again unless the run succeeds.
class Undo final {
public:
    Undo() = default;
    Undo(const Undo&) = delete;
    Undo& operator=(const Undo&) = delete;
    ~Undo();
    void addFile(const QString& path) { files_ << path; }
    void addDir(const QString& path) { dirs_ << path; }
    void keep() { kept_ = true; }

private:
    QStringList files_;
    QStringList dirs_;
    bool kept_ = false;
};

// Creates path and its missing parents, remembering each folder it made; throws
// DataDirError (BadDir) when it cannot.
void makeDir(const QString& path, Undo& undo);

// Copies every file of the folder source (and its sub-folders) into target, which
// must not hold any of them: nothing is ever replaced. Remembers what it made;
// returns how many files it copied. Throws DataDirError.
int copyFolder(const QString& source, const QString& target, Undo& undo);

// Makes what was written under folder durable (where the system allows asking);
// false when the system reports that it could not.
bool syncToDisk(const QString& folder);

} // namespace velmora::datadir
