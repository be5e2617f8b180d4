#pragma once
// A page not built yet: its caption, its frame and its closing button, which does what that
// button does on the finished page. It lets every way between pages be followed.

#include <functional>

#include "pages/frame/page_frame.h"
#include "pages/page.h"

class QPushButton;

namespace corvel {

class PlaceholderPage final : public Page {
  Q_OBJECT
 public:
  struct Design {
    PageId id;
    QString caption;
    FrameDesign frame;
    QString buttonName;     // object name of the closing button
    QString buttonCaption;  // its caption
  };
  PlaceholderPage(PageRegistry& registry, const Design& design);

  void Form_Load() override;
  PageFrame& frame() { return frame_; }

 private:
  void Button_Click();
  PageFrame frame_;
  QPushButton* button_;
};

// The placeholder for page `id`.
Page* CreatePlaceholder(PageRegistry& registry, PageId id);

}  // namespace corvel
