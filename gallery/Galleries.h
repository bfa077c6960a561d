#pragma once

namespace velmora {

struct Services;
class TFrmAno;
class TFrmRelatorios;
class TFrmSelFeder;

// The two choosers and the page their galleries fill.
struct GalleryWindows {
    TFrmAno& years;
    TFrmSelFeder& federations;
    TFrmRelatorios& page;
};

// Connects them: a chooser's OK runs its gallery on the page.
void connectGalleries(Services& services, const GalleryWindows& windows);

} // namespace velmora
