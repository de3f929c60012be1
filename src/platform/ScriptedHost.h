#pragma once
// A host for tests: answers every box, prompt and dialog from a script,
// records what was shown, and can run an action inside the next event pump
// so that re-entrant handlers can be exercised. It never blocks.

#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "Host.h"

namespace kvlink {

class ScriptedHost : public Host {
 public:
  struct ShownBox {
    QString text;
    int style = 0;
    QString title;
  };

  // Answers given to the next boxes, prompts and dialogs, in order. A box
  // with no scripted answer gets vbOK (or vbNo for a Yes/No box); a prompt
  // with none is cancelled; a dialog with none is cancelled.
  void answerBox(int answer) { boxAnswers_.push_back(answer); }
  void answerPassword(std::optional<QString> text) { passwords_.push_back(std::move(text)); }
  void answerFileDialog(FileDialogResult result) { dialogs_.push_back(std::move(result)); }
  // Runs inside the next showModal instead of waiting for a person.
  void onNextModal(std::function<void(Form&)> action) { modals_.push_back(std::move(action)); }
  // Runs inside the next doEvents.
  void atNextDoEvents(std::function<void()> action) { pumpActions_.push_back(std::move(action)); }
  // Runs at every msgBox, after it is recorded (to act "under" a box).
  void onEveryBox(std::function<void(const ShownBox&)> action) { boxHook_ = std::move(action); }

  const std::vector<ShownBox>& boxes() const { return boxes_; }
  const std::vector<QString>& passwordPrompts() const { return prompts_; }
  const std::vector<FileDialogRequest>& dialogRequests() const { return dialogRequests_; }
  // The file types each dialog showed (shownNameFilters).
  const std::vector<QStringList>& shownFilters() const { return shownFilters_; }
  const std::vector<QString>& launched() const { return launched_; }
  int doEventsCount() const { return doEventsCount_; }
  int modalCount() const { return modalCount_; }
  int beeps() const { return beeps_; }
  void clearRecords();

  int msgBox(const QString& text, int style, const QString& title) override;
  std::optional<QString> askPassword(const QString& prompt, const QString& title) override;
  FileDialogResult fileDialog(const FileDialogRequest& request) override;
  void showModal(Form& form) override;
  void doEvents() override;
  // Records "editor:<path>"; when editorStarts is false, ifNoneStarts runs
  // at once.
  void openInEditor(const QString& path, std::function<void()> ifNoneStarts) override;
  bool openFolder(const QString& path) override;
  bool editorStarts = true;
  void beep() override { ++beeps_; }

 private:
  std::deque<int> boxAnswers_;
  std::deque<std::optional<QString>> passwords_;
  std::deque<FileDialogResult> dialogs_;
  std::deque<std::function<void(Form&)>> modals_;
  std::deque<std::function<void()>> pumpActions_;
  std::function<void(const ShownBox&)> boxHook_;
  std::vector<ShownBox> boxes_;
  std::vector<QString> prompts_;
  std::vector<FileDialogRequest> dialogRequests_;
  std::vector<QStringList> shownFilters_;
  std::vector<QString> launched_;
  int doEventsCount_ = 0;
  int modalCount_ = 0;
  int beeps_ = 0;
};

}  // namespace kvlink
