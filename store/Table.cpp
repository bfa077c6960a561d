#include "store/Table.h"

#include "store/Database.h"
#include "store/StoreError.h"

#include <QSqlError>
#include <QSqlQuery>
#include <limits>

namespace velmora {

namespace {

QString quoted(const QString& identifier) {
    return QLatin1Char('"') + QString(identifier).replace(QLatin1Char('"'), QLatin1String("\"\"")) +
           QLatin1Char('"');
}

} // namespace

// Statements prepared once per table; rowid is the key (Codigo is the rowid of Clubes).
struct Table::Impl {
    explicit Impl(Database& db, const TableDef& def) {
        QStringList columns, marks, assignments;
        for (const FieldDef& field : def.fields) {
            columns << quoted(field.name);
            marks << QStringLiteral("?");
            assignments << quoted(field.name) + QLatin1String(" = ?");
        }
        const QString table = quoted(def.name);
        const QString select = QStringLiteral("select rowid, %1 from %2 ")
                                   .arg(columns.join(QLatin1String(", ")), table);
        auto make = [&](const QString& sql) {
            auto query = std::make_unique<QSqlQuery>(db.handle());
            query->setForwardOnly(true);
            if (!query->prepare(sql))
                throw StoreError(QStringLiteral("%1\n%2").arg(
                    engineMessage(db.handle(), query->lastError()), sql));
            return query;
        };
        moves[int(Move::First)] = make(select + QLatin1String("order by rowid limit 1"));
        moves[int(Move::Last)] = make(select + QLatin1String("order by rowid desc limit 1"));
        moves[int(Move::After)] =
            make(select + QLatin1String("where rowid > ? order by rowid limit 1"));
        moves[int(Move::Before)] =
            make(select + QLatin1String("where rowid < ? order by rowid desc limit 1"));
        moves[int(Move::At)] = make(select + QLatin1String("where rowid = ?"));
        insertSql =
            QStringLiteral("insert into %1 (%2) values (%3)")
                .arg(table, columns.join(QLatin1String(", ")), marks.join(QLatin1String(", ")));
        updateSql = QStringLiteral("update %1 set %2 where rowid = ?")
                        .arg(table, assignments.join(QLatin1String(", ")));
        deleteSql = QStringLiteral("delete from %1 where rowid = ?").arg(table);
        countSql = Schema::countStatement(def);
    }

    // A club's insert and update carry every trigger on Clubes, which the engine compiles
    // into the statement: prepared on first use and kept, not made again for each save.
    QSqlQuery& writing(Database& db, bool inserting, const QString& fileName) {
        std::unique_ptr<QSqlQuery>& kept = inserting ? insert : update;
        if (!kept) {
            auto query = std::make_unique<QSqlQuery>(db.handle());
            if (!query->prepare(inserting ? insertSql : updateSql))
                throw StoreError(QStringLiteral("%1 (%2)").arg(
                    engineMessage(db.handle(), query->lastError()), fileName));
            kept = std::move(query);
        }
        return *kept;
    }

    std::unique_ptr<QSqlQuery> moves[5];
    std::unique_ptr<QSqlQuery> insert, update;
    QString insertSql, updateSql, deleteSql, countSql;
};

Table::Table(Database& db, const TableDef& def, QString objectName)
    : db_(db), def_(def), d_(std::make_unique<Impl>(db, def)) {
    setObjectName(objectName);
}

Table::~Table() = default;

bool Table::load(Move move, qint64 key) {
    QSqlQuery& query = *d_->moves[int(move)];
    if (move == Move::After || move == Move::Before || move == Move::At)
        query.bindValue(0, key);
    if (!query.exec())
        throw StoreError(QStringLiteral("%1 (%2)").arg(
            engineMessage(db_.handle(), query.lastError()), def_.fileName));
    const bool found = query.next();
    if (found) {
        key_ = query.value(0).toLongLong();
        current_.resize(def_.fields.size());
        for (int i = 0; i < def_.fields.size(); ++i)
            current_[i] = query.value(i + 1);
        hasRow_ = true;
    }
    query.finish(); // no read lock left behind
    return found;
}

void Table::clearRow() {
    hasRow_ = false;
    key_ = 0;
    current_ = QVector<QVariant>(def_.fields.size());
}

void Table::requireBrowse(const char* action) const {
    if (state_ != State::Browse)
        throw StoreError(QStringLiteral("Grave ou cancele o registro pendente de %1 antes de %2.")
                             .arg(def_.fileName, QString::fromUtf8(action)));
}

void Table::setState(State state) {
    if (state_ == state)
        return;
    state_ = state;
    emit stateChanged();
}

void Table::first() {
    requireBrowse("mudar de registro");
    if (!load(Move::First))
        clearRow();
    bof_ = true;
    eof_ = !hasRow_;
    emit rowChanged();
}

void Table::last() {
    requireBrowse("mudar de registro");
    if (!load(Move::Last))
        clearRow();
    eof_ = true;
    bof_ = !hasRow_;
    emit rowChanged();
}

void Table::next() {
    requireBrowse("mudar de registro");
    if (hasRow_ && load(Move::After, key_)) {
        bof_ = eof_ = false;
        emit rowChanged();
    } else {
        eof_ = true;
    }
}

bool Table::seek(qint64 key) {
    requireBrowse("mudar de registro");
    if (!load(Move::At, key))
        return false;
    bof_ = eof_ = false;
    emit rowChanged();
    return true;
}

void Table::prior() {
    requireBrowse("mudar de registro");
    if (hasRow_ && load(Move::Before, key_)) {
        bof_ = eof_ = false;
        emit rowChanged();
    } else {
        bof_ = true;
    }
}

bool Table::bof() const {
    return bof_;
}
bool Table::eof() const {
    return eof_;
}

bool Table::atFirst() const {
    if (!hasRow_)
        return true;
    QSqlQuery& query = *d_->moves[int(Move::Before)];
    query.bindValue(0, key_);
    const bool none = !query.exec() || !query.next();
    query.finish();
    return none;
}

bool Table::atLast() const {
    if (!hasRow_)
        return true;
    QSqlQuery& query = *d_->moves[int(Move::After)];
    query.bindValue(0, key_);
    const bool none = !query.exec() || !query.next();
    query.finish();
    return none;
}

int Table::rowCount() const {
    const auto stamp = db_.changeStamp();
    if (rowCount_ < 0 || stamp != countStamp_) {
        const QVariant count = db_.value(d_->countSql);
        rowCount_ = count.toInt();
        countStamp_ = stamp;
    }
    return rowCount_;
}

int Table::fieldIndex(const QString& field) const {
    for (int i = 0; i < def_.fields.size(); ++i) {
        if (def_.fields[i].name.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    }
    throw StoreError(QStringLiteral("Campo não encontrado em %1: %2").arg(def_.fileName, field));
}

QString Table::fieldText(const QString& field) const {
    const int i = fieldIndex(field);
    const QVector<QVariant>& row = state_ == State::Browse ? current_ : buffer_;
    if (i >= row.size() || row[i].isNull())
        return {};
    if (def_.fields[i].type == FieldType::Integer)
        return QString::number(row[i].toLongLong());
    return row[i].toString();
}

QVariant Table::parse(const FieldDef& field, const QString& text) const {
    if (field.type == FieldType::Integer) {
        const QString digits = text.trimmed();
        if (digits.isEmpty())
            return QVariant(QMetaType(QMetaType::LongLong));
        bool ok = false;
        const qint64 value = digits.toLongLong(&ok);
        if (!ok || value < std::numeric_limits<qint32>::min() ||
            value > std::numeric_limits<qint32>::max())
            throw StoreError(
                QStringLiteral("O campo %1 deve ser um número inteiro.").arg(field.name));
        return value;
    }
    // Width in characters, as the user counts them (a surrogate pair is one).
    if (text.toUcs4().size() > field.width)
        throw StoreError(QStringLiteral("O campo %1 aceita no máximo %2 caracteres.")
                             .arg(field.name)
                             .arg(field.width));
    return text.isNull() ? QString(QLatin1String("")) : text;
}

void Table::setFieldText(const QString& field, const QString& text) {
    const int i = fieldIndex(field);
    if (state_ == State::Browse)
        throw StoreError(QStringLiteral("O registro de %1 não está em inclusão ou alteração; "
                                        "o campo %2 não pode ser alterado.")
                             .arg(def_.fileName, def_.fields[i].name));
    buffer_[i] = parse(def_.fields[i], text);
    emit rowChanged();
}

void Table::append() {
    requireBrowse("incluir outro");
    savedKey_ = key_;
    savedHasRow_ = hasRow_;
    buffer_ = QVector<QVariant>(def_.fields.size());
    for (int i = 0; i < def_.fields.size(); ++i) {
        if (def_.fields[i].type == FieldType::Integer)
            buffer_[i] = QVariant(QMetaType(QMetaType::LongLong));
    }
    setState(State::Insert);
    emit rowChanged();
}

void Table::edit() {
    if (state_ != State::Browse)
        return;
    if (!hasRow_)
        throw StoreError(QStringLiteral("Não há registro para alterar em %1.").arg(def_.fileName));
    buffer_ = current_;
    setState(State::Edit);
}

void Table::post() {
    if (state_ == State::Browse)
        return;
    const bool inserting = state_ == State::Insert;
    QSqlQuery& query = d_->writing(db_, inserting, def_.fileName);
    int at = 0;
    for (const QVariant& value : buffer_)
        query.bindValue(at++, value);
    if (!inserting)
        query.bindValue(at, key_);

    Transaction transaction(db_);
    if (!query.exec()) {
        const QString why = engineMessage(db_.handle(), query.lastError());
        query.finish(); // kept for the next save: reset before the rollback
        if (why.contains(QLatin1String("UNIQUE constraint failed"), Qt::CaseInsensitive))
            throw StoreError(QStringLiteral("Já existe em %1 um registro com o código %2.")
                                 .arg(def_.fileName, buffer_.value(0).toString()));
        throw StoreError(QStringLiteral("%1 (%2)").arg(why, def_.fileName));
    }
    const bool stored = inserting || query.numRowsAffected() == 1;
    const qint64 inserted = inserting ? query.lastInsertId().toLongLong() : 0;
    query.finish();
    if (!stored)
        throw StoreError(
            QStringLiteral("O registro em alteração não existe mais em %1.").arg(def_.fileName));
    qint64 key = key_;
    if (inserting)
        key = inserted;
    else if (def_.name == QLatin1String("Clubes") && !buffer_[0].isNull())
        key = buffer_[0].toLongLong(); // Codigo is the rowid of Clubes
    transaction.commit();

    invalidateCount();
    setState(State::Browse);
    if (!load(Move::At, key))
        clearRow();
    bof_ = eof_ = !hasRow_;
    emit rowChanged();
}

void Table::cancel() {
    if (state_ == State::Browse)
        return;
    const bool inserting = state_ == State::Insert;
    buffer_.clear();
    setState(State::Browse);
    if (inserting) {
        // Back to the row that was current before the append (or the first, if it is gone).
        if (!(savedHasRow_ && load(Move::At, savedKey_)) && !load(Move::First))
            clearRow();
    }
    emit rowChanged();
}

void Table::standAfterRemoval(qint64 goneKey) {
    if (!load(Move::After, goneKey) && !load(Move::Before, goneKey))
        clearRow();
    bof_ = eof_ = !hasRow_;
}

void Table::remove() {
    if (state_ == State::Insert) {
        cancel(); // removing a row never stored is dropping it
        return;
    }
    if (!hasRow_)
        throw StoreError(QStringLiteral("Não há registro para excluir em %1.").arg(def_.fileName));
    QSqlQuery query(db_.handle());
    Transaction transaction(db_);
    if (!query.prepare(d_->deleteSql))
        throw StoreError(QStringLiteral("%1 (%2)").arg(
            engineMessage(db_.handle(), query.lastError()), def_.fileName));
    query.addBindValue(key_);
    if (!query.exec())
        throw StoreError(QStringLiteral("%1 (%2)").arg(
            engineMessage(db_.handle(), query.lastError()), def_.fileName));
    query.finish();
    transaction.commit();

    invalidateCount();
    buffer_.clear();
    setState(State::Browse);
    standAfterRemoval(key_);
    emit rowChanged();
}

void Table::refresh() {
    invalidateCount();
    if (state_ != State::Browse)
        return;
    if (hasRow_ && !load(Move::At, key_))
        standAfterRemoval(key_);
    emit rowChanged();
}

DataSource::DataSource(Table& table, QString objectName) : table_(table) {
    setObjectName(objectName);
    connect(&table_, &Table::rowChanged, this, &DataSource::rowChanged);
    connect(&table_, &Table::stateChanged, this, &DataSource::stateChanged);
}

} // namespace velmora
