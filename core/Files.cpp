#include "core/Files.h"

#include "store/Error.h"
#include "store/StoreError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>

namespace velmora::files {

namespace {

[[noreturn]] void fail(const QString& message) {
    throw Error(message);
}

QString copyFailureReason(const QString& source, const QString& target, const QFile& file) {
    const QFileInfo from(source);
    if (!from.exists())
        return QStringLiteral("arquivo de origem não encontrado");
    if (!from.isFile())
        return QStringLiteral("a origem não é um arquivo");
    if (!QFileInfo(target).absoluteDir().exists())
        return QStringLiteral("pasta de destino não encontrada");
    return file.errorString();
}

[[noreturn]] void copyFailed(const QString& source, const QString& target, const QString& why) {
    fail(QStringLiteral("Não foi possível copiar o arquivo \"%1\" para \"%2\": %3")
             .arg(source, target, why));
}

// A failed write: a full disk leads the message, as it is what the user must act on.
[[noreturn]] void writeFailed(const QString& source, const QString& target, const QFileDevice& out,
                              int systemError) {
    if (diskFull(out, systemError))
        fail(QStringLiteral("%1\n(Ao copiar \"%2\" para \"%3\".)")
                 .arg(diskFullText(), source, target));
    copyFailed(source, target, out.errorString() + QLatin1Char('.'));
}

} // namespace

bool exists(const QString& path) {
    return !path.isEmpty() && QFileInfo::exists(path);
}

bool diskFull(const QFileDevice& file, int systemError) {
    return file.error() == QFileDevice::ResourceError || isDiskFullErrno(systemError);
}

QString writeFailure(const QFileDevice& file, int systemError) {
    return diskFull(file, systemError) ? diskFullText() : file.errorString();
}

void copyNoOverwrite(const QString& source, const QString& target) {
    if (exists(target))
        fail(QStringLiteral("O arquivo de destino já existe: %1").arg(target));
    QFile in(source);
    if (!QFileInfo(source).isFile() || !in.open(QIODevice::ReadOnly))
        copyFailed(source, target, copyFailureReason(source, target, in) + QLatin1Char('.'));
    // Written under a passing name beside the target and renamed once complete: a
    // failure part-way (a full disk) leaves nothing under the target's name.
    QTemporaryFile out(target + QStringLiteral(".XXXXXX"));
    if (!out.open())
        copyFailed(source, target, copyFailureReason(source, target, out) + QLatin1Char('.'));
    QByteArray block(256 * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 got = in.read(block.data(), block.size());
        if (got < 0)
            copyFailed(source, target, in.errorString() + QLatin1Char('.'));
        if (got == 0)
            break;
        if (out.write(block.constData(), got) != got)
            writeFailed(source, target, out, errno);
    }
    if (!out.flush())
        writeFailed(source, target, out, errno);
    out.setPermissions(in.permissions() | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    // Renaming never replaces a file that appeared meanwhile.
    if (!out.rename(target))
        copyFailed(source, target,
                   exists(target) ? QStringLiteral("o arquivo de destino já existe.")
                                  : out.errorString() + QLatin1Char('.'));
    out.setAutoRemove(false); // it is the badge now
}

bool remove(const QString& path) {
    return !path.isEmpty() && QFile::remove(path);
}

bool trash(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // The home trash lives in the user's data folder, which a fresh account may lack.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
#endif
    return QFile::moveToTrash(path) || QFile::remove(path);
}

void ensureDir(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir())
        return;
    if (info.exists())
        fail(QStringLiteral("Não foi possível criar a pasta \"%1\": já existe um arquivo com "
                            "esse nome.")
                 .arg(path));
    if (path.isEmpty() || !QDir().mkpath(path))
        fail(QStringLiteral("Não foi possível criar a pasta \"%1\".").arg(path));
}

QString fileName(const QString& path) {
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(cut + 1);
}

} // namespace velmora::files
