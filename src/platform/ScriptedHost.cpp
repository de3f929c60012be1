#include "ScriptedHost.h"

#include <QCoreApplication>

#include "Form.h"

namespace kvlink {

void ScriptedHost::clearRecords() {
  boxes_.clear();
  prompts_.clear();
  dialogRequests_.clear();
  shownFilters_.clear();
  launched_.clear();
  doEventsCount_ = 0;
  modalCount_ = 0;
  beeps_ = 0;
}

int ScriptedHost::msgBox(const QString& text, int style, const QString& title) {
  boxes_.push_back({text, style, title.isEmpty() ? kProgramTitle : title});
  if (boxHook_) boxHook_(boxes_.back());
  const bool yesNo = (style & 0x7) == vbYesNo;
  int answer = yesNo ? vbNo : vbOK;
  if (!boxAnswers_.empty()) {
    answer = boxAnswers_.front();
    boxAnswers_.pop_front();
  }
  if (yesNo && answer != vbYes) answer = vbNo;
  return answer;
}

std::optional<QString> ScriptedHost::askPassword(const QString& prompt, const QString&) {
  prompts_.push_back(prompt);
  std::optional<QString> answer;
  if (!passwords_.empty()) {
    answer.swap(passwords_.front());
    passwords_.pop_front();
  }
  return answer;
}

FileDialogResult ScriptedHost::fileDialog(const FileDialogRequest& request) {
  dialogRequests_.push_back(request);
  shownFilters_.push_back(shownNameFilters(request.filter));
  if (dialogs_.empty()) return {};
  auto answer = dialogs_.front();
  dialogs_.pop_front();
  return answer;
}

void ScriptedHost::showModal(Form& form) {
  ++modalCount_;
  form.show();
  if (modals_.empty()) return;
  auto action = std::move(modals_.front());
  modals_.pop_front();
  action(form);
}

void ScriptedHost::doEvents() {
  ++doEventsCount_;
  // Actions queued by these actions wait for the next pump.
  auto due = std::move(pumpActions_);
  pumpActions_.clear();
  for (auto& action : due) action();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void ScriptedHost::openInEditor(const QString& path, std::function<void()> ifNoneStarts) {
  launched_.push_back(QStringLiteral("editor:") + path);
  if (!editorStarts && ifNoneStarts) ifNoneStarts();
}
bool ScriptedHost::openFolder(const QString& path) {
  launched_.push_back(QStringLiteral("folder:") + path);
  return true;
}

}  // namespace kvlink
