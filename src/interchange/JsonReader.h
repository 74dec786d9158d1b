#pragma once

#include "ImportTypes.h"

#include <QByteArray>

namespace tessaly {

// The rows of a JSON array of program objects, one object a row, keyed by column name.
void readJson(const QByteArray& bytes, ParsedImport& parsed);

} // namespace tessaly
