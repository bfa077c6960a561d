#include "tools/datadir/Csv.h"

#include <QStringDecoder>

namespace velmora::datadir::csv {

namespace {

const QChar quote = QLatin1Char('"');
const QChar cr = QLatin1Char('\r');
const QChar lf = QLatin1Char('\n');

bool isLineEnd(QChar c) {
    return c == cr || c == lf;
}

// Splits decoded text into records. A broken record is listed and skipped up to its
// line end, so every bad line of a file is reported in one run.
class Parser final {
public:
    Parser(QStringView text, QChar separator) : text_(text), sep_(separator) {}

    void run(Table& table) {
        while (pos_ < text_.size()) {
            Record record;
            record.line = line_;
            QString reason;
            if (readRecord(record.fields, reason)) {
                if (!(record.fields.size() == 1 && record.fields.first().isEmpty()))
                    table.records.append(std::move(record));
            } else {
                table.errors.append({record.line, reason});
                skipToLineEnd();
            }
        }
    }

private:
    bool readRecord(QStringList& fields, QString& reason) {
        for (;;) {
            QString field;
            if (!readField(field, reason))
                return false;
            fields.append(std::move(field));
            if (pos_ >= text_.size())
                return true;
            const QChar c = text_[pos_];
            if (c == sep_) {
                ++pos_;
                continue;
            }
            endLine();
            return true;
        }
    }

    bool readField(QString& field, QString& reason) {
        if (pos_ < text_.size() && text_[pos_] == quote)
            return readQuoted(field, reason);
        const qsizetype start = pos_;
        while (pos_ < text_.size() && text_[pos_] != sep_ && !isLineEnd(text_[pos_])) {
            if (text_[pos_] == quote) {
                reason = QStringLiteral("aspas no meio de um campo sem aspas (um campo com "
                                        "aspas deve começar com aspas e tê-las dobradas)");
                return false;
            }
            ++pos_;
        }
        field = text_.mid(start, pos_ - start).toString();
        return true;
    }

    bool readQuoted(QString& field, QString& reason) {
        const int startLine = line_;
        ++pos_; // opening quote
        for (;;) {
            const qsizetype next = text_.indexOf(quote, pos_);
            if (next < 0) {
                countLines(pos_, text_.size());
                pos_ = text_.size();
                reason = QStringLiteral("aspas abertas na linha %1 nunca se fecham").arg(startLine);
                return false;
            }
            countLines(pos_, next);
            field += text_.mid(pos_, next - pos_);
            pos_ = next + 1;
            if (pos_ < text_.size() && text_[pos_] == quote) {
                field += quote; // a doubled quote stands for one
                ++pos_;
                continue;
            }
            if (pos_ < text_.size() && text_[pos_] != sep_ && !isLineEnd(text_[pos_])) {
                reason = QStringLiteral("texto depois das aspas que fecham um campo");
                return false;
            }
            return true;
        }
    }

    void countLines(qsizetype from, qsizetype to) {
        for (qsizetype i = from; i < to; ++i)
            if (text_[i] == lf || (text_[i] == cr && (i + 1 >= text_.size() || text_[i + 1] != lf)))
                ++line_;
    }

    // Consumes one line end: CRLF, LF or a lone CR.
    void endLine() {
        if (pos_ < text_.size() && text_[pos_] == cr)
            ++pos_;
        if (pos_ < text_.size() && text_[pos_] == lf)
            ++pos_;
        ++line_;
    }

    void skipToLineEnd() {
        while (pos_ < text_.size() && !isLineEnd(text_[pos_]))
            ++pos_;
        if (pos_ < text_.size())
            endLine();
    }

    QStringView text_;
    QChar sep_;
    qsizetype pos_ = 0;
    int line_ = 1;
};

// ';' unless the first line holds a ',' outside quotes and no ';'.
QChar detectSeparator(QStringView text) {
    bool quoted = false;
    int semicolons = 0, commas = 0;
    for (const QChar c : text) {
        if (c == quote)
            quoted = !quoted;
        else if (!quoted && isLineEnd(c))
            break;
        else if (!quoted && c == QLatin1Char(';'))
            ++semicolons;
        else if (!quoted && c == QLatin1Char(','))
            ++commas;
    }
    return commas > semicolons ? QLatin1Char(',') : QLatin1Char(';');
}

// The lines whose bytes are not UTF-8, each named by its number.
QList<LineError> invalidUtf8Lines(const QByteArray& data) {
    QList<LineError> errors;
    int line = 1;
    for (const QByteArray& bytes : data.split('\n')) {
        QStringDecoder decoder(QStringConverter::Utf8);
        const QString text = decoder.decode(bytes); // decoding happens on conversion
        if (decoder.hasError())
            errors.append({line, QStringLiteral("texto que não está em UTF-8 (salve o arquivo "
                                                "como CSV UTF-8)")});
        ++line;
    }
    return errors;
}

} // namespace

Table read(const QByteArray& data, QChar separator) {
    Table table;
    const QByteArray& bytes = data;
    QStringDecoder decoder(QStringConverter::Utf8); // drops one leading byte-order mark
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        table.errors = invalidUtf8Lines(bytes); // listed; the rest is still read
    table.separator = separator.isNull() ? detectSeparator(text) : separator;
    Parser(text, table.separator).run(table);
    return table;
}

void appendRecord(QString& out, const QStringList& fields, QChar separator) {
    bool first = true;
    for (const QString& field : fields) {
        if (!first)
            out += separator;
        first = false;
        const bool needsQuotes = field.contains(separator) || field.contains(quote) ||
                                 field.contains(cr) || field.contains(lf) ||
                                 field.startsWith(QLatin1Char(' ')) ||
                                 field.endsWith(QLatin1Char(' '));
        if (!needsQuotes) {
            out += field;
            continue;
        }
        out += quote;
        out += QString(field).replace(quote, QStringLiteral("\"\""));
        out += quote;
    }
    out += QStringLiteral("\r\n");
}

} // namespace velmora::datadir::csv
