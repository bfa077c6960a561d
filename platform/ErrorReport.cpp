#include "platform/ErrorReport.h"

namespace velmora {

void reportError(Dialogs& dialogs, const QString& text) {
    dialogs.message(QString::fromLatin1(applicationTitle), text, MsgIcon::Error, MsgButtons::Ok);
}

} // namespace velmora
