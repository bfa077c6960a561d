#pragma once

#include <QString>

namespace velmora::files {

bool exists(const QString& path);
// Copies source to target, never overwriting; throws Error with a
// Portuguese message naming the file and the reason on failure.
void copyNoOverwrite(const QString& source, const QString& target);
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
