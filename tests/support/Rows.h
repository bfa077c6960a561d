#pragma once

#include <QTest>

namespace velmora::test {

// One case of a data-driven test, its values in the order of the columns:
// row("no store file", "store", "Clubes.db").
template <typename... Values> void row(const char* tag, const Values&... values) {
    (QTest::newRow(tag) << ... << values);
}

} // namespace velmora::test
