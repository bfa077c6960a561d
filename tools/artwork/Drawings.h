#pragma once

#include "Scene.h"

#include <QFont>

class QPainter;

namespace artwork {

QFont makeFont(const FontSpec& spec);
void paintElement(QPainter& p, const Element& e);

// The illustrations: a ball, a stadium, pitch markings and the button glyphs.
void paintOrnament(QPainter& p, const Ornament& o);

} // namespace artwork
