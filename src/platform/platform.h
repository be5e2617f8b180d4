#pragma once
// The platform services a page needs besides its own controls, bundled so that the
// program passes the real ones and tests pass scripted doubles.

#include <memory>

#include "platform/input_box.h"
#include "platform/message_box.h"

namespace corvel {

class Platform {
 public:
  Platform(std::unique_ptr<MessageBoxService> messages, std::unique_ptr<InputBoxService> input);
  virtual ~Platform();
  Platform(const Platform&) = delete;
  Platform& operator=(const Platform&) = delete;

  MessageBoxService& messageBox() { return *messages_; }
  InputBoxService& inputBox() { return *input_; }

 private:
  std::unique_ptr<MessageBoxService> messages_;
  std::unique_ptr<InputBoxService> input_;
};

// Real dialogs.
std::unique_ptr<Platform> MakeQtPlatform();

// Scripted doubles that record what pages ask and never block.
class ScriptedPlatform final : public Platform {
 public:
  ScriptedPlatform();
  ScriptedMessageBoxService& messages() { return *messages_; }
  ScriptedInputBoxService& input() { return *input_; }

 private:
  ScriptedPlatform(std::unique_ptr<ScriptedMessageBoxService> m,
                   std::unique_ptr<ScriptedInputBoxService> i);
  ScriptedMessageBoxService* messages_;
  ScriptedInputBoxService* input_;
};

}  // namespace corvel
