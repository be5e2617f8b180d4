#pragma once
// The base of every page: a top-level, non-modal window laid out in twips, with the load
// and activation handlers and access to what all pages share (the network state, the
// page registry, the platform services and the regional settings).
//
// Pages are created only by the registry (PageRegistry::Open), which runs Form_Load once
// after construction and then shows the page. Closing a page (from its frame or through the
// registry) destroys it.

#include <QWidget>

#include "pages/page_id.h"
#include "report/formats.h"

namespace corvel {

class PageRegistry;
class Platform;
struct PublicStuff;

class Page : public QWidget {
  Q_OBJECT
 public:
  // `caption` is the window title.
  Page(PageRegistry& registry, PageId id, const QString& caption);

  PageId id() const { return id_; }

  // Runs once, after the page's controls exist and before it is first shown.
  virtual void Form_Load() {}
  // Runs each time the page becomes the active page of the program (see
  // PageRegistry::NoteActivated: not on coming back from a message box).
  virtual void Form_Activate() {}

 protected:
  PageRegistry& registry() { return registry_; }
  PublicStuff& State();
  Platform& platform();
  const RegionalSettings& regionalSettings() const;

  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  PageRegistry& registry_;
  PageId id_;
};

}  // namespace corvel
