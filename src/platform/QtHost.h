#pragma once
// The real host: Qt dialogs, a nested event loop for modal windows, and the
// desktop launchers.

#include "Host.h"

namespace kvlink {

class QtHost : public Host {
 public:
  int msgBox(const QString& text, int style, const QString& title) override;
  std::optional<QString> askPassword(const QString& prompt, const QString& title) override;
  FileDialogResult fileDialog(const FileDialogRequest& request) override;
  void showModal(Form& form) override;
  void doEvents() override;
  void openInEditor(const QString& path, std::function<void()> ifNoneStarts) override;
  bool openFolder(const QString& path) override;
  void beep() override;
};

}  // namespace kvlink
