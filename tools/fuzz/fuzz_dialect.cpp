// Any text as a statement of the program's local SQL: the translator refuses it with
// its own error or translates it, both spellings (named and positional parameters)
// agree, and a statement the engine reads as complete stays complete, so no text
// constant or comment is ever left open to swallow what follows.
#include "store/Dialect.h"
#include "store/StoreError.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sqlite3.h>

namespace {

bool complete(const QString& sql) {
    return sqlite3_complete((sql + QStringLiteral("\n;")).toUtf8().constData()) != 0;
}

// Brackets, backquotes and block comments are SQLite syntax the program's statements
// never use; the translator copies them as they are.
bool plain(const QString& sql) {
    return !sql.contains(QLatin1Char('[')) && !sql.contains(QLatin1Char('`')) &&
           !sql.contains(QLatin1String("/*")) && !sql.contains(QChar(0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString sql = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    QString named;
    velmora::Dialect::Prepared positional;
    bool namedFailed = false, positionalFailed = false;
    try {
        named = velmora::Dialect::translate(sql);
    } catch (const velmora::StoreError&) {
        namedFailed = true;
    }
    try {
        positional = velmora::Dialect::prepare(sql);
    } catch (const velmora::StoreError&) {
        positionalFailed = true;
    }
    if (namedFailed != positionalFailed)
        std::abort();
    if (namedFailed)
        return 0;
    for (const QString& name : positional.parameters)
        if (name.isEmpty())
            std::abort();
    if (plain(sql) && complete(sql) && (!complete(named) || !complete(positional.sql)))
        std::abort();
    return 0;
}
