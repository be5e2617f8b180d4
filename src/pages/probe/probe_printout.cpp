#include "pages/probe/probe_printout.h"

namespace corvel {

PrintDocument ProbePrintout(const QString& trainingFileName, const QString& resultsText) {
  PrintDocument document(
      QStringLiteral("Results Of Testing Distributed Memory On %1").arg(trainingFileName));
  document.PrintLine();
  document.SetFontName(QStringLiteral("Courier"));
  document.SetFontSize(10);
  document.SetFontBold(true);
  document.PrintLine(QStringLiteral("Results Of Testing Distributed Memory On ") +
                     trainingFileName);
  document.SetFontBold(false);
  document.PrintLine();
  QStringList lines = resultsText.split(QStringLiteral("\r\n"));
  if (lines.last().isEmpty()) lines.removeLast();
  for (const QString& line : lines) document.PrintLine(line);
  return document;
}

}  // namespace corvel
