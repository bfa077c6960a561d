#include "app/Informacoes.h"

#include "app/VelmoraApp.h"
#include "core/Pictures.h"
#include "layout/App.h"
#include "platform/Controls.h"
#include "platform/ErrorReport.h"

#include <QFile>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>

namespace velmora {

TFrmInformacoes::TFrmInformacoes(VelmoraApp& app)
    : Form(app.forms, QStringLiteral("FrmInformacoes"), QStringLiteral("Informações"),
           layout::informacoes.client, std::nullopt),
      app_(app) {
    Image = makeBackground(client(), layout::informacoes, app_.pictures, app_.dialogs);
    // The page is a picture: its words go to screen readers as text.
    Image->setAccessibleName(QStringLiteral("Informações"));
    QFile words(QStringLiteral(":/artwork/info.txt"));
    if (words.open(QIODevice::ReadOnly))
        Image->setAccessibleDescription(QString::fromUtf8(words.readAll()).trimmed());

    MnInformacoes = new QMenuBar(this);
    MnInformacoes->setObjectName(QStringLiteral("MnInformacoes"));
    Voltar1 = MnInformacoes->addAction(QStringLiteral("&Voltar"));
    Voltar1->setShortcut(QKeySequence(Qt::Key_Escape));
    Voltar1->setObjectName(QStringLiteral("Voltar1"));
    connect(Voltar1, &QAction::triggered, this, [this] { Voltar1Click(); });
    setWayOut(Voltar1);
    setMenuBar(MnInformacoes);
}

void TFrmInformacoes::Voltar1Click() {
    guard(app_.dialogs, [this] {
        app_.forms.close(this);
        app_.forms.showMainWindow();
    });
}

} // namespace velmora
