// Draws our own emblems: federation logos (a round or shield emblem with the
// acronym, one colour scheme per federation family) and the sample catalogue's
// badges (a two-colour shape with the club's initials). Written as JPEG.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <QTextStream>
#include <cstdio>
#include <functional>

namespace {

using Row = QHash<QString, QString>;

QList<Row> readTsv(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        throw std::runtime_error(("cannot read " + path).toStdString());
    QTextStream in(&f);
    in.setEncoding(QStringConverter::Utf8);
    const QStringList header = in.readLine().split('\t');
    QList<Row> rows;
    while (!in.atEnd()) {
        const QStringList cells = in.readLine().split('\t');
        if (cells.size() < header.size())
            continue;
        Row row;
        for (int i = 0; i < header.size(); ++i)
            row.insert(header[i], cells[i]);
        rows.append(row);
    }
    return rows;
}

QPainterPath shapePath(const QString& shape, const QRectF& r) {
    QPainterPath p;
    if (shape == "circle") {
        p.addEllipse(r);
    } else if (shape == "diamond") {
        p.moveTo(r.center().x(), r.top());
        p.lineTo(r.right(), r.center().y());
        p.lineTo(r.center().x(), r.bottom());
        p.lineTo(r.left(), r.center().y());
        p.closeSubpath();
    } else { // shield: flat top, straight sides, curved point
        const qreal side = r.top() + r.height() * 0.55;
        p.moveTo(r.topLeft());
        p.lineTo(r.topRight());
        p.lineTo(r.right(), side);
        p.quadTo(r.right(), r.bottom() - r.height() * 0.12, r.center().x(), r.bottom());
        p.quadTo(r.left(), r.bottom() - r.height() * 0.12, r.left(), side);
        p.closeSubpath();
    }
    return p;
}

// Text as an outlined path, scaled down until it fits the given width.
QPainterPath fittedText(const QString& text, const QPointF& centre, qreal maxWidth, int maxPx) {
    QFont font("DejaVu Sans");
    font.setBold(true);
    int px = maxPx;
    for (; px > 8; --px) {
        font.setPixelSize(px);
        if (QFontMetricsF(font).horizontalAdvance(text) <= maxWidth)
            break;
    }
    font.setPixelSize(px);
    const QFontMetricsF fm(font);
    QPainterPath path;
    path.addText(centre.x() - fm.horizontalAdvance(text) / 2,
                 centre.y() + (fm.ascent() - fm.descent()) / 2, font, text);
    return path;
}

void drawLabel(QPainter& p, const QPainterPath& text) {
    p.setPen(QPen(QColor("#111111"), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(text);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(text);
}

// A shape split diagonally in two colours, a dark rim and outlined lettering.
QImage drawEmblem(int size, const QString& shape, const QColor& c1, const QColor& c2,
                  const QString& text, const QString& subText) {
    QImage img(size, size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(0, 0, size, size).adjusted(10, 10, -10, -10);
    const QPainterPath outline = shapePath(shape, box);
    p.setPen(Qt::NoPen);
    p.setBrush(c1);
    p.drawPath(outline);
    QPainterPath lower;
    lower.moveTo(box.bottomLeft());
    lower.lineTo(box.left(), box.center().y() + box.height() * 0.15);
    lower.lineTo(box.right(), box.center().y() - box.height() * 0.15);
    lower.lineTo(box.bottomRight());
    lower.closeSubpath();
    p.setBrush(c2);
    p.drawPath(outline.intersected(lower));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor("#202020"), size / 40.0));
    p.drawPath(outline);
    const QPainterPath inner = shapePath(shape, box.adjusted(12, 12, -12, -12));
    p.setPen(QPen(c2.lightness() > 200 ? QColor("#202020") : QColor(Qt::white), 2));
    p.drawPath(inner);
    const qreal textWidth = box.width() * (shape == "diamond" ? 0.55 : 0.72);
    const QPointF centre = box.center() - QPointF(0, subText.isEmpty() ? 0 : size * 0.06);
    drawLabel(p, fittedText(text, centre, textWidth, size / 4));
    if (!subText.isEmpty())
        drawLabel(p,
                  fittedText(subText, centre + QPointF(0, size * 0.2), textWidth * 0.6, size / 8));
    return img;
}

void save(const QImage& img, const QString& path) {
    if (!img.save(path, "JPEG", 90))
        throw std::runtime_error(("cannot write " + path).toStdString());
}

struct Family {
    QString shape;
    QColor c1, c2;
};

Family familyOf(const Row& fed) {
    const QString name = fed["name"];
    if (name == "FIFA")
        return {"circle", QColor("#1d4f91"), QColor("#c9a227")};
    if (name == "CBF")
        return {"shield", QColor("#009c3b"), QColor("#ffdf00")};
    if (fed["uf"].isEmpty()) // the six confederations
        return {"circle", QColor("#5b2c83"), QColor("#e0e0e0")};
    return {"shield", QColor("#8b1a1a"), QColor("#f2f2f2")}; // state federations
}

void drawLogos(const QString& tsv, const QString& outDir) {
    for (const Row& fed : readTsv(tsv)) {
        const Family f = familyOf(fed);
        const QString acronym = fed["name"].section('-', 0, 0);
        const QString file = QDir(outDir).filePath(fed["name"].toLower() + ".jpg");
        save(drawEmblem(200, f.shape, f.c1, f.c2, acronym, fed["uf"]), file);
    }
}

void drawBadges(const QString& tsv, const QString& outDir) {
    for (const Row& club : readTsv(tsv))
        save(drawEmblem(201, club["Forma"], QColor(club["Cor1"]), QColor(club["Cor2"]),
                        club["Sigla"], {}),
             QDir(outDir).filePath(club["Escudo"]));
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QHash<QString, std::function<void(const QString&, const QString&)>> commands = {
        {"logos", drawLogos}, {"badges", drawBadges}};
    if (args.size() != 4 || !commands.contains(args[1])) {
        std::fprintf(stderr, "usage: velmora-emblems logos|badges <table.tsv> <out-dir>\n");
        return 2;
    }
    try {
        QDir().mkpath(args[3]);
        commands[args[1]](args[2], args[3]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velmora-emblems: %s\n", e.what());
        return 1;
    }
    return 0;
}
