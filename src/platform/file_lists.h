#pragma once
// Drive, directory and file lists kept in step by their page: the drive list holds the
// mounted file systems, the directory list the directories of the selected drive with the
// current one open, and the file list the files of one directory whose names match a
// pattern (letter case ignored). The directory and file lists share nothing; the page
// passes paths from one to the next when the change signals fire.
//
// A drive or directory that cannot be read is not opened: the list keeps its previous
// choice and reports the fault through readFailed, so the page stays usable.

#include <QComboBox>
#include <QHash>
#include <QListWidget>
#include <QTreeView>

class QFileSystemModel;

namespace corvel {

class DriveList final : public QComboBox {
  Q_OBJECT
 public:
  explicit DriveList(QWidget* parent = nullptr);

  // Root path of the selected drive ("/" or "/media/usb").
  QString drive() const;
  // Selects the drive holding `path`; false when no listed drive holds it.
  bool SelectDriveOf(const QString& path);
  // Root paths of the listed drives.
  QStringList drives() const;

 signals:
  // The user chose another drive, and it can be read.
  void driveChanged(const QString& rootPath);
  void readFailed(const QString& message);

 private:
  void Chosen(int index);
  int current_ = -1;
};

// The directory the highlight is on is the open one: moving with the arrow keys opens each
// folder reached (so the file list beside shows its files), and Enter or a click also
// expands it to show the folders inside.
class DirList final : public QTreeView {
  Q_OBJECT
 public:
  explicit DirList(QWidget* parent = nullptr);

  QString path() const { return path_; }
  // Opens `dir` (an absolute directory) and expands it. Emits pathChanged when the path
  // changes, or readFailed and keeps the old path when `dir` cannot be read.
  bool setPath(const QString& dir);
  // Opens the directory last used on the drive at `rootPath`: the last one this list
  // showed there, the program's working directory when it lies on that drive, or the root.
  bool SetDrive(const QString& rootPath);

 signals:
  void pathChanged(const QString& dir);
  void readFailed(const QString& message);

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool Open(const QString& dir, bool expand);
  void Chosen(const QModelIndex& index);
  void Reveal();
  // Tells screen readers that the open directory's row has the focus.
  void AnnounceCurrent();
  QFileSystemModel* model_;
  QString path_;
  QHash<QString, QString> lastOnDrive_;
  bool expandOpen_ = true;  // the open directory shows the folders inside it
};

class FileList final : public QListWidget {
  Q_OBJECT
 public:
  // `kind` names one such file ("training file"): the list's description says how many the
  // directory holds, so that an empty list does not leave a screen reader user guessing.
  FileList(const QString& pattern, const QString& kind, QWidget* parent = nullptr);

  QString path() const { return path_; }
  void setPath(const QString& dir);
  // The selected file's name without its directory; empty when none is selected.
  QString fileName() const;
  // Names shown, in list order (only those already read from the disk).
  QStringList fileNames() const;
  // Index of the row showing `name`, for tests and scripts.
  QModelIndex IndexOf(const QString& name) const;
  // "examples: 4 training files." (or "no training files", "1 training file"), counted on
  // the disk, so that it is right at once even while the list is still being filled.
  QString FolderSummary() const;

 signals:
  // The user selected a file (a click, the arrow keys, or an assistive tool's selection).
  void fileClicked(const QString& fileName);
  // A file was double-clicked (or Enter was pressed on the selected file).
  void fileDoubleClicked(const QString& fileName);
  // Emitted when the directory's entries have been read.
  void loaded();

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Refill();
  QString Count(int files) const;
  QFileSystemModel* model_;
  QString kind_;
  QString path_;
  bool refilling_ = false;  // selection changes made by Refill are not the user's
};

// "The directory /x cannot be read: it does not exist." and the like.
QString UnreadableDirectoryMessage(const QString& dir);

// The program's working directory, named even after it was deleted (a shell sitting in a
// folder that was then removed starts the program there): QDir::currentPath() is empty then,
// so the old name comes from /proc/self/cwd, or else from the shell's PWD. Empty only when
// neither knows it.
QString WorkingDirectoryName();

// Where file browsing starts: the working directory when it can be read; otherwise the
// user's home folder (or, when that cannot be read either, the root of the file system),
// with a message naming the working directory, why it cannot be read and what opens instead.
struct StartFolder {
  QString path;
  QString fault;  // empty when `path` is the working directory
};
StartFolder FindStartFolder();

}  // namespace corvel
