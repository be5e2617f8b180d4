#pragma once
// The pages of a run of the program, each open at most once, and the ways between them.
//
// Open(id) creates the page if it does not exist (its factory, then Form_Load), then shows
// it, raises it and makes it the active window, running its Form_Activate when another page
// was active before. Close(id) closes and destroys the page; the
// next Open creates it afresh. The program ends (programEnded) when the last open page is
// closed, or at once on ExitProgram. Pages never include each other: each page kind is
// created by the factory registered under its id.
//
// Fresh network: NewRun is 1 both after "Start Training" and on the two ways that ask for a
// new network (going on from the training-file page, and "Reset Weights And Train Again").
// Only the latter must make the set-up page re-create the unit and connection arrays, so
// those paths call RequestFreshNetwork (which also sets NewRun to 1) before opening
// DistMem, and DistMem's Form_Load and Form_Activate re-create the arrays only when
// TakeFreshNetworkRequest returns true. Activating DistMem again after a finished run (for
// example clicking it while the hub is open) therefore keeps the trained weights.

#include <QObject>
#include <QPointer>
#include <array>
#include <functional>

#include "pages/page.h"
#include "pages/page_id.h"
#include "report/formats.h"

namespace corvel {

struct PublicStuff;
class Platform;

class PageRegistry final : public QObject {
  Q_OBJECT
 public:
  using Factory = std::function<Page*(PageRegistry&)>;

  // The state and platform outlive the registry.
  PageRegistry(PublicStuff& state, Platform& platform, RegionalSettings settings);
  ~PageRegistry() override;

  // Sets the factory that creates page `id`; replaces an earlier one.
  void Register(PageId id, Factory factory);

  // Creates (when closed) and brings page `id` to the front. Returns nullptr only when no
  // factory is registered for it or the program is ending.
  Page* Open(PageId id);
  // Closes and destroys page `id` if it is open.
  void Close(PageId id);
  // Closes every page and ends the program at once.
  void ExitProgram();

  bool IsOpen(PageId id) const { return Find(id) != nullptr; }
  Page* Find(PageId id) const;
  // Number of open pages.
  int OpenCount() const;

  PublicStuff& State() { return state_; }
  Platform& platform() { return platform_; }
  const RegionalSettings& regionalSettings() const { return settings_; }

  // NewRun := 1 and the next load or activation of DistMem re-creates the network arrays.
  void RequestFreshNetwork();
  // True once after RequestFreshNetwork; the caller then re-creates the arrays.
  bool TakeFreshNetworkRequest();
  bool FreshNetworkRequested() const { return freshNetwork_; }

  // What the program remembers while it runs beyond the network state: choices made on one
  // page that a page opened later starts from.
  struct Remembered {
    // The folder the loaded training file came from, one the student knows: a printout saved
    // as PDF starts there. Empty before a file is loaded.
    QString trainingFolder;
    bool logarithmicSSEScale = false;  // the SSE chart's scale
  };
  Remembered& remembered() { return remembered_; }

  // Tells the pages that show the network that its weights or its shape changed. The set-up
  // page calls it when it makes or clears the network, as a run goes on and when it ends; the
  // training-file page when a set is loaded.
  void NotifyNetworkChanged() { emit networkChanged(); }
  // True while a training run holds the program (the set-up page says so): a page that
  // redraws from the network then takes little of the run's time.
  bool TrainingRunGoing() const { return trainingRunGoing_; }
  void SetTrainingRunGoing(bool going) { trainingRunGoing_ = going; }
  // A page that draws the network says when it has drawn what it was told of and is ready
  // for newer weights; while a run trains, the set-up page then has the run copy them out.
  bool WantsLiveWeights() const { return wantsLiveWeights_; }
  void SetWantsLiveWeights(bool wants) { wantsLiveWeights_ = wants; }

  // Called by a page whose window is closing (from its frame or through Close).
  void PageClosing(Page* page);

  // Called when a page's window becomes active. True when the page takes over from another
  // page (or from none): only then does its activation handler run. Coming back from the
  // program's own message boxes, or from another application, keeps the same page active
  // and so runs nothing; a failed run's page stays as the failure left it.
  bool NoteActivated(Page* page);

 signals:
  // The last page was closed or ExitProgram was called: the program should end.
  void programEnded();
  void networkChanged();

 private:
  QPointer<Page>& slot(PageId id) { return pages_[static_cast<std::size_t>(id)]; }

  PublicStuff& state_;
  Platform& platform_;
  RegionalSettings settings_;
  std::array<Factory, kAllPages.size()> factories_;
  std::array<QPointer<Page>, kAllPages.size()> pages_;
  QPointer<Page> activePage_;
  Remembered remembered_;
  bool freshNetwork_ = false;
  bool trainingRunGoing_ = false;
  bool wantsLiveWeights_ = false;
  bool ending_ = false;
};

}  // namespace corvel
