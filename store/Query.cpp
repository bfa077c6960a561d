#include "store/Query.h"

#include "store/Database.h"
#include "store/Dialect.h"
#include "store/FastPaths.h"
#include "store/StoreError.h"

#include <QSqlError>
#include <QSqlRecord>

namespace velmora {

namespace {

QString normalName(const QString& name) {
    return name.startsWith(QLatin1Char(':')) ? name.mid(1) : name;
}

QString asText(const QVariant& value) {
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Double:
        return QString::number(value.toDouble(), 'g', 17);
    case QMetaType::QByteArray:
        return QString::fromUtf8(value.toByteArray());
    default:
        return value.toString();
    }
}

} // namespace

Query::Param::Param(QString name, const QString& text)
    // A null QString would bind NULL; the program's empty text is an empty string.
    : name(std::move(name)), value(text.isNull() ? QString(QLatin1String("")) : text) {}

Query::Param::Param(QString name, qint64 number) : name(std::move(name)), value(number) {}

Query::Query(Database& db, QString objectName) : db_(db), name_(std::move(objectName)) {}

Query::~Query() = default;

void Query::close() {
    query_.reset(); // finishes the statement, so it holds no read lock
    row_.clear();
    ahead_.clear();
    position_ = 0;
    columns_.clear();
    open_ = false;
    eof_ = true;
    empty_ = true;
    rowCount_ = -1;
}

void Query::clear() {
    close();
    lines_.clear();
    named_ = {};
    bindings_.clear();
}

void Query::add(const QString& line) {
    lines_.append(line);
    named_ = {}; // lines of its own: the statement as written
}

void Query::bind(const QString& name, const QVariant& value) {
    const QString key = normalName(name);
    for (auto& binding : bindings_) {
        if (binding.first.compare(key, Qt::CaseInsensitive) == 0) {
            binding.second = value;
            return;
        }
    }
    bindings_.append({key, value});
}

void Query::bindText(const QString& name, const QString& value) {
    const Param param(name, value);
    bind(param.name, param.value);
}

void Query::bindInt(const QString& name, qint64 value) {
    bind(name, value);
}

QString Query::statement() const {
    QString text = lines_.join(QLatin1Char('\n')).trimmed();
    while (text.endsWith(QLatin1Char(';')))
        text.chop(1);
    return text;
}

StoreError Query::failure(const QString& why) const {
    // The statement that ran: the shortcut's equivalent, when it was taken.
    const QStringList& ran = ranLines_.isEmpty() ? lines_ : ranLines_;
    QString text = ran.join(QLatin1Char('\n')).trimmed();
    if (!named_.name().isEmpty())
        text = (shortcut_ ? QStringLiteral("%1 (pelo atalho):\n%2") : QStringLiteral("%1:\n%2"))
                   .arg(named_.name(), text);
    return StoreError(QStringLiteral("%1\n%2").arg(why, text));
}

void Query::plan() {
    ranLines_ = lines_;
    ranBindings_ = bindings_;
    shortcut_ = false;
    if (named_.shortcut() == Shortcut::None)
        return;
    if (db_.fastPaths()) {
        std::optional<FastPaths::Plan> plan;
        try {
            plan = db_.shortcuts().choose(named_, bindings_);
        } catch (const StoreError& e) {
            // What the shortcut looked up failed: named as the shortcut's failure.
            shortcut_ = true;
            throw failure(e.text());
        }
        if (plan) {
            ranLines_ = plan->lines;
            ranBindings_ += plan->added;
            shortcut_ = true;
        }
    }
    db_.ran(named_, shortcut_);
}

std::unique_ptr<QSqlQuery> Query::prepared(const QString& wrapper) const {
    QString text = ranLines_.join(QLatin1Char('\n')).trimmed();
    while (text.endsWith(QLatin1Char(';')))
        text.chop(1);
    const Dialect::Prepared p = Dialect::prepare(text);
    QVariantList values;
    for (const QString& parameter : p.parameters) {
        const auto found =
            std::find_if(ranBindings_.begin(), ranBindings_.end(), [&](const auto& binding) {
                return binding.first.compare(parameter, Qt::CaseInsensitive) == 0;
            });
        if (found == ranBindings_.end())
            throw failure(QStringLiteral("Parâmetro sem valor: :%1").arg(parameter));
        values << found->second;
    }
    auto query = std::make_unique<QSqlQuery>(db_.handle());
    query->setForwardOnly(true);
    if (!query->prepare(wrapper.isEmpty() ? p.sql : wrapper.arg(p.sql)))
        throw failure(engineMessage(db_.handle(), query->lastError()));
    for (const QVariant& value : values)
        query->addBindValue(value);
    return query;
}

bool Query::isSelect() const {
    const QString text = statement().trimmed();
    return text.startsWith(QLatin1String("select"), Qt::CaseInsensitive) ||
           text.startsWith(QLatin1String("with"), Qt::CaseInsensitive);
}

void Query::execute() {
    // A select is only checked here: running it twice would cost a whole listing.
    plan();
    std::unique_ptr<QSqlQuery> query = prepared();
    if (isSelect())
        return;
    if (!query->exec())
        throw failure(engineMessage(db_.handle(), query->lastError()));
}

void Query::open() {
    close();
    plan();
    std::unique_ptr<QSqlQuery> query = prepared();
    if (!query->exec())
        throw failure(engineMessage(db_.handle(), query->lastError()));
    // Another connection wrote since the shortcut was chosen: choose it again, now
    // that this connection has seen the write.
    if (shortcut_ && !db_.shortcuts().current()) {
        query.reset();
        db_.shortcuts().forget();
        plan();
        query = prepared();
        if (!query->exec())
            throw failure(engineMessage(db_.handle(), query->lastError()));
    }
    const QSqlRecord record = query->record();
    for (int i = 0; i < record.count(); ++i)
        columns_ << record.fieldName(i);
    query_ = std::move(query);
    open_ = true;
    // Read lazily, a few rows at a time: a long listing opens as fast as a short one.
    readAhead();
    if (ahead_.isEmpty()) {
        row_ = QVector<QString>(columns_.size());
        return;
    }
    empty_ = false;
    eof_ = false;
    row_ = ahead_.takeFirst();
}

void Query::readAhead() {
    if (!query_)
        return;
    for (int n = 0; n < readAheadRows; ++n) {
        if (!query_->next()) {
            if (query_->lastError().isValid())
                throw failure(engineMessage(db_.handle(), query_->lastError()));
            query_.reset();
            return;
        }
        QVector<QString> row(columns_.size());
        for (int i = 0; i < columns_.size(); ++i)
            row[i] = asText(query_->value(i));
        ahead_.append(std::move(row));
    }
}

void Query::run(const Statement& statement, const Params& params) {
    clear();
    lines_ = statement.lines();
    named_ = statement;
    for (const Param& param : params)
        bind(param.name, param.value);
    // Opening a select checks it as execute() would; checking it twice would only
    // cost a second prepare.
    if (isSelect())
        open();
    else
        execute();
}

bool Query::isOpen() const {
    return open_;
}
bool Query::eof() const {
    return eof_;
}
bool Query::isEmpty() const {
    return empty_;
}

void Query::next() {
    if (!open_ || eof_)
        return;
    if (ahead_.isEmpty())
        readAhead();
    if (ahead_.isEmpty()) {
        eof_ = true; // the last row stays current
        return;
    }
    row_ = ahead_.takeFirst();
    ++position_;
}

int Query::rowCount() {
    if (!open_)
        return 0;
    if (rowCount_ < 0) {
        if (empty_) {
            rowCount_ = 0;
        } else if (!query_) {
            rowCount_ = position_ + 1 + int(ahead_.size());
        } else {
            // Counted by a second statement, the one that runs: the open listing is not
            // read ahead.
            std::unique_ptr<QSqlQuery> count =
                prepared(QStringLiteral("select count(*) from (%1)"));
            if (!count->exec() || !count->next())
                throw failure(engineMessage(db_.handle(), count->lastError()));
            rowCount_ = count->value(0).toInt();
        }
    }
    return rowCount_;
}

QStringList Query::queryPlan() const {
    std::unique_ptr<QSqlQuery> explain = prepared(QStringLiteral("explain query plan %1"));
    if (!explain->exec())
        throw failure(engineMessage(explain->lastError()));
    QStringList steps;
    while (explain->next())
        steps << explain->value(3).toString();
    return steps;
}

QString Query::field(int column) const {
    if (column < 0 || column >= row_.size())
        return {};
    return row_[column];
}

QString Query::fieldByName(const QString& column) const {
    for (int i = 0; i < columns_.size(); ++i) {
        if (columns_[i].compare(column, Qt::CaseInsensitive) == 0)
            return field(i);
    }
    throw failure(QStringLiteral("Coluna não encontrada no resultado: %1").arg(column));
}

int Query::columnCount() const {
    return int(columns_.size());
}

} // namespace velmora
