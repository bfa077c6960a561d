#include "tools/datadir/Paradox.h"

#include "tools/datadir/DataDir.h"
#include "tools/datadir/ParadoxHeader.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cstdio>
#include <memory>

extern "C" {
#include <paradox.h>
}

namespace velmora::datadir::paradox {

namespace {

[[noreturn]] void damaged(const QString& file, const QString& reason) {
    throw DataDirError(Exit::Problems,
                       QStringLiteral("%1 não é uma tabela Paradox válida: %2.").arg(file, reason));
}

// The 256 characters of the code page, decoded once.
const QList<QChar>& codePage() {
    static const QList<QChar> table = [] {
        QStringDecoder decoder("windows-1252");
        QList<QChar> chars(256, QChar::ReplacementCharacter);
        for (int i = 0; i < 256 && decoder.isValid(); ++i) {
            const QString c = decoder.decode(QByteArray(1, char(i)));
            if (c.size() == 1)
                chars[i] = c[0];
        }
        return chars;
    }();
    return table;
}

// pxlib reports through a handler instead of printing; the last message is kept.
void onError(pxdoc_t*, int, const char* message, void* data) {
    *static_cast<QString*>(data) = QString::fromLocal8Bit(message);
}

struct DocDeleter {
    void operator()(pxdoc_t* doc) const { PX_delete(doc); } // closes it too
};
struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};

QVariant valueOf(pxdoc_t* doc, const Field& f, char* at) {
    switch (f.type) {
    case Alpha: {
        char* text = nullptr;
        if (PX_get_data_alpha(doc, at, f.size, &text) <= 0 || !text)
            return QVariant();
        const QString value = fromWindows1252(QByteArray(text));
        doc->free(doc, text);
        return value;
    }
    case Short: {
        short value = 0;
        return PX_get_data_short(doc, at, f.size, &value) > 0 ? QVariant(qlonglong(value))
                                                              : QVariant();
    }
    case Long:
    case AutoInc:
    case Date: {
        long value = 0;
        return PX_get_data_long(doc, at, f.size, &value) > 0 ? QVariant(qlonglong(value))
                                                             : QVariant();
    }
    case Number:
    case Currency: {
        double value = 0;
        return PX_get_data_double(doc, at, f.size, &value) > 0 ? QVariant(value) : QVariant();
    }
    case Logical: {
        char value = 0;
        return PX_get_data_byte(doc, at, f.size, &value) > 0 ? QVariant(qlonglong(value != 0))
                                                             : QVariant();
    }
    default:
        return QVariant();
    }
}

} // namespace

int Table::column(const QString& name) const {
    for (qsizetype i = 0; i < names.size(); ++i)
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

QString fromWindows1252(const QByteArray& bytes) {
    const QList<QChar>& page = codePage();
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        text[i] = page[static_cast<unsigned char>(bytes[i])];
    return text;
}

QByteArray toWindows1252(const QString& text) {
    QStringEncoder encoder("windows-1252");
    return encoder.encode(text);
}

Table read(const QByteArray& data, const QString& fileName) {
    Layout layout;
    if (const QString reason = check(data, &layout); !reason.isEmpty())
        damaged(fileName, reason);
    Table table;
    table.file = fileName;
    for (const Field& f : layout.fields) {
        table.names << fromWindows1252(f.name);
        table.types << f.type;
    }
    // pxlib reads the very bytes that were checked, from memory.
    QByteArray bytes = data;
    std::unique_ptr<FILE, FileCloser> stream(fmemopen(bytes.data(), size_t(bytes.size()), "rb"));
    QString error;
    std::unique_ptr<pxdoc_t, DocDeleter> doc(PX_new3(onError, nullptr, nullptr, nullptr, &error));
    if (!stream || !doc || PX_open_fp(doc.get(), stream.get()) < 0)
        damaged(fileName, error.isEmpty() ? QStringLiteral("pxlib não a abre") : error);
    if (PX_get_recordsize(doc.get()) != layout.recordSize)
        damaged(fileName, QStringLiteral("tamanho de registro incoerente"));
    QByteArray record(layout.recordSize, '\0');
    table.rows.reserve(layout.records);
    for (int recno = 0; recno < layout.records; ++recno) {
        if (!PX_get_record(doc.get(), recno, record.data()))
            damaged(fileName, QStringLiteral("registro %1 ilegível %2").arg(recno + 1).arg(error));
        QList<QVariant> row;
        row.reserve(layout.fields.size());
        int offset = 0;
        for (const Field& f : layout.fields) {
            row.append(valueOf(doc.get(), f, record.data() + offset));
            offset += f.size;
        }
        table.rows.append(std::move(row));
    }
    return table;
}

Table readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DataDirError(Exit::Problems, QStringLiteral("Sem permissão para ler %1.").arg(path));
    return read(file.readAll(), path);
}

} // namespace velmora::datadir::paradox
