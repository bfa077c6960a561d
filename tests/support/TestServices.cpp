#include "tests/support/TestServices.h"

#include "platform/Fonts.h"

namespace velmora::test {

TestServices::TestServices() {
    installFontSubstitutes();
}

TestServices::TestServices(const QString& catalogue, TestStore::Copy copy)
    : store(catalogue, copy) {
    installFontSubstitutes();
}

Printing& TestServices::printer() {
    if (realPrinter)
        return realPrinting_;
    return printing;
}

} // namespace velmora::test
