#pragma once

#include <QLatin1String>

namespace velmora {

// The program's name: the main window's caption, the caption of its message boxes
// and choosers, the name of a printed page.
inline constexpr QLatin1String programName("Velmora");

// The general error report's caption.
inline constexpr const char* applicationTitle = "VELMORA v1.0";

} // namespace velmora
