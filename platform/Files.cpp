#include "platform/Files.h"

#include "store/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

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

} // namespace

bool exists(const QString& path) {
    return !path.isEmpty() && QFileInfo::exists(path);
}

void copyNoOverwrite(const QString& source, const QString& target) {
    if (exists(target))
        fail(QStringLiteral("O arquivo de destino já existe: %1").arg(target));
    QFile file(source);
    // QFile::copy never replaces an existing target, so a file that appears
    // meanwhile is not overwritten either.
    if (!file.copy(target))
        fail(QStringLiteral("Não foi possível copiar o arquivo \"%1\" para \"%2\": %3.")
                 .arg(source, target, copyFailureReason(source, target, file)));
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
