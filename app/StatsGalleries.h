#pragma once

namespace velmora {

struct Services;
class TFrmEstatisticas;
class TFrmRelatorios;

// A number of the statistics window opens its gallery on the page, as the menu does.
void connectStatistics(Services& services, TFrmEstatisticas& statistics, TFrmRelatorios& page);

} // namespace velmora
