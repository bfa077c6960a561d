// Any bytes given as a CSV file, with each separator: the reader lists what it cannot
// read, every record it returns starts on a line inside the text, and what it read
// reads the same once written back.
#include "tools/datadir/Csv.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const int lines = int(bytes.count('\n') + bytes.count('\r')) + 1;
    for (const QChar sep : {QChar(), QChar(QLatin1Char(';')), QChar(QLatin1Char(','))}) {
        const auto table = velmora::datadir::csv::read(bytes, sep);
        for (const auto& r : table.records)
            if (r.line < 1 || r.line > lines || r.fields.isEmpty())
                std::abort();
        for (const auto& e : table.errors)
            if (e.line < 1 || e.line > lines || e.reason.isEmpty())
                std::abort();
        if (!table.errors.isEmpty())
            continue;
        QString written;
        for (const auto& r : table.records)
            velmora::datadir::csv::appendRecord(written, r.fields, table.separator);
        const QByteArray file = velmora::datadir::csv::byteOrderMark + written.toUtf8();
        const auto again = velmora::datadir::csv::read(file, table.separator);
        if (!again.errors.isEmpty() || again.records.size() != table.records.size())
            std::abort();
        for (qsizetype i = 0; i < again.records.size(); ++i)
            if (again.records[i].fields != table.records[i].fields)
                std::abort();
    }
    return 0;
}
