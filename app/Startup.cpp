#include "app/Startup.h"

#include "app/Inicial.h"
#include "app/Splash.h"
#include "platform/Captions.h"
#include "platform/ErrorReport.h"
#include "store/DataDirLock.h"
#include "store/Database.h"
#include "store/Module.h"
#include "store/StoreError.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>

namespace velmora {

namespace {

// What the user reads when the store does not open: our words first, the engine's
// after them; a damaged file says how to get the catalogue back.
QString startupFailure(const QString& dataDir, const std::exception& e) {
    const auto* store = dynamic_cast<const StoreError*>(&e);
    if (store == nullptr)
        return errorText(e);
    if (const QString damage = Database::damage(dataDir); !damage.isEmpty())
        return QStringLiteral("O arquivo do catálogo %1 está danificado e o Velmora não pode "
                              "usá-lo.\nRestaure a cópia de segurança mais recente: com o "
                              "Velmora fechado, copie a pasta de dados guardada de volta para "
                              "%2. O comando \"velmora-datadir check\" mostra o que está "
                              "danificado.\n\nDetalhe: %3")
            .arg(QDir(dataDir).filePath(QString::fromLatin1(Database::fileName)),
                 QDir::toNativeSeparators(dataDir), damage);
    return QStringLiteral("Não foi possível abrir o catálogo do Velmora em %1.\n\nDetalhe: %2")
        .arg(QDir::toNativeSeparators(dataDir), store->text());
}

void tellReadOnly(VelmoraApp& app) {
    app.dialogs.message(
        QString::fromLatin1(applicationTitle),
        QStringLiteral("O catálogo em %1 não pode ser gravado: o arquivo %2 ou a pasta é "
                       "somente leitura.\nO Velmora foi aberto apenas para consulta; incluir, "
                       "alterar, excluir, recalcular idades e cadastrar cidades ficam "
                       "desativados. Para gravar, feche o Velmora e dê permissão de escrita "
                       "ao arquivo e à pasta.")
            .arg(QDir::toNativeSeparators(app.dataDir()), QString::fromLatin1(Database::fileName)),
        MsgIcon::Warning);
}

} // namespace

std::unique_ptr<VelmoraApp> Startup::start(const Environment& env, const Observer& observe) {
    auto step = [&](const char* name) {
        if (observe)
            observe(QString::fromLatin1(name));
    };

    // A second program on the same folder would number new clubs from the same
    // highest code: it stops before anything is shown.
    auto lock = std::make_unique<DataDirLock>(env.dataDir);
    // A folder nobody can write needs no lock: the store opens there for reading only.
    const bool unwritableFolder =
        lock->outcome() == DataDirLock::Outcome::CannotLock && !QFileInfo(env.dataDir).isWritable();
    if (!lock->message().isEmpty() && !unwritableFolder) {
        const bool open = lock->outcome() == DataDirLock::Outcome::AlreadyOpen;
        env.dialogs->message(programName, lock->message(),
                             open ? MsgIcon::Warning : MsgIcon::Error);
        step("folder in use");
        return nullptr;
    }

    auto splash = std::make_unique<TFrmSplash>();
    // The splash's time runs from the display putting it up, where the user sees it
    // appear: the windows are built while it shows.
    QElapsedTimer splashShown;
    splash->showPainted(splashShown);
    step("splash shown");

    QCoreApplication::setApplicationName(QString::fromLatin1(applicationTitle));

    // An older store is upgraded while the windows are made: the splash shows how far.
    Environment opening = env;
    opening.upgradeProgress = [&splash](const QString& doing, int percent) {
        splash->showProgress(doing, percent);
    };
    std::unique_ptr<VelmoraApp> app;
    try {
        app = std::make_unique<VelmoraApp>(opening);
    } catch (const std::exception& e) {
        // Shown over the splash; the main window never appears.
        reportError(*env.dialogs, startupFailure(env.dataDir, e));
        step("error shown");
        splash.reset();
        return nullptr;
    }
    app->dataDirLock = std::move(lock);
    // The main window's screen window is not made here, ahead of showing it: made before
    // the window manager places it, the window lost its centring by a title bar's height.
    step("windows created");

    env.sleep->sleepMs(int(std::max<qint64>(0, env.splashMs - splashShown.elapsed())));

    splash->hide();
    splash.reset();
    step("splash gone");

    app->forms.show(app->FrmInicial.get());
    step("main shown");
    if (app->dm().readOnly())
        tellReadOnly(*app);
    // An older store was upgraded: say so once, and where the old file was kept.
    if (const QString& notice = app->dm().upgradeNotice(); !notice.isEmpty()) {
        env.dialogs->message(programName, notice, MsgIcon::Information);
        step("upgrade notice shown");
    }
    return app;
}

} // namespace velmora
