#pragma once
// The system clipboard's picture behind an interface.

#include <QImage>

namespace corvel {

class ClipboardService {
 public:
  virtual ~ClipboardService() = default;

  // Puts `picture` on the clipboard, replacing what it held.
  virtual void SetPicture(const QImage& picture) = 0;
  // The picture the clipboard holds; a null image when it holds none.
  virtual QImage Picture() const = 0;
};

// The system clipboard.
class QtClipboardService final : public ClipboardService {
 public:
  void SetPicture(const QImage& picture) override;
  QImage Picture() const override;
};

// A test double: a clipboard of its own that other programs cannot see.
class ScriptedClipboardService final : public ClipboardService {
 public:
  void SetPicture(const QImage& picture) override { picture_ = picture; }
  QImage Picture() const override { return picture_; }

 private:
  QImage picture_;
};

}  // namespace corvel
