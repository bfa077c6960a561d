#include "detail/Detail.h"

#include "detail/ClubeSelecionado.h"
#include "detail/SelClube.h"

namespace velmora {

void connectDetail(TFrmSelClube& chooser, TFrmClubeSelecionado& card) {
    QObject::connect(&chooser, &TFrmSelClube::clubChosen, &card, &TFrmClubeSelecionado::open);
    QObject::connect(&card, &TFrmClubeSelecionado::opened, &chooser, &TFrmSelClube::cardOpened);
}

} // namespace velmora
