#include "platform/platform.h"

namespace corvel {

Platform::Platform(std::unique_ptr<MessageBoxService> messages,
                   std::unique_ptr<InputBoxService> input, std::unique_ptr<PrinterService> printer,
                   std::unique_ptr<FileDialogService> files,
                   std::unique_ptr<ClipboardService> clipboard)
    : messages_(std::move(messages)),
      input_(std::move(input)),
      printer_(std::move(printer)),
      files_(std::move(files)),
      clipboard_(std::move(clipboard)) {}

Platform::~Platform() = default;

std::unique_ptr<Platform> MakeQtPlatform() {
  return std::make_unique<Platform>(
      std::make_unique<QtMessageBoxService>(), std::make_unique<QtInputBoxService>(),
      std::make_unique<QtPrinterService>(), std::make_unique<QtFileDialogService>(),
      std::make_unique<QtClipboardService>());
}

// The base owns the doubles; the accessors above hand tests their scripted interfaces.
ScriptedPlatform::ScriptedPlatform()
    : Platform(std::make_unique<ScriptedMessageBoxService>(),
               std::make_unique<ScriptedInputBoxService>(),
               std::make_unique<ScriptedPrinterService>(),
               std::make_unique<ScriptedFileDialogService>(),
               std::make_unique<ScriptedClipboardService>()) {}

}  // namespace corvel
