#pragma once

#include <QString>

class QPainter;

namespace artwork {

// The program's icon, a badge with a ball, drawn into a square of the given side. Only
// filled paths and gradients, so the SVG reads the same as the pictures.
void paintIcon(QPainter& p, int side);

// Writes velmora.svg and velmora-<side>.png for every icon size into dir.
bool writeIcons(const QString& dir);

} // namespace artwork
