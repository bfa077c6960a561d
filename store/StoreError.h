#pragma once

#include <QString>
#include <stdexcept>

class QSqlError;

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

// An engine failure told in Portuguese: what happened and what the user can do
// (by the engine's error code), then the engine's own words for whoever helps.
QString engineMessage(const QSqlError& error);
// The same for a failure the engine reports by code and text only.
QString engineMessage(int code, const QString& engineText);

} // namespace velmora
