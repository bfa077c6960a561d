#pragma once

#include <QSize>
#include <QString>

namespace velmora::bench {

// Writes a photograph-like JPEG (noise over gradients, so the decoder has real work)
// of `size` at path and returns path; `seed` varies the picture.
QString writePhoto(const QString& path, QSize size, quint32 seed);

} // namespace velmora::bench
