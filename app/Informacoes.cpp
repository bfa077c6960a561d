#include "app/Informacoes.h"

#include "app/VelmoraApp.h"
#include "platform/ErrorReport.h"
#include "platform/Pictures.h"

#include <QFile>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>

namespace velmora {

TFrmInformacoes::TFrmInformacoes(VelmoraApp& app)
    : Form(app.forms, QStringLiteral("FrmInformacoes"), QStringLiteral("Informações"),
           QSize(792, 546), std::nullopt),
      app_(app) {
    Image = new QLabel(client());
    Image->setObjectName(QStringLiteral("Image"));
    Image->setGeometry(-2, -2, 796, 550);
    Image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Built-in artwork; a broken build shows the report instead of stopping start-up.
    guard(app_.dialogs, [this] {
        showPicture(app_.pictures, Image, QStringLiteral(":/artwork/info.jpg"), false);
    });
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
