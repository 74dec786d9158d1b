#pragma once

class QWidget;

namespace tessaly {

// For start-up measurements: when TESSALY_EXIT_AFTER_FIRST_PAINT is set, prints "painted" on
// standard output as soon as `window` has been painted for the first time and ends the event
// loop. Does nothing otherwise.
void exitAfterFirstPaintWhenAsked(QWidget& window);

} // namespace tessaly
