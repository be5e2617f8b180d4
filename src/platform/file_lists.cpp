#include "platform/file_lists.h"

#include <QAccessible>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QKeyEvent>
#include <QStorageInfo>
#include <QTimer>

#include "platform/accessibility.h"
#include "platform/list_box.h"

namespace corvel {

QString UnreadableDirectoryMessage(const QString& dir) {
  const QFileInfo info(dir);
  QString reason;
  if (!info.exists())
    reason = QStringLiteral("it does not exist");
  else if (!info.isDir())
    reason = QStringLiteral("it is not a directory");
  else if (!info.isReadable() || !info.isExecutable())
    reason = QStringLiteral("permission denied");
  else
    return {};
  return QStringLiteral("The directory %1 cannot be read: %2.")
      .arg(QDir::toNativeSeparators(dir), reason);
}

QString WorkingDirectoryName() {
  const QString current = QDir::currentPath();
  if (!current.isEmpty()) return current;
  // Linux still links a deleted working directory to its old name, marked as deleted.
  QString name = QFileInfo(QStringLiteral("/proc/self/cwd")).symLinkTarget();
  const QString deleted = QStringLiteral(" (deleted)");
  if (name.endsWith(deleted)) name.chop(deleted.size());
  return name.isEmpty() ? qEnvironmentVariable("PWD") : name;
}

StartFolder FindStartFolder() {
  const QString start = WorkingDirectoryName();
  const QString fault =
      start.isEmpty() ? QStringLiteral("The directory the program started in no longer exists.")
                      : UnreadableDirectoryMessage(start);
  if (fault.isEmpty()) return {start, {}};
  const QString home = QDir::homePath();
  const QString instead = UnreadableDirectoryMessage(home).isEmpty() ? home : QDir::rootPath();
  return {instead,
          fault + QStringLiteral(" Opening %1 instead.").arg(QDir::toNativeSeparators(instead))};
}

namespace {

// The root of the volume holding `path`; the file system's root where the system reports no
// volume for it (in a chroot, say), since every folder lies under that.
QString DriveOf(const QString& path) {
  const QStorageInfo volume(path);
  return volume.isValid() && !volume.rootPath().isEmpty() ? volume.rootPath() : QDir::rootPath();
}

}  // namespace

// --- DriveList -------------------------------------------------------------------------

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    // Bind mounts of single files are not drives.
    if (!volume.isValid() || !QFileInfo(volume.rootPath()).isDir()) continue;
    const QString root = volume.rootPath();
    const QString name =
        volume.name().isEmpty() ? QString() : QStringLiteral("  [%1]").arg(volume.name());
    addItem(QDir::toNativeSeparators(root) + name, root);
  }
  // In a chroot the system lists no volume for the root; every folder still lies under it.
  if (findData(QDir::rootPath()) < 0)
    addItem(QDir::toNativeSeparators(QDir::rootPath()), QDir::rootPath());
  SelectDriveOf(QDir::currentPath());
  connect(this, &QComboBox::activated, this, &DriveList::Chosen);
}

QString DriveList::drive() const { return currentData().toString(); }

QStringList DriveList::drives() const {
  QStringList roots;
  for (int i = 0; i < count(); ++i) roots << itemData(i).toString();
  return roots;
}

bool DriveList::SelectDriveOf(const QString& path) {
  const int index = findData(DriveOf(path));
  if (index < 0) return false;
  setCurrentIndex(index);
  current_ = index;
  return true;
}

void DriveList::Chosen(int index) {
  if (index == current_) return;
  const QString root = itemData(index).toString();
  const QStorageInfo volume(root);
  if (!volume.isReady() || !UnreadableDirectoryMessage(root).isEmpty()) {
    setCurrentIndex(current_);
    emit readFailed(QStringLiteral("The drive %1 cannot be read (is a medium inserted?).")
                        .arg(QDir::toNativeSeparators(root)));
    return;
  }
  current_ = index;
  emit driveChanged(root);
}

// --- DirList ---------------------------------------------------------------------------

DirList::DirList(QWidget* parent) : QTreeView(parent), model_(new QFileSystemModel(this)) {
  model_->setFilter(QDir::Dirs | QDir::NoDotAndDotDot);
  model_->setReadOnly(true);
  setModel(model_);
  for (int column = 1; column < model_->columnCount(); ++column) hideColumn(column);
  setHeaderHidden(true);
  // A click or Enter opens a directory; the arrow keys only move through the list.
  connect(this, &QTreeView::clicked, this, &DirList::Chosen);
  connect(this, &QTreeView::activated, this, &DirList::Chosen);
  // The model reads the disk in the background: show the open directory once it is read.
  connect(model_, &QFileSystemModel::directoryLoaded, this, [this](const QString& dir) {
    if (path_.startsWith(QDir::cleanPath(dir))) Reveal();
  });
  // The model sorts after it reads, which moves rows: keep the open directory in view.
  connect(model_, &QAbstractItemModel::layoutChanged, this, [this] {
    if (currentIndex().isValid()) scrollTo(currentIndex());
  });
}

bool DirList::setPath(const QString& dir) { return Open(dir, true); }

bool DirList::Open(const QString& dir, bool expand) {
  const QString clean = QDir::cleanPath(QFileInfo(dir).absoluteFilePath());
  const QString fault = UnreadableDirectoryMessage(clean);
  if (!fault.isEmpty()) {
    emit readFailed(fault);
    return false;
  }
  const QString root = DriveOf(clean);
  if (model_->rootPath() != root) setRootIndex(model_->setRootPath(root));
  lastOnDrive_[root] = clean;
  const bool changed = clean != path_;
  path_ = clean;
  expandOpen_ = expand;
  Reveal();
  if (changed) emit pathChanged(path_);
  return true;
}

void DirList::Reveal() {
  const QModelIndex index = model_->index(path_);
  if (!index.isValid()) return;
  setCurrentIndex(index);
  if (expandOpen_) expand(index);
  scrollTo(index);  // also opens its parents
}

void DirList::keyPressEvent(QKeyEvent* event) {
  const QModelIndex before = currentIndex();
  QTreeView::keyPressEvent(event);
  // The user moved the highlight: the folder under it opens, without the folders inside it
  // spreading between it and the next. One that cannot be read stays closed until Enter or
  // a click asks for it, which then says why. (The model moves the highlight too, as it
  // reads the disk; that is not the user's choice and opens nothing.)
  const QModelIndex now = currentIndex();
  if (!now.isValid() || now == before) return;
  const QString dir = model_->filePath(now);
  if (UnreadableDirectoryMessage(dir).isEmpty()) Open(dir, false);
}

bool DirList::SetDrive(const QString& rootPath) {
  QString dir = lastOnDrive_.value(rootPath);
  if (dir.isEmpty()) {
    const QString cwd = QDir::currentPath();
    dir = DriveOf(cwd) == rootPath ? cwd : rootPath;
  }
  return setPath(dir);
}

void DirList::focusInEvent(QFocusEvent* event) {
  QTreeView::focusInEvent(event);
  // Qt announces the current row only when it changes while the tree has the focus, so a
  // screen reader arriving by Tab heard "Directory tree" and no folder. Qt's own news of the
  // tree's focus goes out after this handler; the row's follows on the next turn.
  QTimer::singleShot(0, this, &DirList::AnnounceCurrent);
}

void DirList::AnnounceCurrent() {
  const QModelIndex current = currentIndex();
  if (!current.isValid()) return;
  // The tree's accessible rows are all the expanded rows from the top, shown or scrolled away.
  int row = 0;
  for (QModelIndex i = model_->index(0, 0, rootIndex()); i.isValid() && i != current;
       i = indexBelow(i))
    ++row;
  AnnounceRow(this, row);
}

void DirList::Chosen(const QModelIndex& index) {
  if (!index.isValid() || setPath(model_->filePath(index))) return;
  setCurrentIndex(model_->index(path_));  // refused: show the directory still open
}

// --- FileList --------------------------------------------------------------------------

// The model reads the disk in the background and watches it; the list shows the names of
// the open directory's matching files, flat, which is also how screen readers see them.
FileList::FileList(const QString& pattern, const QString& kind, QWidget* parent)
    : QListWidget(parent), model_(new QFileSystemModel(this)), kind_(kind) {
  // Directories stay in the model (it needs the open one and its parents) but not the list.
  model_->setFilter(QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot);
  model_->setNameFilters({pattern});
  model_->setNameFilterDisables(false);
  model_->setReadOnly(true);
  setSelectionMode(SingleSelection);
  connect(this, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { emit fileDoubleClicked(item->text()); });
  connect(this, &QListWidget::itemSelectionChanged, this, [this] {
    if (!refilling_ && !fileName().isEmpty()) emit fileClicked(fileName());
  });
  connect(model_, &QFileSystemModel::directoryLoaded, this, [this](const QString& dir) {
    Refill();
    if (QDir::cleanPath(dir) == path_) emit loaded();
  });
  for (auto change : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
    connect(model_, change, this, &FileList::Refill);
  connect(model_, &QAbstractItemModel::layoutChanged, this, &FileList::Refill);
}

void FileList::setPath(const QString& dir) {
  path_ = QDir::cleanPath(dir);
  model_->setRootPath(path_);
  refilling_ = true;
  clear();
  refilling_ = false;
  Refill();
}

void FileList::Refill() {
  QStringList names;
  const QModelIndex root = model_->index(path_);
  if (root.isValid()) {
    for (int row = 0; row < model_->rowCount(root); ++row) {
      const QModelIndex entry = model_->index(row, 0, root);
      if (!model_->isDir(entry)) names << model_->fileName(entry);
    }
  }
  names.sort(Qt::CaseInsensitive);
  setAccessibleDescription(Count(static_cast<int>(names.size())));
  if (names == fileNames()) return;
  const QString selected = fileName();
  refilling_ = true;
  clear();
  addItems(names);
  if (!selected.isEmpty())
    if (const auto kept = findItems(selected, Qt::MatchExactly); !kept.isEmpty())
      setCurrentItem(kept.first());
  refilling_ = false;
}

QString FileList::fileName() const {
  const QList<QListWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? QString() : selected.first()->text();
}

QStringList FileList::fileNames() const {
  QStringList names;
  for (int row = 0; row < count(); ++row) names << item(row)->text();
  return names;
}

QModelIndex FileList::IndexOf(const QString& name) const {
  const auto found = findItems(name, Qt::MatchExactly);
  return found.isEmpty() ? QModelIndex() : model()->index(row(found.first()), 0);
}

QString FileList::Count(int files) const {
  if (files == 0) return QStringLiteral("no %1s").arg(kind_);
  return QStringLiteral("%1 %2%3").arg(files).arg(kind_,
                                                  files == 1 ? QString() : QStringLiteral("s"));
}

QString FileList::FolderSummary() const {
  const QDir dir(path_);
  const QString name = dir.isRoot() ? QDir::toNativeSeparators(path_) : dir.dirName();
  const qsizetype files = dir.entryList(model_->nameFilters(), QDir::Files).size();
  return QStringLiteral("%1: %2.").arg(name, Count(static_cast<int>(files)));
}

void FileList::focusInEvent(QFocusEvent* event) {
  QListWidget::focusInEvent(event);
  AnnounceChosen(*this);
}

void FileList::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !fileName().isEmpty()) {
    emit fileDoubleClicked(fileName());
    return;
  }
  if (!ChooseFirstOnDown(*this, *event)) QListWidget::keyPressEvent(event);
}

}  // namespace corvel
