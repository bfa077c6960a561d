#pragma once

#include <QStringList>

class QTextStream;

namespace velmora::datadir {

// velmora-datadir's command line: args without the program name. Results go to
// out, errors to err; returns the exit code (see Exit).
int run(const QStringList& args, QTextStream& out, QTextStream& err);

QString helpText();

} // namespace velmora::datadir
