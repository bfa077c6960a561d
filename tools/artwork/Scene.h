#pragma once

// A picture is a list of elements painted in order, in the client coordinates of the window
// that shows it, so every position below can be read against that window's control table.

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <variant>
#include <vector>

namespace artwork {

// The windows name Corbel, Impact and Arial; these are the installed look-alikes.
inline const QString kCorbel = QStringLiteral("Carlito");
inline const QString kImpact = QStringLiteral("Bebas Neue");
inline const QString kArial = QStringLiteral("Liberation Sans");

struct FontSpec {
    QString family;
    qreal pixelSize = 14;
    bool bold = false;
    qreal letterSpacing = 0; // extra pixels between letters
    bool italic = false;
};

enum class Surface {
    Pitch,  // deep navy to green, with mowing stripes and a vignette
    Night,  // darker pitch for header bands
    Paper,  // warm off-white page
    Page,   // plain white, for pages that are printed
    Orange, // accent band
    Clear,  // transparent (glyphs)
};

// Fills a rectangle (the whole picture when it is the first element).
struct Fill {
    QRectF rect;
    Surface surface;
    qreal radius = 0;
};

enum class PanelStyle {
    Card,    // white, soft shadow
    Glass,   // translucent navy over a dark surface
    Outline, // white with a hairline border: little ink on printed pages
    Well,    // light inset where a picture goes
    Frame,   // white frame with a shadow, for pictures on a dark surface
};

struct Panel {
    QRectF rect;
    PanelStyle style = PanelStyle::Card;
    qreal radius = 8;
    QString heading = {};     // drawn in a band across the top when set
    qreal headingHeight = 28; // height of that band
};

struct Disc {
    QPointF centre;
    qreal radius;
    QColor fill;
    QColor ring;
    qreal ringWidth = 0;
};

// One line of text; `at` is the baseline point the alignment refers to.
struct Text {
    QString text;
    FontSpec font;
    QPointF at;
    QColor colour;
    Qt::Alignment align = Qt::AlignLeft;
};

// A short rule, e.g. under a heading.
struct Rule {
    QRectF rect;
    QColor colour;
};

// A line through points, e.g. the passes joining the counters.
struct Path {
    QPolygonF points;
    QColor colour;
    qreal width = 2;
    bool dashed = false;
};

enum class Drawing { Ball, Stadium, PitchLines, Glow, Floppy, Cross, Check, Pin };

struct Ornament {
    Drawing drawing;
    QRectF rect;
    qreal opacity = 1.0;
};

// A numbered block of notes: a heading, then wrapped paragraphs; a line that starts with
// "• " is a bullet.
struct Note {
    QRectF rect;
    QString number;
    QString heading;
    QStringList lines;
};

using Element = std::variant<Fill, Panel, Disc, Text, Rule, Path, Ornament, Note>;

// A control the window places over the picture: used to write the layout notes and
// to draw previews that check the picture against the controls.
enum class Control { Label, Picture, Edit, Combo, Button, Radio };

struct Placed {
    QString name;
    Control kind;
    QRect rect; // zero size for labels sized to their text
    QString sample = {};
    FontSpec font = {kCorbel, 15, true};
    QColor colour = Qt::black;
    Qt::Alignment align = Qt::AlignLeft;
};

struct Artwork {
    QString file;
    QSize size;        // the picture's pixel size
    QPoint origin;     // where client (0, 0) falls in the picture
    QString window;    // window object, for the layout notes
    bool chosenLayout; // true when the controls' places are ours, not given
    std::vector<Element> elements;
    std::vector<Placed> controls = {};
};

// scale 2 draws the same picture twice as fine, for high-density screens.
QImage render(const Artwork& art, qreal scale = 1);
// The words on the picture as plain text, in reading order: a heading or a line per
// paragraph, a blank line between blocks.
QString plainText(const Artwork& art);
QImage renderPreview(const Artwork& art);

} // namespace artwork
