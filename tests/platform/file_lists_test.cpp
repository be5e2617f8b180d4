// The drive, directory and file lists: the pattern, the paths passed between them, and
// unreadable directories.
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "platform/file_lists.h"

using namespace corvel;

namespace {
void Touch(const QString& path) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
}
}  // namespace

class FileListsTest final : public QObject {
  Q_OBJECT
 private slots:
  void fileListShowsMatchingFilesOnly();
  void dirListReportsChangesAndRefusals();
  void startFolderNamesADeletedWorkingDirectory();
};

void FileListsTest::fileListShowsMatchingFilesOnly() {
  QTemporaryDir dir;
  for (const char* name : {"a.net", "B.NET", "c.txt", "net", "d.net.bak"})
    Touch(dir.filePath(QString::fromLatin1(name)));
  QDir(dir.path()).mkdir(QStringLiteral("sub.net"));
  FileList files(QStringLiteral("*.net"));
  QSignalSpy loaded(&files, &FileList::loaded);
  files.setPath(dir.path());
  QTRY_VERIFY(loaded.count() > 0);
  QStringList names = files.fileNames();
  names.sort(Qt::CaseInsensitive);
  QCOMPARE(names, QStringList({QStringLiteral("a.net"), QStringLiteral("B.NET")}));
  QVERIFY(files.fileName().isEmpty());

  // Enter on the selected file counts as a double-click.
  QSignalSpy chosen(&files, &FileList::fileDoubleClicked);
  files.setCurrentIndex(files.IndexOf(QStringLiteral("a.net")));
  QTest::keyClick(&files, Qt::Key_Return);
  QCOMPARE(chosen.count(), 1);
  QCOMPARE(chosen.at(0).at(0).toString(), QStringLiteral("a.net"));
}

void FileListsTest::dirListReportsChangesAndRefusals() {
  QTemporaryDir dir;
  QDir(dir.path()).mkpath(QStringLiteral("one/two"));
  DirList dirs;
  QSignalSpy changed(&dirs, &DirList::pathChanged);
  QSignalSpy failed(&dirs, &DirList::readFailed);
  QVERIFY(dirs.setPath(dir.path()));
  QVERIFY(dirs.setPath(dir.filePath(QStringLiteral("one/two/.."))));
  QCOMPARE(dirs.path(), dir.filePath(QStringLiteral("one")));
  QVERIFY(dirs.setPath(dirs.path()));  // the same path again is no change
  QCOMPARE(changed.count(), 2);

  Touch(dir.filePath(QStringLiteral("plain")));
  QVERIFY(!dirs.setPath(dir.filePath(QStringLiteral("plain"))));
  QVERIFY(!dirs.setPath(dir.filePath(QStringLiteral("missing"))));
  QCOMPARE(failed.count(), 2);
  QVERIFY(failed.at(0).at(0).toString().contains(QStringLiteral("not a directory")));
  QVERIFY(failed.at(1).at(0).toString().contains(QStringLiteral("does not exist")));
  QCOMPARE(dirs.path(), dir.filePath(QStringLiteral("one")));
  QCOMPARE(changed.count(), 2);

  // A drive opens at the working directory first, then where this list last was on it. The
  // drive list holds the working drive (the root in a chroot, which reports no volume).
  QDir::setCurrent(dir.filePath(QStringLiteral("one/two")));
  const DriveList drives;
  const QString root = drives.drive();
  QVERIFY(QDir::currentPath().startsWith(root) && drives.drives().contains(root));
  DirList fresh;
  QVERIFY(fresh.SetDrive(root));
  QCOMPARE(fresh.path(), dir.filePath(QStringLiteral("one/two")));
  QVERIFY(fresh.setPath(dir.path()));
  QVERIFY(fresh.SetDrive(root));
  QCOMPARE(fresh.path(), QDir::cleanPath(dir.path()));
  QDir::setCurrent(QDir::tempPath());
}

void FileListsTest::startFolderNamesADeletedWorkingDirectory() {
  QTemporaryDir dir;
  const QString gone = dir.filePath(QStringLiteral("gone"));
  QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("gone")) && QDir::setCurrent(gone));
  QCOMPARE(FindStartFolder().path, gone);
  QVERIFY(QDir(dir.path()).rmdir(QStringLiteral("gone")));
  const StartFolder start = FindStartFolder();
  QDir::setCurrent(QDir::tempPath());
  QCOMPARE(start.path, QDir::homePath());
  QCOMPARE(start.fault, QStringLiteral("The directory %1 cannot be read: it does not exist. "
                                       "Opening %2 instead.")
                            .arg(gone, start.path));
}

QTEST_MAIN(FileListsTest)
#include "file_lists_test.moc"
