#include "platform/ErrorReport.h"

#include "platform/Pictures.h"

namespace velmora {

void reportError(Dialogs& dialogs, const QString& text) {
    dialogs.message(QString::fromLatin1(applicationTitle), text, MsgIcon::Error, MsgButtons::Ok);
}

void reportError(Dialogs& dialogs, const std::exception& e) {
    if (const auto* picture = dynamic_cast<const PictureError*>(&e)) {
        reportError(dialogs, picture->text());
        return;
    }
    // Our errors carry UTF-8 text (built with QString::toStdString).
    reportError(dialogs, QString::fromUtf8(e.what()));
}

} // namespace velmora
