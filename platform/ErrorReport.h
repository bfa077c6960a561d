#pragma once

#include "platform/Dialogs.h"

#include <QString>
#include <exception>
#include <utility>

namespace velmora {

inline constexpr const char* applicationTitle = "VELMORA v1.0";

// The general error report: the failure's own text in a message box captioned
// "VELMORA v1.0" with the error icon.
void reportError(Dialogs& dialogs, const QString& text);
void reportError(Dialogs& dialogs, const std::exception& e);

// Runs a handler body; any std::exception ends it and goes to the general error
// report, so no exception crosses the Qt event loop. Returns false on failure.
template <class F> bool guard(Dialogs& dialogs, F&& body) {
    try {
        std::forward<F>(body)();
        return true;
    } catch (const std::exception& e) {
        reportError(dialogs, e);
    } catch (...) {
        reportError(dialogs, QStringLiteral("Erro inesperado."));
    }
    return false;
}

} // namespace velmora
