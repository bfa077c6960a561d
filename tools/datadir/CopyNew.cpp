#include "tools/datadir/CopyNew.h"

#include "core/Files.h"
#include "store/StoreError.h"
#include "tools/datadir/FileUndo.h"

#include <QFile>
#include <QFileInfo>

#include <chrono>
#include <condition_variable>
#include <mutex>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <unistd.h>
#endif

namespace velmora::datadir {

namespace {

enum class KernelCopy { Done, Unsupported, Failed };

// The kernel copies the bytes (and shares the blocks where the file system can,
// like a reflink) without them passing through this process.
KernelCopy copyInKernel(QFile& in, QFile& out, int& systemError) {
#ifdef Q_OS_LINUX
    // The size read at opening saves asking once more only to hear "end of file".
    qint64 left = in.size();
    bool started = false;
    while (left > 0) {
        const ssize_t n =
            ::copy_file_range(in.handle(), nullptr, out.handle(), nullptr, std::size_t(left), 0);
        if (n == 0)
            break; // the file shrank meanwhile: what is there was copied
        if (n < 0) {
            if (errno == EINTR)
                continue;
            systemError = errno;
            const bool unsupported = errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP ||
                                     errno == EINVAL || errno == EBADF;
            return !started && unsupported ? KernelCopy::Unsupported : KernelCopy::Failed;
        }
        started = true;
        left -= n;
    }
    return started || in.size() == 0 ? KernelCopy::Done : KernelCopy::Unsupported;
#else
    Q_UNUSED(in);
    Q_UNUSED(out);
    Q_UNUSED(systemError);
    return KernelCopy::Unsupported;
#endif
}

bool copyThrough(QFile& in, QFile& out, int& systemError) {
    constexpr qint64 chunk = 1 << 20;
    while (!in.atEnd()) {
        const QByteArray bytes = in.read(chunk);
        if (bytes.isEmpty() && in.error() != QFileDevice::NoError)
            return false;
        if (out.write(bytes) != bytes.size()) {
            systemError = errno;
            return false;
        }
    }
    if (!out.flush()) {
        systemError = errno;
        return false;
    }
    return true;
}

} // namespace

QString copyNew(const QString& source, const QString& target) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return QStringLiteral("não foi possível ler %1").arg(source);
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        return out.exists() ? QStringLiteral("%1 já existe").arg(target)
                            : QStringLiteral("não foi possível criar %1").arg(target);
    int systemError = 0;
    KernelCopy copied = copyInKernel(in, out, systemError);
    if (copied == KernelCopy::Unsupported)
        copied = copyThrough(in, out, systemError) ? KernelCopy::Done : KernelCopy::Failed;
    if (copied != KernelCopy::Done) {
        out.remove();
        if (files::diskFull(out, systemError))
            return QStringLiteral("%1 (%2)").arg(diskFullText(), target);
        return QStringLiteral("não foi possível gravar %1").arg(target);
    }
    return QString();
}

BackgroundCopies::BackgroundCopies(qsizetype count, std::function<File(qsizetype)> fileAt)
    : count_(count), fileAt_(std::move(fileAt)),
      worker_([this](std::stop_token stop) { run(stop); }) {
    // One copy at a time: creating a file is mostly the kernel's bookkeeping, done on
    // another core while the caller works; more copies in flight only contend for the
    // folder and the cores.
    if (count_ > 0)
        flusher_ = std::jthread([this](std::stop_token stop) { flushMeanwhile(stop); });
}

BackgroundCopies::BackgroundCopies(QList<File> files)
    : BackgroundCopies(files.size(), [files](qsizetype i) { return files[i]; }) {}

BackgroundCopies::~BackgroundCopies() {
    stop();
    if (kept_)
        return;
    for (qsizetype i = made_ - 1; i >= 0; --i)
        QFile::remove(fileAt_(i).target);
}

void BackgroundCopies::run(std::stop_token stop) {
    for (qsizetype i = 0; i < count_; ++i) {
        if (stop.stop_requested())
            break;
        File file = fileAt_(i);
        reason_ = copyNew(file.source, file.target);
        if (!reason_.isEmpty()) {
            failed_ = std::move(file);
            hasFailed_ = true;
            break;
        }
        made_ = i + 1;
    }
    copying_ = false;
}

// Writes what was copied so far to disk every little while, so that the caller's
// final flush finds little left to write (a third of the time of a big import).
void BackgroundCopies::flushMeanwhile(std::stop_token stop) {
    const QString folder = QFileInfo(fileAt_(0).target).path();
    std::mutex idle;
    std::condition_variable_any tick;
    std::unique_lock lock(idle);
    while (!tick.wait_for(lock, stop, std::chrono::milliseconds(250), [this] { return !copying_; }))
        syncToDisk(folder); // a failure shows in the caller's own flush
}

void BackgroundCopies::stop() {
    worker_.request_stop();
    if (worker_.joinable())
        worker_.join();
    flusher_.request_stop();
    if (flusher_.joinable())
        flusher_.join();
}

const BackgroundCopies::File* BackgroundCopies::finish(QString& reason) {
    if (worker_.joinable())
        worker_.join(); // to the end of the list, not stopped
    stop();
    reason = reason_;
    return hasFailed_ ? &failed_ : nullptr;
}

} // namespace velmora::datadir
