#include "registry/Idade.h"

#include "platform/Captions.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "registry/Clubes.h"
#include "store/Module.h"

#include <QCoreApplication>

namespace velmora {

namespace {

const QString idadeClube = QStringLiteral("IdadeClube");

} // namespace

void setPendingAge(Table& clubs, int currentYear, const QString& yearText) {
    bool ok = false;
    const int year = yearText.trimmed().toInt(&ok);
    if (!ok)
        throw StoreError(QStringLiteral("\"%1\" não é um ano de fundação válido.").arg(yearText));
    clubs.setFieldText(idadeClube, ageText(currentYear, year));
}

void recalcularIdades(Services& services, TFrmClubes& editor) {
    Table& clubs = services.dm().TblClubes;
    if (clubs.isEmpty()) {
        services.dialogs.message(programName, QStringLiteral("Não há clubes cadastrados"),
                                 MsgIcon::Warning);
        return;
    }
    std::optional<int> rewritten;
    {
        // Up when the rows start: an age that does not fit is told before any of them.
        std::unique_ptr<ProgressBox> box;
        // Between reports, and while the commit writes, the windows are painted; input
        // waits for the panel, which takes it at each report.
        rewritten = services.dm().recountAges(
            services.clock.currentYear(),
            [&](int percent) {
                if (!box)
                    box =
                        services.dialogs.progress(&editor, QStringLiteral("Recalculando idades…"));
                return box->step(percent);
            },
            [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    }
    if (!rewritten) {
        services.dialogs.message(programName,
                                 QStringLiteral("Recálculo cancelado: nenhuma idade foi alterada."),
                                 MsgIcon::Information);
        return;
    }
    const int withoutYear = clubs.rowCount() - *rewritten;
    clubs.refresh();
    clubs.last();
    // The ages are stored whatever the last club's pictures do: the display reports
    // its own failures and the user is still told.
    editor.recordDisplay();
    services.dialogs.message(programName, agesStoredText(withoutYear), MsgIcon::Information);
}

QString agesStoredText(int withoutYear) {
    QString text = QStringLiteral("Idades atualizadas com sucesso!");
    // Those clubs still show an age computed in some earlier year.
    if (withoutYear == 1)
        text += QStringLiteral("\n1 clube sem ano de fundação manteve a idade anterior.");
    else if (withoutYear > 1)
        text += QStringLiteral("\n%1 clubes sem ano de fundação mantiveram a idade anterior.")
                    .arg(withoutYear);
    return text;
}

} // namespace velmora
