// The controls of the training-file page with their captions, fonts, places (twips inside
// the design client area of 10665 x 9135) and accessible names.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <iterator>

#include "pages/page_controls.h"
#include "pages/trainingfile/network1.h"
#include "platform/file_lists.h"
#include "platform/twips.h"

namespace corvel {
namespace {

const QString kArial = QStringLiteral("Arial");
const QString kSansSerif = QStringLiteral("MS Sans Serif");

}  // namespace

Network1::Controls Network1::BuildControls(QWidget* page) {
  page->setFont(PageFont(kArial, 12, true));
  Controls c{};

  c.Label1 = MakeLabel(page, QStringLiteral("Label1"),
                       QStringLiteral("Talvik Distributed Associative Memory Program 2003 Edition"),
                       PageFont(kArial, 20.25, true, true));
  c.Label1->setAlignment(Qt::AlignCenter);
  c.Label1->setWordWrap(true);  // two lines where the font is wider than the page
  PlaceTwips(c.Label1, 120, 60, 10425, 1035);

  c.FileLabel =
      MakeLabel(page, QStringLiteral("FileLabel"),
                QStringLiteral("Use \"Double Clicks\" To Choose The File To Train The Network"),
                PageFont(kSansSerif, 12, true));
  c.FileLabel->setAlignment(Qt::AlignCenter);
  PlaceTwips(c.FileLabel, 120, 1110, 10425, 420);

  const QFont listFont = PageFont(kSansSerif, 8.25);
  c.Drive1 = Named(new DriveList(page), QStringLiteral("Drive1"), listFont);
  // A combo box's accessible name is its current text; the description says what it is.
  c.Drive1->setAccessibleName(QStringLiteral("Drive"));
  c.Drive1->setAccessibleDescription(QStringLiteral("Drive"));
  PlaceTwips(c.Drive1, 480, 1620, 4455, 375);

  c.Dir1 = Named(new DirList(page), QStringLiteral("Dir1"), listFont);
  c.Dir1->setAccessibleName(QStringLiteral("Directory"));
  PlaceTwips(c.Dir1, 480, 2100, 4455, 3420);

  c.File1 = Named(new FileList(QStringLiteral("*.net"), QStringLiteral("training file"), page),
                  QStringLiteral("File1"), listFont);
  c.File1->setAccessibleName(QStringLiteral("Training Files"));
  PlaceTwips(c.File1, 5400, 1620, 4785, 3900);

  // The information block: a heading, then one row per value, caption left, box right.
  const QStringList captions = {QStringLiteral("Training File Information"),
                                QStringLiteral("File Name:"), QStringLiteral("# of Output Units:"),
                                QStringLiteral("# of Input Units:"),
                                QStringLiteral("# of Patterns:")};
  c.Label8[0] = MakeLabel(page, QStringLiteral("Label8(0)"), captions[0],
                          PageFont(kArial, 10.5, true, false, true));
  PlaceTwips(c.Label8[0], 480, 5760, 4455, 330);
  for (int row = 1; row <= 4; ++row) {
    const double top = 6180 + (row - 1) * 420;
    c.Label8[row] = MakeLabel(page, QStringLiteral("Label8(%1)").arg(row), captions[row],
                              PageFont(kArial, 7.5, true));
    c.Label8[row]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    PlaceTwips(c.Label8[row], 480, top, 1815, 330);
    QLineEdit* box = Named(new QLineEdit(page), QStringLiteral("OutputText(%1)").arg(row - 1),
                           PageFont(kArial, 8.25));
    // Read-only but in the Tab order, so a screen reader can go back to any value; its caption
    // is its label, and the description says what it shows.
    box->setReadOnly(true);
    c.Label8[row]->setBuddy(box);
    QString what = captions[row];
    what.chop(1);
    box->setAccessibleDescription(what);
    PlaceTwips(box, 2415, top, 2520, 330);
    c.OutputText[row - 1] = box;
  }

  c.NextPage =
      Named(new QPushButton(QStringLiteral("Go To Next Page To Set Training Parameters"), page),
            QStringLiteral("NextPage"), page->font());
  PlaceTwips(c.NextPage, 480, 7980, 6600, 540);

  c.Command2 = Named(new QPushButton(QStringLiteral("Exit"), page), QStringLiteral("Command2"),
                     PageFont(kArial, 12, true, true));
  PlaceTwips(c.Command2, 8385, 7980, 1800, 540);
  for (QPushButton* button : {c.NextPage, c.Command2}) {
    button->setAccessibleName(button->text());
    button->setAutoDefault(true);  // Enter presses the focused button
  }

  c.Label3 = MakeLabel(page, QStringLiteral("Label3"),
                       QStringLiteral("Double-click a training file to see its sizes, then go on "
                                      "to the next page to set training parameters."),
                       PageFont(kArial, 8.25, false, true));
  c.Label3->setAlignment(Qt::AlignCenter);
  PlaceTwips(c.Label3, 120, 8700, 10425, 300);

  // Reading order: drives, directories, files, the file's values, then the buttons.
  QWidget* const order[] = {c.Drive1,        c.Dir1,          c.File1,
                            c.OutputText[0], c.OutputText[1], c.OutputText[2],
                            c.OutputText[3], c.NextPage,      c.Command2};
  for (std::size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
  return c;
}

}  // namespace corvel
