#pragma once

#include "ImportTypes.h"

namespace tessaly {

// The rows of a CSV file's text, as a spreadsheet may save it: with or without a BOM, CRLF or
// LF, separated by commas, semicolons or tabs as its header is, any field quoted, blank lines and
// empty columns at the end of each row, the columns in any order (AutoID, when present, is
// ignored).
void readCsv(const QString& text, ParsedImport& parsed);

} // namespace tessaly
