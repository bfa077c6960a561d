#pragma once

#include <QString>
#include <exception>
#include <stdexcept>

namespace velmora {

// The program's one error type: its text is what the user is told, in Portuguese.
// Each layer fails with its own kind of it (StoreError, PictureError, DataDirError);
// anything else that can fail throws an Error as it stands.
class Error : public std::runtime_error {
public:
    explicit Error(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& text() const { return text_; }

private:
    QString text_;
};

// The text a user is told about any failure: an Error's own, or a library's words.
inline QString errorText(const std::exception& e) {
    if (const auto* error = dynamic_cast<const Error*>(&e))
        return error->text();
    return QString::fromUtf8(e.what());
}

} // namespace velmora
