#pragma once

#include "platform/Captions.h"
#include "platform/Dialogs.h"
#include "store/Error.h"

#include <QString>
#include <exception>
#include <utility>

namespace velmora {

// The general error report: the failure's own text in a message box captioned
// "VELMORA v1.0" with the error icon.
void reportError(Dialogs& dialogs, const QString& text);

// Runs a handler body; any exception ends it and goes to the general error report
// (an Error with its own text), so no exception crosses the Qt event loop. Returns
// false on failure.
template <class F> bool guard(Dialogs& dialogs, F&& body) {
    try {
        std::forward<F>(body)();
        return true;
    } catch (const Error& e) {
        reportError(dialogs, e.text());
    } catch (const std::exception& e) { // a library's own failure (memory, say)
        reportError(dialogs, QString::fromUtf8(e.what()));
    } catch (...) {
        reportError(dialogs, QStringLiteral("Erro inesperado."));
    }
    return false;
}

} // namespace velmora
