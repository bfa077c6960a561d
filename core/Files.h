#pragma once

#include <QString>

class QFileDevice;

namespace velmora::files {

bool exists(const QString& path);
// Copies source to target, never overwriting and never leaving half a file under
// target's name; throws Error with a Portuguese message naming the file and the
// reason on failure (a full disk named as such).
void copyNoOverwrite(const QString& source, const QString& target);
// Why a write to file failed, in the user's words; systemError is errno as the
// failed call left it. A full disk is told with the store's own words for it.
QString writeFailure(const QFileDevice& file, int systemError);
// Whether that failure was a full disk.
bool diskFull(const QFileDevice& file, int systemError);
// Deletes a file; returns false when it could not (missing, in use).
bool remove(const QString& path);
// Removes a file the user may want back: into the desktop's trash where the system
// has one, else deleted. Returns false when it could do neither (missing, in use).
bool trash(const QString& path);
// Creates a directory (and its parents) when missing; throws on failure.
void ensureDir(const QString& path);
// Last path component ("C:/a/escudo.jpg" -> "escudo.jpg"; either separator).
QString fileName(const QString& path);

} // namespace velmora::files
