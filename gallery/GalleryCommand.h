#pragma once

#include "gallery/Relatorios.h"
#include "store/Listing.h"
#include "store/Statements.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace velmora {

class Database;
class Form;
class Query;
struct Services;

// Every gallery is one command of the same shape; a GalleryDef says what differs.

// The steps a gallery runs, in the order its definition lists them.
enum class GalleryStep {
    RequireChoice, // the chooser's choice is empty: warn, stop (chooser stays open)
    Entry,         // entry box; the answer upper-cased by locale rules, not trimmed
    Listing,       // the listing statement with its parameter, on a fresh query
    StopIfNoEntry, // empty entry or Cancel: stop without a message
    WarnIfEmpty,   // the listing has no row: warn, stop
    Count,         // the count statement on QueryTodosClubes
    Title,         // LblTitulo and the two title pictures
    CloseIfNone,   // choosers: count "0" or no row: close the chooser, warn, stop
    Fill,          // the page fill from the first row
    CloseChooser,
};

// How the value (entry or choice) is bound to the gallery's parameter.
enum class ParamKind {
    None,
    Text,    // as it stands
    Pattern, // between two "%" signs
    Integer, // read as a whole number
};

// What a title is built from.
struct TitleInput {
    const Query& first; // the listing on its first row
    QString value;      // the entry or choice as bound (a year in decimal digits)
    QString count;      // the count statement's value, as text
};
using TitleBuilder = std::function<QString(const TitleInput&)>;

// One of the two title pictures: loaded from a column of the first row or emptied,
// then shown, hidden or left as it was.
struct TitlePicture {
    enum class Box { Band, Feder };
    Box box = Box::Band;
    int column = -1; // -1: emptied
    std::optional<bool> visible{};
};

struct GalleryDef {
    QString prompt{};             // entry box prompt (Entry step)
    QStringList listingColumns{}; // columns after the listing's own (listing::Extra on)
    QStringList listingFrom{};    // lines after the columns
    Statement storeListing{};     // the store's listing with a shortcut, instead of the two above
    Statement count{};            // Count step
    QString parameter{};          // ":ESTADO"; empty with ParamKind::None
    ParamKind paramKind = ParamKind::None;
    TitleBuilder title{};
    std::vector<TitlePicture> titlePictures{}; // in the order they are set
    QString noChoiceWarning{};                 // RequireChoice step
    QString emptyWarning{};                    // WarnIfEmpty and CloseIfNone steps
    SlotRule rule = SlotRule::Standard;
    PageButton button = PageButton::TodosClubes;
    std::vector<GalleryStep> steps{};

    Statement listing() const {
        return storeListing.lines().isEmpty() ? listing::statement(listingColumns, listingFrom)
                                              : storeListing;
    }
};

// Title builders of the common shapes, joined without further spaces.
TitleBuilder countedTitle(const QString& prefix);                       // prefix (count)
TitleBuilder countedTitleWithColumn(const QString& prefix, int column); // prefix col (count)
TitleBuilder countedTitleWithValue(const QString& prefix);              // prefix value (count)

// Runs a gallery on the page; failures go to the general error report. `choice` is the
// chooser's current text and `chooser` the window the chooser steps close (null for
// menu galleries).
void runGallery(Services& services, TFrmRelatorios& page, const GalleryDef& def,
                const QString& choice = {}, Form* chooser = nullptr);

} // namespace velmora
