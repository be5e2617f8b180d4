#pragma once
// SaveResults: the user chooses a directory and a file name, picks the sections of the
// results report, and writes it. An existing file is replaced only after a Yes to the
// overwrite question, and only by a complete report; every failure gets a message naming
// the path and the system's reason, and the page stays open.

#include <array>

#include "pages/frame/page_frame.h"
#include "pages/page.h"
#include "report/results_report.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace corvel {

class Announcer;
class DirList;
class DisplayBox;
class DriveList;
class FileList;

class SaveResults final : public Page {
  Q_OBJECT
 public:
  explicit SaveResults(PageRegistry& registry);

  void Form_Load() override;

  // Handlers, public so tests and scripts can drive the page as the user would.
  void Drive1_Change();
  void Dir1_Change();
  void File1_Click();
  void FileButton_Click();
  void DirButton_Click();
  void SaveFile_Click();
  void Command2_Click();

  PageFrame& frame() { return frame_; }

 private:
  // The sections the check boxes ask for, indexed as the boxes are.
  ReportSections ChosenSections() const;
  // The name chosen in the file list or typed, shown on the page and made the report's path.
  void ChooseFile(const QString& name);
  // The foot notice names the file "Save The File" writes, in full, or asks for one.
  void ShowTarget();
  void SetNotice(const QString& text);
  void WriteReport(const QString& path);
  // The input box's answer; empty text also when it was cancelled.
  QString Ask(const QString& prompt, const QString& title);
  void ShowFault(const QString& text, const QString& title);

  PageFrame frame_;
  Announcer* announcer_;  // tells screen readers what shows away from the focus
  QLabel* Label1;
  QLabel* Label2;
  DriveList* Drive1;
  DirList* Dir1;
  FileList* File1;
  QPushButton* DirButton;
  QPushButton* FileButton;
  QLabel* FileLabel;
  DisplayBox* FileNameLabel;
  QLabel* PropertyLabel;
  std::array<QCheckBox*, kReportSectionCount> Check1;
  QPushButton* SaveFile;
  QPushButton* Command2;
  QLabel* Label3;
};

}  // namespace corvel
