#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <thread>

namespace velmora::datadir {

// Copies a file to a target that must not exist yet (NewOnly: a file that appears
// meanwhile is never replaced). Cheaper than QFile::copy, which goes through a
// temporary file, when a hundred thousand small pictures are copied. Returns the
// reason in Portuguese when it fails (and leaves no target behind), else an empty text.
QString copyNew(const QString& source, const QString& target);

// Copies files with copyNew on a worker thread while the caller goes on (an import
// writes its rows meanwhile), and has the copies written to disk as it goes. Stops at
// the first failure. Every file it made is removed again unless keep() is called, also
// when the caller fails before finish().
class BackgroundCopies final {
public:
    struct File {
        QString source;
        QString target;
        int line = 0; // the line of the file being imported that asks for it
    };

    // The files are asked for one at a time, on the worker thread, so that a big import
    // never holds a second list of a hundred thousand paths; fileAt must stay valid and
    // safe to call from there until finish() or destruction.
    BackgroundCopies(qsizetype count, std::function<File(qsizetype)> fileAt);
    explicit BackgroundCopies(QList<File> files);
    ~BackgroundCopies();
    BackgroundCopies(const BackgroundCopies&) = delete;
    BackgroundCopies& operator=(const BackgroundCopies&) = delete;

    // Waits until every file is copied or one failed; returns the failed file, or
    // nullptr with the reason empty when all were copied.
    const File* finish(QString& reason);
    void keep() { kept_ = true; }
    // How many files are copied so far, and whether copying goes on (read from any thread).
    qsizetype copied() const { return made_; }
    bool copying() const { return copying_; }

private:
    void run(std::stop_token stop);
    void flushMeanwhile(std::stop_token stop);
    void stop();

    const qsizetype count_;
    const std::function<File(qsizetype)> fileAt_;
    std::atomic<qsizetype> made_{0}; // files 0..made_-1 were made by this copier
    File failed_;
    bool hasFailed_ = false;
    QString reason_;
    bool kept_ = false;
    std::atomic<bool> copying_{true};
    std::jthread worker_; // after the members above: it starts at once
    std::jthread flusher_;
};

} // namespace velmora::datadir
