#pragma once

#include "core/Pictures.h"
#include "core/System.h"
#include "platform/Dialogs.h"
#include "platform/Form.h"
#include "platform/Printing.h"
#include "platform/Services.h"
#include "store/Schema.h"

#include <QString>
#include <memory>
#include <optional>

namespace velmora {

class DataDirLock;
class TFrmDm;
class TFrmInicial;
class TFrmClubes;
class TFrmCadastroCidade;
class TFrmPaises;
class TFrmUF;
class TFrmCidade;
class TFrmInformacoes;
class TFrmAno;
class TFrmFederacao;
class TFrmSelFeder;
class TFrmRelatorios;
class TFrmSelClube;
class TFrmClubeSelecionado;
class TFrmEstatisticas;
enum class MenuGallery;

// What the program takes from the machine; tests hand in doubles.
struct Environment {
    QString dataDir;
    Dialogs* dialogs = nullptr;
    Printing* printing = nullptr;
    Clock* clock = nullptr;
    Random* random = nullptr;
    Sleep* sleep = nullptr;
    int splashMs = 5000;
    UpgradeProgress upgradeProgress; // where an upgrade of an older store reports
};

// The one application object: owns the data module and every window, created in
// the start-up order, and connects the windows' signals. It is the only code that
// knows every window; windows get the services object, never the application.
class VelmoraApp final {
public:
    // Creates every window and the data module (in the start-up order), none shown.
    // Throws StoreError when the data module cannot open the store; nothing is
    // left half-built then.
    explicit VelmoraApp(const Environment& env);
    ~VelmoraApp();
    VelmoraApp(const VelmoraApp&) = delete;
    VelmoraApp& operator=(const VelmoraApp&) = delete;

    const QString& dataDir() const { return dataDir_; }
    QString badgeDir() const; // dataDir + "/Distintivos/"

    Dialogs& dialogs;
    Printing& printing;
    Clock& clock;
    Random& random;
    Sleep& sleep;
    Pictures pictures;
    Forms forms;

    // Declared first so it outlives every window that reads from it; created second,
    // after the main window (the start-up order).
    std::unique_ptr<TFrmDm> FrmDm;
    std::unique_ptr<TFrmInicial> FrmInicial;
    // What the windows get; complete once the data module is open.
    std::optional<Services> services;
    std::unique_ptr<TFrmClubes> FrmClubes;
    std::unique_ptr<TFrmCadastroCidade> FrmCadastroCidade;
    std::unique_ptr<TFrmPaises> FrmPaises;
    std::unique_ptr<TFrmUF> FrmUF;
    std::unique_ptr<TFrmCidade> FrmCidade;
    std::unique_ptr<TFrmInformacoes> FrmInformacoes;
    std::unique_ptr<TFrmAno> FrmAno;
    std::unique_ptr<TFrmFederacao> FrmFederacao;
    std::unique_ptr<TFrmSelFeder> FrmSelFeder;
    std::unique_ptr<TFrmRelatorios> FrmRelatorios;
    std::unique_ptr<TFrmSelClube> FrmSelClube;
    std::unique_ptr<TFrmClubeSelecionado> FrmClubeSelecionado;
    std::unique_ptr<TFrmEstatisticas> FrmEstatisticas;

    // Held from start-up to the end, so a second start on the same folder stops.
    std::unique_ptr<DataDirLock> dataDirLock;

    // One of the main window's menu galleries, on the gallery page.
    void runMenuGallery(MenuGallery gallery);

    // Short access to the data module.
    TFrmDm& dm() { return *FrmDm; }

private:
    void connectWindows();

    QString dataDir_;
};

} // namespace velmora
