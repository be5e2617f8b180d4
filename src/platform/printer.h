#pragma once
// Printing. A page drives a PrintDocument as it would drive a printer: it chooses a font,
// prints lines of text in it and draws pictures; then it hands the finished document to the
// printer service, which sends it to the system's default printer as one job or, when the
// user asks for it instead, writes the same pages to a PDF file.

#include <QImage>
#include <QList>
#include <QPointF>
#include <QString>
#include <deque>
#include <optional>

namespace corvel {

struct PrintFont {
  QString name = QStringLiteral("Arial");
  double points = 10;
  bool bold = false;
  friend bool operator==(const PrintFont&, const PrintFont&) = default;
};

class PrintDocument {
 public:
  struct Item {
    enum class Kind { Line, Picture };
    Kind kind = Kind::Line;
    QString text;    // Line: the text without a line end; TABs go to the next tab stop
    PrintFont font;  // Line: the font in force when it was printed
    QImage picture;  // Picture: drawn at its own size
    QPointF at;      // Picture: its top-left corner, in twips from the printable area's corner
  };

  // `title` names the job in the printer's queue and suggests the PDF file's name.
  explicit PrintDocument(QString title) : title_(std::move(title)) {}

  const QString& title() const { return title_; }

  // The font of the lines printed from now on; a new document starts in Arial 10.
  void SetFontName(const QString& name) { font_.name = name; }
  void SetFontSize(double points) { font_.points = points; }
  void SetFontBold(bool bold) { font_.bold = bold; }
  const PrintFont& font() const { return font_; }

  // Prints one line below the previous one (an empty text leaves an empty line).
  void PrintLine(const QString& text = QString()) {
    items_.append({Item::Kind::Line, text, font_, {}, {}});
  }
  // Draws a picture at its own size with its top-left corner at (left, top) twips.
  void DrawPicture(const QImage& picture, double left, double top) {
    items_.append({Item::Kind::Picture, {}, font_, picture, QPointF(left, top)});
  }

  const QList<Item>& items() const { return items_; }

 private:
  QString title_;
  PrintFont font_;
  QList<Item> items_;
};

class PrinterService {
 public:
  virtual ~PrinterService() = default;

  // Sends the document to the default printer as one job and ends the job. Nothing when the
  // job was handed over; otherwise the reason, as a sentence fragment ("no printer is set
  // up on this computer").
  virtual std::optional<QString> Print(const PrintDocument& document) = 0;

  // Writes the pages the printer would get to a PDF file at `path`. An earlier file there is
  // replaced only by a complete new one, and no temporary file is left behind. Nothing on
  // success; otherwise the system's reason.
  virtual std::optional<QString> SavePdf(const PrintDocument& document, const QString& path) = 0;
};

// The system's printing (Qt Print Support, through CUPS on Linux).
class QtPrinterService final : public PrinterService {
 public:
  std::optional<QString> Print(const PrintDocument& document) override;
  std::optional<QString> SavePdf(const PrintDocument& document, const QString& path) override;
};

// A test double: records every document and answers with queued failures; prints nothing.
class ScriptedPrinterService final : public PrinterService {
 public:
  struct SavedPdf {
    QString path;
    PrintDocument document;
  };

  std::optional<QString> Print(const PrintDocument& document) override;
  std::optional<QString> SavePdf(const PrintDocument& document, const QString& path) override;

  // The next Print fails with `reason` (queued in order; with none queued, printing works).
  void QueuePrintFailure(const QString& reason) { printFailures_.push_back(reason); }
  // The next SavePdf fails with `reason`.
  void QueuePdfFailure(const QString& reason) { pdfFailures_.push_back(reason); }

  // Every document handed to Print, the failed ones too.
  const QList<PrintDocument>& printed() const { return printed_; }
  const QList<SavedPdf>& pdfs() const { return pdfs_; }

 private:
  QList<PrintDocument> printed_;
  QList<SavedPdf> pdfs_;
  std::deque<std::optional<QString>> printFailures_;
  std::deque<std::optional<QString>> pdfFailures_;
};

}  // namespace corvel
