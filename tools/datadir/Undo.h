#pragma once

#include <QDir>
#include <QFile>
#include <QStringList>

namespace velmora::datadir {

// Remembers what a run created and removes it again unless the run succeeds.
class Undo final {
public:
    Undo() = default;
    Undo(const Undo&) = delete;
    Undo& operator=(const Undo&) = delete;
    ~Undo() {
        if (kept_)
            return;
        for (auto it = files_.crbegin(); it != files_.crend(); ++it)
            QFile::remove(*it);
        for (auto it = dirs_.crbegin(); it != dirs_.crend(); ++it)
            QDir().rmdir(*it);
    }
    void addFile(const QString& path) { files_ << path; }
    void addDir(const QString& path) { dirs_ << path; }
    void keep() { kept_ = true; }

private:
    QStringList files_;
    QStringList dirs_;
    bool kept_ = false;
};

} // namespace velmora::datadir
