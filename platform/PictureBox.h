#pragma once

#include "core/Pictures.h"

class QLabel;

namespace velmora {

// Picture boxes: a QLabel showing a picture the loader decoded for it.
// path decoded to cover a stretched picture box on its screen (box size times the
// device pixel ratio), built-in artwork in its @2x drawing where the screen is dense.
// Throws PictureError.
QImage pictureForBox(Pictures& pictures, const QLabel* box, const QString& path);
// Shows path in a picture box (a QLabel): stretched to the box when stretch is true,
// at its own size otherwise (shrunk to fit, proportions kept, when larger than the box). Throws
// PictureError; the box keeps its old picture then.
void showPicture(Pictures& pictures, QLabel* box, const QString& path, bool stretch = true);
// Makes a picture box show nothing.
void clearPicture(QLabel* box);
// The picture a stretched picture box shows, decoded again for ratio device pixels per
// box pixel but no finer than its own pixels (a printed page is finer than the screen).
// Null when the box shows no stretched picture from a file, when that would be no
// finer than what it shows, or when the file can no longer be read.
QImage finerPicture(Pictures& pictures, const QLabel* box, qreal ratio);

} // namespace velmora
