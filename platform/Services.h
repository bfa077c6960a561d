#pragma once

#include "core/Pictures.h"
#include "core/System.h"
#include "platform/Dialogs.h"
#include "platform/Form.h"
#include "platform/Printing.h"

#include <QString>

namespace velmora {

class TFrmDm;

// What a window takes from the program: the machine's services, the data module and
// the badge folder. The application object owns all of it and hands it to each window,
// so no window needs the application or another subsystem's windows.
struct Services {
    Dialogs& dialogs;
    Printing& printing;
    Clock& clock;
    Random& random;
    Sleep& sleep;
    Pictures& pictures;
    Forms& forms;
    TFrmDm& module;
    QString badgeFolder; // ends with a separator

    TFrmDm& dm() const { return module; }
    const QString& badgeDir() const { return badgeFolder; }
};

} // namespace velmora
