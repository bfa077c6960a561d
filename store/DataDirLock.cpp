#include "store/DataDirLock.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace velmora {

DataDirLock::DataDirLock(const QString& dataDir) : dataDir_(QDir::cleanPath(dataDir)) {
    if (dataDir.isEmpty() || !QFileInfo(dataDir_).isDir())
        return;
    lock_ = std::make_unique<QLockFile>(QDir(dataDir_).filePath(QString::fromLatin1(fileName)));
    // A live holder keeps the folder however long it runs; only a dead one loses it.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) {
        outcome_ = Outcome::Locked;
        return;
    }
    outcome_ =
        lock_->error() == QLockFile::LockFailedError ? Outcome::AlreadyOpen : Outcome::CannotLock;
    lock_.reset();
}

DataDirLock::~DataDirLock() = default;

QString DataDirLock::message() const {
    // On a line of its own: the message box keeps a path whole.
    const QString folder = QDir::toNativeSeparators(dataDir_);
    switch (outcome_) {
    case Outcome::AlreadyOpen:
        return QStringLiteral("O Velmora já está aberto com a pasta de dados\n%1\n"
                              "Use a janela que já está aberta: só um Velmora pode usar a "
                              "pasta de dados de cada vez.")
            .arg(folder);
    case Outcome::CannotLock:
        return QStringLiteral("Não foi possível gravar na pasta de dados\n%1\n"
                              "Dê permissão de gravação à pasta e abra o Velmora de novo.")
            .arg(folder);
    case Outcome::Locked:
    case Outcome::NoFolder:
        break;
    }
    return {};
}

} // namespace velmora
