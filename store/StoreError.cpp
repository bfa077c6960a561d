#include "store/StoreError.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <cerrno>
#include <sqlite3.h>

namespace velmora {

namespace {

// What each engine failure means to the user and what to do about it.
QString advice(int code) {
    switch (code & 0xff) { // extended codes share their primary code's low byte
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("O arquivo de dados está bloqueado por outro programa. Feche o "
                              "programa que o está usando (outra cópia do Velmora, um "
                              "programa de cópia de segurança) e tente de novo.");
    case SQLITE_FULL:
        return diskFullText();
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("O arquivo de dados não pode ser gravado (somente leitura ou sem "
                              "permissão). Dê permissão de gravação à pasta de dados e ao "
                              "arquivo Velmora.sqlite e tente de novo.");
    case SQLITE_IOERR:
        return QStringLiteral("Falha de leitura ou gravação no disco. Verifique se o disco "
                              "está conectado e sem defeitos e tente de novo.");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return QStringLiteral("O arquivo de dados está danificado. Restaure a cópia de "
                              "segurança da pasta de dados.");
    case SQLITE_CANTOPEN:
        return QStringLiteral("Não foi possível abrir o arquivo de dados. Verifique se a pasta "
                              "de dados existe e pode ser lida e gravada.");
    case SQLITE_NOMEM:
        return QStringLiteral("Falta memória para concluir a operação. Feche outros programas "
                              "e tente de novo.");
    case SQLITE_TOOBIG:
        return QStringLiteral("Um dos valores é grande demais para o arquivo de dados. Use um "
                              "texto ou uma imagem menor.");
    case SQLITE_CONSTRAINT:
        return QStringLiteral("O registro fere uma regra do arquivo de dados (um valor "
                              "repetido ou obrigatório). Confira os dados e tente de novo.");
    default:
        break;
    }
    return QStringLiteral("O banco de dados recusou a operação. Anote a mensagem abaixo e "
                          "verifique a pasta de dados com velmora-datadir check.");
}

} // namespace

bool isDiskFullErrno(int systemError) {
    return systemError == ENOSPC || systemError == EDQUOT || systemError == EFBIG;
}

bool isDiskFull(int engineCode, int systemError) {
    const int primary = engineCode & 0xff;
    return primary == SQLITE_FULL || (primary == SQLITE_IOERR && isDiskFullErrno(systemError));
}

QString diskFullText() {
    return QStringLiteral("O disco está cheio: não há espaço para gravar os dados. Libere "
                          "espaço no disco (apague ou mova arquivos que não usa, esvazie a "
                          "lixeira) e tente de novo.");
}

QString engineMessage(int code, const QString& engineText, int systemError) {
    const QString what = isDiskFull(code, systemError) ? diskFullText() : advice(code);
    const QString details = engineText.trimmed();
    if (details.isEmpty())
        return what;
    return QStringLiteral("%1\n(Mensagem do banco de dados: %2)").arg(what, details);
}

namespace {

QString engineWords(const QSqlError& error) {
    return error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
}

} // namespace

QString engineMessage(const QSqlError& error) {
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric);
    return engineMessage(numeric ? code : SQLITE_ERROR, engineWords(error));
}

QString engineMessage(const QSqlDatabase& db, const QSqlError& error) {
    sqlite3* handle = engineHandle(db);
    bool numeric = false;
    int code = error.nativeErrorCode().toInt(&numeric);
    // A failed commit reaches us without its code; the connection still has it.
    if (!numeric)
        code = handle ? sqlite3_extended_errcode(handle) : SQLITE_ERROR;
    const int systemError = handle ? sqlite3_system_errno(handle) : 0;
    return engineMessage(code, engineWords(error), systemError);
}

sqlite3* engineHandle(const QSqlDatabase& db) {
    if (!db.isValid() || !db.driver())
        return nullptr;
    const QVariant v = db.driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(v.constData());
}

QSqlQuery runStatement(QSqlDatabase& db, const QString& sql, const QVariantList& values) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    const auto fail = [&] {
        throw StoreError(QStringLiteral("%1\n%2").arg(engineMessage(db, query.lastError()), sql));
    };
    if (values.isEmpty()) {
        if (!query.exec(sql))
            fail();
        return query;
    }
    if (!query.prepare(sql))
        fail();
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        fail();
    return query;
}

} // namespace velmora
