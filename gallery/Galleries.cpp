#include "gallery/Galleries.h"

#include "gallery/Anos.h"
#include "gallery/FederSel.h"
#include "gallery/GalleryCommand.h"

namespace velmora {

void connectGalleries(Services& services, const GalleryWindows& w) {
    TFrmRelatorios& page = w.page;
    TFrmAno& years = w.years;
    TFrmSelFeder& federations = w.federations;
    QObject::connect(&years, &TFrmAno::galleryChosen, &page,
                     [&services, &page, &years](const QString& choice) {
                         runGallery(services, page, TFrmAno::gallery(), choice, &years);
                     });
    QObject::connect(&federations, &TFrmSelFeder::galleryChosen, &page,
                     [&services, &page, &federations](const QString& choice) {
                         runGallery(services, page, TFrmSelFeder::gallery(), choice, &federations);
                     });
}

} // namespace velmora
