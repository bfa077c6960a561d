#include "store/StoreError.h"

#include <QSqlError>
#include <QSqlQuery>
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
        return QStringLiteral("O disco está cheio: não há espaço para gravar os dados. Libere "
                              "espaço no disco e tente de novo.");
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

QString engineMessage(int code, const QString& engineText) {
    const QString details = engineText.trimmed();
    if (details.isEmpty())
        return advice(code);
    return QStringLiteral("%1\n(Mensagem do banco de dados: %2)").arg(advice(code), details);
}

QString engineMessage(const QSqlError& error) {
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric);
    const QString words =
        error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
    return engineMessage(numeric ? code : SQLITE_ERROR, words);
}

QSqlQuery runStatement(QSqlDatabase& db, const QString& sql, const QVariantList& values) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    const auto fail = [&] {
        throw StoreError(QStringLiteral("%1\n%2").arg(engineMessage(query.lastError()), sql));
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
