// Any bytes given as a Paradox table: the header check must refuse them or let pxlib
// read every record, never crash or hang.
#include "tools/datadir/DataDir.h"
#include "tools/datadir/Paradox.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        (void)velmora::datadir::paradox::read(bytes, QStringLiteral("fuzz.db"));
    } catch (const velmora::datadir::DataDirError&) {
    }
    return 0;
}
