#pragma once
// What the page tests share: the training set "overlap.net" and a fixture holding the
// network state, the scripted platform and the page registry, in a fresh working directory.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "pages/page_factories.h"
#include "pages/page_registry.h"
#include "platform/platform.h"
#include "state/public_stuff.h"

namespace corvel {

inline QString Q(const std::string& s) { return QString::fromStdString(s); }

// As if "overlap.net" had been loaded: three inputs, two outputs and two patterns that share
// input 2, so the Hebb rule overshoots while the Delta rule converges.
inline void LoadOverlapSet(PublicStuff& s) {
  s.TrainingFileName = "overlap.net";
  s.NumInputUnits = 3;
  s.NumOutputUnits = s.NumPatterns = 2;
  s.InputPatterns = Array2D<double>(3, 2);
  s.DesiredOutputs = Array2D<double>(2, 2);
  s.InputPatterns(1, 1) = s.InputPatterns(2, 1) = 1.0;
  s.InputPatterns(2, 2) = s.InputPatterns(3, 2) = 1.0;
  s.DesiredOutputs(1, 1) = s.DesiredOutputs(2, 2) = 1.0;
}

// The rows of the table under "## `section`" in docs/robustness.md, each a list of its cells
// with their backquotes taken off. The page tests check every row against the page.
inline QList<QStringList> RobustnessRows(const QString& section) {
  QFile file(QStringLiteral(CORVEL_DOCS_DIR "/robustness.md"));
  if (!file.open(QIODevice::ReadOnly)) qFatal("cannot read %s", qPrintable(file.fileName()));
  const QString text = QString::fromUtf8(file.readAll());
  const QString part = text.section(QStringLiteral("\n## ") + section + QLatin1Char('\n'), 1)
                           .section(QStringLiteral("\n## "), 0, 0);
  QList<QStringList> rows;
  for (const QString& line : part.split(QLatin1Char('\n'))) {
    if (!line.startsWith(QStringLiteral("| `"))) continue;  // not a row, or the header row
    QStringList cells = line.mid(2, line.size() - 4).split(QStringLiteral(" | "));
    for (QString& cell : cells) {
      if (cell.startsWith(QLatin1Char('`')) && cell.endsWith(QLatin1Char('`')))
        cell = cell.mid(1, cell.size() - 2);
    }
    rows.append(cells);
  }
  if (rows.isEmpty()) qFatal("no rows under %s", qPrintable(section));
  return rows;
}

// What a "Typed" cell stands for.
inline QString TypedText(const QString& cell) {
  if (cell == QStringLiteral("(empty)")) return {};
  if (cell == QStringLiteral("(spaces)")) return QStringLiteral("   ");
  if (cell == QStringLiteral("(1000 nines)")) return QString(1000, QLatin1Char('9'));
  if (cell == QStringLiteral("(300 letters)")) return QString(300, QLatin1Char('n'));
  return cell;
}

// Every page registered; none open yet.
struct PageFixture {
  QTemporaryDir dir;
  PublicStuff state;
  ScriptedPlatform platform;
  PageRegistry pages{state, platform, RegionalSettings{}};

  PageFixture() {
    QDir::setCurrent(dir.path());
    RegisterAllPages(pages);
  }
  ~PageFixture() { QDir::setCurrent(QDir::tempPath()); }

  QString Path(const QString& name) const { return QDir::cleanPath(dir.filePath(name)); }
  template <class W = QWidget>
  W* Get(PageId id, const QString& name) {
    W* w = pages.Find(id)->findChild<W*>(name);
    if (!w) qFatal("no control %s", qPrintable(name));
    return w;
  }
  const QList<ScriptedMessageBoxService::Call>& messages() { return platform.messages().calls(); }
};

}  // namespace corvel
