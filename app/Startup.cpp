#include "app/Startup.h"

#include "app/Inicial.h"
#include "app/Splash.h"
#include "platform/ErrorReport.h"
#include "store/DataDirLock.h"

#include <QApplication>
#include <QCoreApplication>

namespace velmora {

std::unique_ptr<VelmoraApp> Startup::start(const Environment& env, const Observer& observe) {
    auto step = [&](const char* name) {
        if (observe)
            observe(QString::fromLatin1(name));
    };

    // A second program on the same folder would number new clubs from the same
    // highest code: it stops before anything is shown.
    auto lock = std::make_unique<DataDirLock>(env.dataDir);
    if (!lock->message().isEmpty()) {
        const bool open = lock->outcome() == DataDirLock::Outcome::AlreadyOpen;
        env.dialogs->message(QStringLiteral("Velmora"), lock->message(),
                             open ? MsgIcon::Warning : MsgIcon::Error);
        step("folder in use");
        return nullptr;
    }

    auto splash = std::make_unique<TFrmSplash>();
    splash->showPainted();
    step("splash shown");

    QCoreApplication::setApplicationName(QString::fromLatin1(applicationTitle));

    std::unique_ptr<VelmoraApp> app;
    try {
        app = std::make_unique<VelmoraApp>(env);
    } catch (const std::exception& e) {
        // Shown over the splash; the main window never appears.
        reportError(*env.dialogs, e);
        step("error shown");
        splash.reset();
        return nullptr;
    }
    app->dataDirLock = std::move(lock);
    step("windows created");

    env.sleep->sleepMs(env.splashMs);

    splash->hide();
    splash.reset();
    step("splash gone");

    app->forms.show(app->FrmInicial.get());
    step("main shown");
    return app;
}

} // namespace velmora
