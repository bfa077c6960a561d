// velmora-artwork: draws the program's built-in pictures.
//   velmora-artwork <output dir>                  pictures and LAYOUT.md
//   velmora-artwork --preview <dir>               pictures with stand-ins for the controls
//   velmora-artwork --icons <dir>                 the program's icon, SVG and PNG sizes

#include "Icon.h"
#include "Scene.h"
#include "Windows.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTextStream>

#include <cstdio>

namespace {

using namespace artwork;

bool fontsInstalled() {
    const QStringList families = QFontDatabase::families();
    bool ok = true;
    for (const QString& f : {kCorbel, kImpact, kArial}) {
        if (!families.contains(f)) {
            std::fprintf(stderr, "velmora-artwork: font family \"%s\" is not installed\n",
                         qPrintable(f));
            ok = false;
        }
    }
    return ok;
}

bool save(const QImage& image, const QString& path) {
    const bool jpeg = path.endsWith(QLatin1String(".jpg"));
    const QImage out = jpeg ? image.convertToFormat(QImage::Format_RGB32) : image;
    if (out.save(path, jpeg ? "JPEG" : "PNG", jpeg ? 92 : -1))
        return true;
    std::fprintf(stderr, "velmora-artwork: cannot write %s\n", qPrintable(path));
    return false;
}

// "main.jpg" -> "main@2x.jpg"
QString atTwice(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return name.left(dot) + QLatin1String("@2x") + name.mid(dot);
}

QString rectText(const QRect& r) {
    return QStringLiteral("%1, %2, %3 × %4")
        .arg(r.left())
        .arg(r.top())
        .arg(r.width())
        .arg(r.height());
}

// Where each picture goes, and the places of the controls of the windows whose layout is
// ours, as the windows' place tables (layout/) give them.
QString layoutNotes(const std::vector<Artwork>& all) {
    QString md;
    QTextStream out(&md);
    out << "# Built-in artwork: sizes and control places\n\n"
           "Written by `velmora-artwork` (tools/artwork) from the windows' place tables in "
           "`layout/`; do not edit by hand.\n\n"
           "## Pictures\n\n"
           "| File | Window | Picture size | Shown at (client) |\n|---|---|---|---|\n";
    for (const Artwork& a : all) {
        out << "| " << a.file << " | "
            << (a.window.isEmpty() ? QStringLiteral("button glyph") : a.window) << " | "
            << a.size.width() << " × " << a.size.height() << " | " << -a.origin.x() << ", "
            << -a.origin.y() << " |\n";
    }
    out << "\nEvery picture is drawn for its window at 1:1, so it needs no scaling, and again at "
           "2:1 as `name@2x` for screens at 200 %.\n";
    for (const Artwork& a : all) {
        if (!a.chosenLayout)
            continue;
        out << "\n## " << a.window << " (" << a.file << ")\n\n"
            << "| Control | Left, top, width × height |\n|---|---|\n";
        for (const Placed& c : a.controls)
            out << "| `" << c.name << "` | " << rectText(c.rect) << " |\n";
    }
    return md;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("--icons"))
        return artwork::writeIcons(args[1]) ? 0 : 1;
    const bool preview = args.size() == 2 && args[0] == QLatin1String("--preview");
    if (!(args.size() == 1 || preview)) {
        std::fprintf(stderr, "usage: velmora-artwork [--preview | --icons] <output dir>\n");
        return 2;
    }
    if (!fontsInstalled())
        return 1;
    const QDir dir(args.last());
    if (!QDir().mkpath(dir.path())) {
        std::fprintf(stderr, "velmora-artwork: cannot create %s\n", qPrintable(dir.path()));
        return 1;
    }
    const std::vector<Artwork> all = catalogue();
    for (const Artwork& a : all) {
        QString name = a.file;
        if (preview)
            name.replace(QRegularExpression(QStringLiteral("\\.jpg$")), QStringLiteral(".png"));
        if (!save(preview ? renderPreview(a) : render(a), dir.filePath(name)))
            return 1;
        // The program picks the twice-as-fine drawing on a high-density screen.
        if (!preview && !save(render(a, 2), dir.filePath(atTwice(name))))
            return 1;
    }
    if (!preview) {
        // The information page's words, for screen readers.
        for (const Artwork& a : all) {
            if (a.file != QLatin1String("info.jpg"))
                continue;
            QFile text(dir.filePath(QStringLiteral("info.txt")));
            if (!text.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
                text.write(plainText(a).toUtf8()) < 0) {
                std::fprintf(stderr, "velmora-artwork: cannot write info.txt\n");
                return 1;
            }
        }
        QFile notes(dir.filePath(QStringLiteral("LAYOUT.md")));
        if (!notes.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            notes.write(layoutNotes(all).toUtf8()) < 0) {
            std::fprintf(stderr, "velmora-artwork: cannot write LAYOUT.md\n");
            return 1;
        }
    }
    return 0;
}
