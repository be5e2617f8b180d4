#include "platform/platform.h"

namespace corvel {

Platform::Platform(std::unique_ptr<MessageBoxService> messages,
                   std::unique_ptr<InputBoxService> input)
    : messages_(std::move(messages)), input_(std::move(input)) {}

Platform::~Platform() = default;

std::unique_ptr<Platform> MakeQtPlatform() {
  return std::make_unique<Platform>(std::make_unique<QtMessageBoxService>(),
                                    std::make_unique<QtInputBoxService>());
}

ScriptedPlatform::ScriptedPlatform()
    : ScriptedPlatform(std::make_unique<ScriptedMessageBoxService>(),
                       std::make_unique<ScriptedInputBoxService>()) {}

// The base owns the doubles; the raw pointers give tests their scripted interfaces.
ScriptedPlatform::ScriptedPlatform(std::unique_ptr<ScriptedMessageBoxService> m,
                                   std::unique_ptr<ScriptedInputBoxService> i)
    : Platform(std::move(m), std::move(i)),
      messages_(static_cast<ScriptedMessageBoxService*>(&messageBox())),
      input_(static_cast<ScriptedInputBoxService*>(&inputBox())) {}

}  // namespace corvel
