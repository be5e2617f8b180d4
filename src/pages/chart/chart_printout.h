#pragma once
// What "Print The Graph" sends to the printer.

#include "platform/printer.h"

namespace corvel {

// A line holding one blank, then `picture` at its own size at the top-left corner of the
// printable area. A null picture (the clipboard held none) leaves the blank line alone.
PrintDocument ChartPrintout(const QImage& picture);

}  // namespace corvel
