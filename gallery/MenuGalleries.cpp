#include "gallery/MenuGalleries.h"

#include <stdexcept>

namespace velmora {

// Placeholder until the galleries land.
void runMenuGallery(VelmoraApp&, MenuGallery) {
    throw std::runtime_error("Galeria ainda não disponível.");
}

} // namespace velmora
