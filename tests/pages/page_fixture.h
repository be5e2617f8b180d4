#pragma once
// What the page tests share: the training set "overlap.net" and a fixture holding the
// network state, the scripted platform and the page registry, in a fresh working directory.

#include <QDir>
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
