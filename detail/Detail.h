#pragma once

namespace velmora {

class TFrmClubeSelecionado;
class TFrmSelClube;

// Connects the club chooser to the card: OK opens the chosen club's card, and the
// chooser closes once the card is up.
void connectDetail(TFrmSelClube& chooser, TFrmClubeSelecionado& card);

} // namespace velmora
