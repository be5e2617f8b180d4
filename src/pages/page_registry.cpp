#include "pages/page_registry.h"

#include "state/public_stuff.h"

namespace corvel {

PageRegistry::PageRegistry(PublicStuff& state, Platform& platform, RegionalSettings settings)
    : state_(state), platform_(platform), settings_(std::move(settings)) {}

PageRegistry::~PageRegistry() {
  // Pages refer to the registry, so none may outlive it.
  ending_ = true;
  for (QPointer<Page>& page : pages_) delete page.data();
}

void PageRegistry::Register(PageId id, Factory factory) {
  factories_[static_cast<std::size_t>(id)] = std::move(factory);
}

Page* PageRegistry::Find(PageId id) const { return pages_[static_cast<std::size_t>(id)]; }

int PageRegistry::OpenCount() const {
  int n = 0;
  for (const QPointer<Page>& page : pages_) n += page ? 1 : 0;
  return n;
}

Page* PageRegistry::Open(PageId id) {
  if (ending_) return nullptr;
  Page* page = Find(id);
  if (!page) {
    const Factory& factory = factories_[static_cast<std::size_t>(id)];
    if (!factory) return nullptr;
    page = factory(*this);
    slot(id) = page;
    page->Form_Load();
  }
  page->show();
  page->raise();
  page->activateWindow();
  // The page is the active one from now on; its activation handler runs here rather than
  // whenever the window system gets round to it, so a way on (such as "Reset Weights And
  // Train Again") has taken effect by the time the page is on screen.
  if (NoteActivated(page)) page->Form_Activate();
  return page;
}

void PageRegistry::Close(PageId id) {
  if (Page* page = Find(id)) page->close();
}

void PageRegistry::PageClosing(Page* page) {
  QPointer<Page>& entry = slot(page->id());
  if (entry != page) return;
  entry.clear();
  if (!ending_ && OpenCount() == 0) {
    ending_ = true;
    emit programEnded();
  }
}

bool PageRegistry::NoteActivated(Page* page) {
  if (activePage_ == page) return false;
  activePage_ = page;
  return true;
}

void PageRegistry::ExitProgram() {
  if (ending_) return;
  ending_ = true;
  for (QPointer<Page>& page : pages_) {
    if (!page) continue;
    Page* closing = page;
    page.clear();
    closing->close();
  }
  emit programEnded();
}

void PageRegistry::RequestFreshNetwork() {
  state_.NewRun = 1;
  freshNetwork_ = true;
}

bool PageRegistry::TakeFreshNetworkRequest() {
  const bool requested = freshNetwork_;
  freshNetwork_ = false;
  return requested;
}

}  // namespace corvel
