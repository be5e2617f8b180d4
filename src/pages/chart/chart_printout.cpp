#include "pages/chart/chart_printout.h"

namespace corvel {

PrintDocument ChartPrintout(const QImage& picture) {
  PrintDocument document(QStringLiteral("Graph of SSE as a function of sweeps of training"));
  document.PrintLine(QStringLiteral(" "));
  if (!picture.isNull()) document.DrawPicture(picture, 0, 0);
  return document;
}

}  // namespace corvel
