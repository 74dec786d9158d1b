#pragma once

#include "ImportTypes.h"

#include <QString>

namespace tessaly {

// The rows of a JSON array of program objects, one object a row, keyed by column name.
// A number is taken as the file writes it, never through a double.
void readJson(const QString& text, ParsedImport& parsed);

} // namespace tessaly
