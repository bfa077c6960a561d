#include "tests/support/Doubles.h"

#include "platform/ProgressPanel.h"

#include <QFrame>
#include <QPushButton>
#include <QWidget>

namespace velmora {

QStringList ScriptedDialogs::messages() const {
    QStringList texts;
    for (const Shown& s : shown_)
        if (s.kind == QLatin1String("message"))
            texts.append(s.text);
    return texts;
}

MsgResult ScriptedDialogs::message(const QString& caption, const QString& text, MsgIcon icon,
                                   MsgButtons buttons) {
    shown_.append({QStringLiteral("message"), caption, text, icon, buttons});
    if (!answers_.isEmpty())
        return answers_.takeFirst();
    return buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Ok;
}

QString ScriptedDialogs::entry(const QString& caption, const QString& prompt) {
    shown_.append({QStringLiteral("entry"), caption, prompt, MsgIcon::None, MsgButtons::Ok});
    EntryBoxScope scope(forms());
    return entries_.isEmpty() ? QString() : entries_.takeFirst();
}

bool ScriptedDialogs::openPicture(QString& fileName) {
    shown_.append({QStringLiteral("picture"), QString(), fileName, MsgIcon::None, MsgButtons::Ok});
    if (pictures_.isEmpty())
        return false;
    const QString chosen = pictures_.takeFirst();
    if (chosen.isEmpty())
        return false;
    fileName = chosen;
    return true;
}

bool ScriptedDialogs::savePdf(QString& fileName) {
    return saveFile(fileName, {}, QStringLiteral("pdf"));
}

bool ScriptedDialogs::saveFile(QString& fileName, const QString&, const QString&) {
    shown_.append({QStringLiteral("save"), QString(), fileName, MsgIcon::None, MsgButtons::Ok});
    if (saves_.isEmpty())
        return false;
    const QString chosen = saves_.takeFirst();
    if (chosen.isEmpty())
        return false;
    fileName = chosen;
    return true;
}

class ScriptedDialogs::Progress final : public ProgressBox {
public:
    Progress(ScriptedDialogs& owner, QWidget* window, const QString& text)
        : owner_(owner), panel_(window, text) {}
    bool step(int percent) override {
        QFrame* panel = panel_.panel();
        owner_.steps_.append({percent, panel->isVisible() && panel->window()->isVisible()});
        if (owner_.onStep_)
            owner_.onStep_(int(owner_.steps_.size()));
        if (owner_.steps_.size() == owner_.cancelAt_)
            panel->findChild<QPushButton*>(QStringLiteral("BtnCancelarProgresso"))->click();
        return panel_.step(percent);
    }

private:
    ScriptedDialogs& owner_;
    ProgressPanel panel_;
};

std::unique_ptr<ProgressBox> ScriptedDialogs::progress(QWidget* window, const QString& text) {
    shown_.append(
        {QStringLiteral("progress"), window->objectName(), text, MsgIcon::None, MsgButtons::Ok});
    return std::make_unique<Progress>(*this, window, text);
}

void RecordingPrinting::printArea(QWidget* area, const QString& title) {
    printed.append(area->grab().toImage());
    titles.append(title);
}

int ScriptedRandom::below(int n) {
    if (n <= 0)
        return 0;
    if (draws_.isEmpty())
        return 0;
    const int v = draws_.takeFirst() % n;
    return v < 0 ? v + n : v;
}

} // namespace velmora
