#pragma once

#include <QString>
#include <stdexcept>

namespace velmora {

// The store's one way to fail: the engine's message, in Portuguese, ready for
// the general error report.
class StoreError final : public std::runtime_error {
public:
    explicit StoreError(const QString& message)
        : std::runtime_error(message.toStdString()), text_(message) {}
    const QString& text() const { return text_; }

private:
    QString text_;
};

} // namespace velmora
