#include "store/Dialect.h"

#include "store/Schema.h"
#include "store/StoreError.h"

#include <QHash>
#include <QMutex>

namespace velmora {

namespace {

bool isWordStart(QChar c) {
    return c.isLetter() || c == QLatin1Char('_');
}
bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

bool isAscii(const QString& s) {
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c.unicode() < 128; });
}

QString sqlLiteral(const QString& text) {
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QLatin1String("''")) +
           QLatin1Char('\'');
}

// The declared spelling of a field whose name differs from `word` only in letter
// case beyond ASCII; `word` itself otherwise.
QString declaredField(const QString& word) {
    if (isAscii(word))
        return word;
    for (const TableDef& table : Schema::tables()) {
        for (const FieldDef& field : table.fields) {
            if (field.name.compare(word, Qt::CaseInsensitive) == 0)
                return field.name;
        }
    }
    return word;
}

// Length of the table-file suffix (".db", any case) at `pos`, or 0.
qsizetype dbSuffix(const QString& sql, qsizetype pos) {
    if (pos + 3 > sql.size() || sql[pos] != QLatin1Char('.') ||
        sql.mid(pos + 1, 2).compare(QLatin1String("db"), Qt::CaseInsensitive) != 0)
        return 0;
    if (pos + 3 < sql.size() && isWordChar(sql[pos + 3]))
        return 0;
    return 3;
}

class Translator final {
public:
    Translator(const QString& sql, bool positional) : in_(sql), positional_(positional) {}

    Dialect::Prepared run() {
        while (i_ < in_.size()) {
            const QChar c = in_[i_];
            if (c == QLatin1Char('\''))
                copySingleQuoted();
            else if (c == QLatin1Char('"'))
                convertDoubleQuoted();
            else if (c == QLatin1Char(':') && i_ + 1 < in_.size() && isWordChar(in_[i_ + 1]))
                parameter();
            else if (c == QLatin1Char('-') && in_.mid(i_, 2) == QLatin1String("--"))
                copyComment();
            else if (isWordStart(c))
                word();
            else if (c.isDigit())
                number();
            else
                out_.sql += in_[i_++];
        }
        return out_;
    }

private:
    void copySingleQuoted() {
        const qsizetype start = i_++;
        while (i_ < in_.size()) {
            if (in_[i_++] == QLatin1Char('\'')) {
                if (i_ < in_.size() && in_[i_] == QLatin1Char('\''))
                    ++i_; // '' inside the literal
                else
                    break;
            }
        }
        out_.sql += in_.mid(start, i_ - start);
    }

    // "Brasil" -> 'Brasil'; "" inside stands for one double quote.
    void convertDoubleQuoted() {
        QString text;
        ++i_;
        for (;;) {
            if (i_ >= in_.size())
                throw StoreError(
                    QStringLiteral("Texto entre aspas sem fechamento no comando:\n%1").arg(in_));
            const QChar c = in_[i_++];
            if (c == QLatin1Char('"')) {
                if (i_ < in_.size() && in_[i_] == QLatin1Char('"')) {
                    text += c;
                    ++i_;
                    continue;
                }
                break;
            }
            text += c;
        }
        out_.sql += sqlLiteral(text);
    }

    void parameter() {
        const qsizetype start = ++i_;
        while (i_ < in_.size() && isWordChar(in_[i_]))
            ++i_;
        const QString name = in_.mid(start, i_ - start);
        out_.parameters << name;
        out_.sql += positional_ ? QStringLiteral("?") : QLatin1Char(':') + name;
    }

    void copyComment() {
        const qsizetype end = in_.indexOf(QLatin1Char('\n'), i_);
        const qsizetype stop = end < 0 ? in_.size() : end;
        out_.sql += in_.mid(i_, stop - i_);
        i_ = stop;
    }

    void word() {
        const qsizetype start = i_;
        while (i_ < in_.size() && isWordChar(in_[i_]))
            ++i_;
        const QString w = in_.mid(start, i_ - start);
        if (const qsizetype suffix = dbSuffix(in_, i_)) {
            const QString file = w + in_.mid(i_, suffix);
            i_ += suffix;
            out_.sql += Schema::table(file).name; // throws for an unknown table file
            return;
        }
        out_.sql += declaredField(w);
    }

    void number() {
        const qsizetype start = i_;
        while (i_ < in_.size() && (isWordChar(in_[i_]) || in_[i_] == QLatin1Char('.')))
            ++i_;
        out_.sql += in_.mid(start, i_ - start);
    }

    const QString& in_;
    bool positional_;
    qsizetype i_ = 0;
    Dialect::Prepared out_;
};

// Statements repeat (every activation recounts); translate each text once.
class Cache final {
public:
    Dialect::Prepared get(const QString& sql, bool positional) {
        const QString key = (positional ? QLatin1Char('?') : QLatin1Char(':')) + sql;
        QMutexLocker lock(&mutex_);
        if (const auto it = entries_.constFind(key); it != entries_.constEnd())
            return *it;
        lock.unlock();
        Dialect::Prepared result = Translator(sql, positional).run();
        lock.relock();
        if (entries_.size() >= maxEntries)
            entries_.clear();
        entries_.insert(key, result);
        return result;
    }

private:
    static constexpr qsizetype maxEntries = 1024;
    QMutex mutex_;
    QHash<QString, Dialect::Prepared> entries_;
};

Cache& cache() {
    static Cache instance;
    return instance;
}

} // namespace

QString Dialect::translate(const QString& localSql) {
    return cache().get(localSql, false).sql;
}

Dialect::Prepared Dialect::prepare(const QString& localSql) {
    return cache().get(localSql, true);
}

} // namespace velmora
