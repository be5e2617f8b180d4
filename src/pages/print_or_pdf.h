#pragma once
// Printing from a page, with a way out when there is no printer.

#include "platform/printer.h"

class QWidget;

namespace corvel {

class Platform;

// Sends `document` to the default printer. When that fails (no printer, or the job is
// refused), a question names the reason and offers to save the same pages as a PDF file;
// on Yes the user names the file, starting in `folder` (the training files' folder, one the
// student knows; the working directory when it is empty). A message then names the file's
// full path, or its path and the system's reason when it cannot be written. Nothing is left
// half done, and the page stays usable.
void PrintOrOfferPdf(QWidget* page, Platform& platform, const PrintDocument& document,
                     const QString& folder);

}  // namespace corvel
