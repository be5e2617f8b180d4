#pragma once
// The platform services a page needs besides its own controls, bundled so that the
// program passes the real ones and tests pass scripted doubles.

#include <memory>

#include "platform/clipboard.h"
#include "platform/file_dialog.h"
#include "platform/input_box.h"
#include "platform/message_box.h"
#include "platform/printer.h"

namespace corvel {

class Platform {
 public:
  Platform(std::unique_ptr<MessageBoxService> messages, std::unique_ptr<InputBoxService> input,
           std::unique_ptr<PrinterService> printer, std::unique_ptr<FileDialogService> files,
           std::unique_ptr<ClipboardService> clipboard);
  virtual ~Platform();
  Platform(const Platform&) = delete;
  Platform& operator=(const Platform&) = delete;

  MessageBoxService& messageBox() { return *messages_; }
  InputBoxService& inputBox() { return *input_; }
  PrinterService& printer() { return *printer_; }
  FileDialogService& fileDialog() { return *files_; }
  ClipboardService& clipboard() { return *clipboard_; }

 private:
  std::unique_ptr<MessageBoxService> messages_;
  std::unique_ptr<InputBoxService> input_;
  std::unique_ptr<PrinterService> printer_;
  std::unique_ptr<FileDialogService> files_;
  std::unique_ptr<ClipboardService> clipboard_;
};

// Real dialogs and the system's printer.
std::unique_ptr<Platform> MakeQtPlatform();

// Scripted doubles that record what pages ask and never block.
class ScriptedPlatform final : public Platform {
 public:
  ScriptedPlatform();
  ScriptedMessageBoxService& messages() {
    return static_cast<ScriptedMessageBoxService&>(messageBox());
  }
  ScriptedInputBoxService& input() { return static_cast<ScriptedInputBoxService&>(inputBox()); }
  ScriptedPrinterService& printouts() { return static_cast<ScriptedPrinterService&>(printer()); }
  ScriptedClipboardService& clip() { return static_cast<ScriptedClipboardService&>(clipboard()); }
  ScriptedFileDialogService& files() {
    return static_cast<ScriptedFileDialogService&>(fileDialog());
  }
};

}  // namespace corvel
