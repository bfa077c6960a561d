#pragma once

// What a hostile or unlucky file system does to the program, made without root
// and without a file system of our own: a file that cannot be written, a disk that
// fills up.
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace velmora::test {

// Makes a file or folder unwritable for this process while in scope; root ignores
// permission bits, so it gets the immutable flag instead.
class Unwritable final {
public:
    explicit Unwritable(const QString& path) : path_(path), before_(QFile::permissions(path)) {
        if (geteuid() == 0)
            ok_ = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path_}) == 0;
        else
            ok_ = QFile::setPermissions(path_, before_ & ~(QFile::WriteOwner | QFile::WriteUser |
                                                           QFile::WriteGroup | QFile::WriteOther));
    }
    ~Unwritable() {
        if (geteuid() == 0)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), path_});
        else
            QFile::setPermissions(path_, before_);
    }
    Unwritable(const Unwritable&) = delete;
    Unwritable& operator=(const Unwritable&) = delete;
    bool ok() const { return ok_ && !QFileInfo(path_).isWritable(); }

private:
    QString path_;
    QFile::Permissions before_;
    bool ok_ = false;
};

// A full disk for this process while in scope: no file it writes may grow past
// bytes (the system's file size limit; a write past it fails as on a full disk
// instead of killing the process).
class FullDisk final {
public:
    explicit FullDisk(rlim_t bytes) {
        ok_ = ::getrlimit(RLIMIT_FSIZE, &before_) == 0;
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = before_;
        limit.rlim_cur = bytes;
        ok_ = ok_ && ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FullDisk() {
        ::setrlimit(RLIMIT_FSIZE, &before_);
        std::signal(SIGXFSZ, previous_);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;
    bool ok() const { return ok_; }

private:
    rlimit before_ = {};
    void (*previous_)(int) = nullptr;
    bool ok_ = false;
};

// The same for a program the test starts: it finds the disk full after bytes.
inline void fillDiskOf(QProcess& process, rlim_t bytes) {
    process.setChildProcessModifier([bytes] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit = {bytes, bytes};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
}

} // namespace velmora::test
