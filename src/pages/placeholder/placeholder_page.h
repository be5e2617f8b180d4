#pragma once
// The SSE chart page until it is built: its caption, its frame and "Exit This Page", so the
// hub's way to it can be followed.

#include "pages/frame/page_frame.h"
#include "pages/page.h"

namespace corvel {

class PlaceholderPage final : public Page {
  Q_OBJECT
 public:
  explicit PlaceholderPage(PageRegistry& registry);

  void Form_Load() override;
  PageFrame& frame() { return frame_; }

 private:
  PageFrame frame_;
};

Page* CreatePlaceholder(PageRegistry& registry);

}  // namespace corvel
