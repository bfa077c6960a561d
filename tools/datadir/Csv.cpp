#include "tools/datadir/Csv.h"

#include "tools/datadir/Paradox.h"

#include <QSet>
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
    // A file read in pieces goes on at the line its last piece ended, and keeps
    // one set of the texts met.
    Parser(QStringView text, QChar separator, QSet<QString>& seen, int line = 1)
        : text_(text), sep_(separator), seen_(seen), line_(line) {}

    int line() const { return line_; }

    void run(Table& table, const RecordSink& sink) {
        sink_ = sink ? &sink : nullptr;
        while (pos_ < text_.size()) {
            Record record;
            record.line = line_;
            QString reason;
            if (readRecord(record.fields, reason)) {
                if (record.fields.size() == 1 && record.fields.first().isEmpty())
                    continue;
                if (sink)
                    sink(record); // kept by the sink as it likes: nothing interned
                else
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
            fields.append(sink_ ? std::move(field) : interned(std::move(field)));
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

    // A text met before is kept once: a big file repeats its countries, states, years
    // and picture paths on every line.
    QString interned(QString&& field) {
        if (field.isEmpty())
            return QString();
        const auto it = seen_.constFind(field);
        if (it != seen_.constEnd())
            return *it;
        seen_.insert(field);
        return std::move(field);
    }

    void skipToLineEnd() {
        while (pos_ < text_.size() && !isLineEnd(text_[pos_]))
            ++pos_;
        if (pos_ < text_.size())
            endLine();
    }

    QStringView text_;
    QChar sep_;
    QSet<QString>& seen_;
    const RecordSink* sink_ = nullptr;
    qsizetype pos_ = 0;
    int line_;
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
                                                "como CSV UTF-8 ou, se ele está todo em "
                                                "Windows-1252, use --codificacao windows-1252)")});
        ++line;
    }
    return errors;
}

// Whether any well-formed UTF-8 sequence of two bytes or more is in data: a file with
// one is UTF-8 gone wrong, not a Windows-1252 file.
bool holdsUtf8Sequence(const QByteArray& data) {
    const auto continuation = [&](qsizetype i) {
        return i < data.size() && (uchar(data[i]) & 0xC0) == 0x80;
    };
    for (qsizetype i = 0; i < data.size(); ++i) {
        const uchar b = uchar(data[i]);
        const int extra = b >= 0xC2 && b <= 0xDF   ? 1
                          : b >= 0xE0 && b <= 0xEF ? 2
                          : b >= 0xF0 && b <= 0xF4 ? 3
                                                   : 0;
        int n = 0;
        while (n < extra && continuation(i + 1 + n))
            ++n;
        if (extra > 0 && n == extra)
            return true;
    }
    return false;
}

struct Mark {
    QByteArray bytes;
    QStringConverter::Encoding encoding;
    const char* name;
};

// The byte-order marks, the longer before the shorter they begin with.
const QList<Mark>& marks() {
    static const QList<Mark> list = {
        {QByteArray("\xFF\xFE\x00\x00", 4), QStringConverter::Utf32LE, "UTF-32"},
        {QByteArray("\x00\x00\xFE\xFF", 4), QStringConverter::Utf32BE, "UTF-32"},
        {QByteArray(byteOrderMark), QStringConverter::Utf8, "UTF-8"},
        {QByteArray("\xFF\xFE"), QStringConverter::Utf16LE, "UTF-16"},
        {QByteArray("\xFE\xFF"), QStringConverter::Utf16BE, "UTF-16"},
    };
    return list;
}

// UTF-16 without a mark shows as a zero byte beside every ASCII letter.
bool looksLikeUnmarkedUtf16(const QByteArray& data) {
    return data.size() >= 2 && (data[0] == '\0') != (data[1] == '\0');
}

QString decode(const QByteArray& data, Encoding encoding, Table& table) {
    for (const Mark& mark : marks()) {
        if (!data.startsWith(mark.bytes))
            continue;
        table.encoding = QLatin1String(mark.name);
        if (mark.encoding == QStringConverter::Utf8)
            break;                             // read below, line by line on error
        QStringDecoder decoder(mark.encoding); // drops the mark
        const QString text = decoder.decode(data);
        if (decoder.hasError())
            table.errors.append(
                {1, QStringLiteral("o arquivo diz estar em %1, mas tem bytes que não são %1 "
                                   "(salve-o de novo como CSV UTF-8)")
                        .arg(table.encoding)});
        return text;
    }
    if (table.encoding.isEmpty() && looksLikeUnmarkedUtf16(data)) {
        table.encoding = QStringLiteral("UTF-16");
        table.errors.append({1, QStringLiteral("o arquivo parece estar em UTF-16 sem a marca "
                                               "BOM, que não pode ser lido com segurança: salve-o "
                                               "como CSV UTF-8 (ou como texto Unicode, com BOM)")});
        return QString();
    }
    // Every byte is a character in Windows-1252, so a file read as it without being so
    // would show wrong letters: that reading is taken only when asked for or when the
    // bytes are not UTF-8 and hold no UTF-8 sequence at all.
    const bool marked = !table.encoding.isEmpty();
    if (marked || encoding != Encoding::Windows1252) {
        table.encoding = QStringLiteral("UTF-8");
        QStringDecoder decoder(QStringConverter::Utf8); // drops one leading byte-order mark
        const QString text = decoder.decode(data);
        if (!decoder.hasError())
            return text;
        if (marked || encoding == Encoding::Utf8 || holdsUtf8Sequence(data)) {
            table.errors = invalidUtf8Lines(data); // listed; the rest is still read
            return text;
        }
    }
    table.encoding = QStringLiteral("Windows-1252");
    return paradox::fromWindows1252(data);
}

const QString formulaStarts = QStringLiteral("=+-@\t\r");

// Where the piece of data starting at from ends: at the first line end outside quotes
// once it holds at least size bytes ('"' and line ends are single bytes in UTF-8).
qsizetype pieceEnd(const QByteArray& data, qsizetype from, qsizetype size) {
    bool quoted = false;
    for (qsizetype i = from; i < data.size(); ++i) {
        if (data[i] == '"')
            quoted = !quoted;
        else if (data[i] == '\n' && !quoted && i + 1 - from >= size)
            return i + 1;
    }
    return data.size();
}

// UTF-8 read a few megabytes at a time, so a big file's text is never held whole beside
// its bytes and its records. False when a piece is not UTF-8: the file is then read whole.
bool readUtf8InPieces(const QByteArray& data, QChar separator, Table& table,
                      const RecordSink& sink) {
    constexpr qsizetype pieceSize = 4 << 20;
    QStringDecoder decoder(QStringConverter::Utf8); // drops one leading byte-order mark
    QSet<QString> seen;
    int line = 1;
    for (qsizetype from = 0; from < data.size();) {
        const qsizetype end = pieceEnd(data, from, pieceSize);
        const QString text = decoder.decode(QByteArrayView(data).sliced(from, end - from));
        if (decoder.hasError())
            return false;
        if (table.separator.isNull())
            table.separator = separator.isNull() ? detectSeparator(text) : separator;
        Parser parser(text, table.separator, seen, line);
        parser.run(table, sink);
        line = parser.line();
        from = end;
    }
    if (table.separator.isNull())
        table.separator = separator.isNull() ? QChar(QLatin1Char(';')) : separator;
    table.encoding = QStringLiteral("UTF-8");
    return true;
}

// Decoded a piece at a time, keeping none of it.
bool isUtf8(const QByteArray& data) {
    constexpr qsizetype pieceSize = 4 << 20;
    QStringDecoder decoder(QStringConverter::Utf8);
    for (qsizetype from = 0; from < data.size() && !decoder.hasError(); from += pieceSize) {
        const QString piece = // decoding happens on conversion
            decoder.decode(
                QByteArrayView(data).sliced(from, std::min(pieceSize, data.size() - from)));
    }
    return !decoder.hasError();
}

bool otherMark(const QByteArray& data) {
    for (const Mark& mark : marks())
        if (mark.encoding != QStringConverter::Utf8 && data.startsWith(mark.bytes))
            return true;
    return false;
}

} // namespace

Table read(QByteArray data, QChar separator, Encoding encoding, const RecordSink& sink) {
    Table table;
    if (encoding != Encoding::Windows1252 && !otherMark(data) && !looksLikeUnmarkedUtf16(data)) {
        // With a sink, records go out as they are read, so the whole file must be known
        // to be UTF-8 before the first of them (else it is read again below).
        if ((!sink || isUtf8(data)) && readUtf8InPieces(data, separator, table, sink))
            return table;
        table = Table();
    }
    const QString text = decode(data, encoding, table);
    data = QByteArray(); // not held while the records are built
    table.separator = separator.isNull() ? detectSeparator(text) : separator;
    QSet<QString> seen;
    Parser(text, table.separator, seen).run(table, sink);
    return table;
}

QString neutralised(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == QLatin1Char('\''))
        ++i;
    return i < text.size() && formulaStarts.contains(text[i]) ? QLatin1Char('\'') + text : text;
}

QString restored(const QString& text) {
    if (!text.startsWith(QLatin1Char('\'')))
        return text;
    const QString rest = text.mid(1);
    return neutralised(rest) == text ? rest : text;
}

void appendRecord(QString& out, const QStringList& fields, QChar separator,
                  const QList<bool>& alwaysQuoted) {
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QString& field = fields[i];
        if (i > 0)
            out += separator;
        const bool needsQuotes = alwaysQuoted.value(i) || field.contains(separator) ||
                                 field.contains(quote) || field.contains(cr) ||
                                 field.contains(lf) || field.startsWith(QLatin1Char(' ')) ||
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
