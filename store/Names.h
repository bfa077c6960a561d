#pragma once

#include <QLatin1String>

namespace velmora {

// The one country whose clubs and cities carry a state (a "UF").
inline constexpr QLatin1String brasil("Brasil");

} // namespace velmora
