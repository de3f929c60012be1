#pragma once
// The one door through which the program reaches a person or the desktop:
// message boxes, password prompts, file dialogs, modal windows, the event
// pump and the desktop launchers. QtHost is the real one; ScriptedHost
// answers from a script in tests.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>

namespace kvlink {

class Form;

// Message box styles and answers, with the platform's numbers.
enum MsgBoxStyle : int {
  vbOKOnly = 0,
  vbYesNo = 4,
  vbCritical = 16,
  vbQuestion = 32,
  vbExclamation = 48,
  vbInformation = 64,
};
enum MsgBoxResult : int { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

// Title shown by a message box that has none of its own.
inline const QString kProgramTitle = QStringLiteral("KV-LINK27");

// Common dialog flags.
enum FileDialogFlag : int { cdlOFNOverwritePrompt = 2, cdlOFNFileMustExist = 4096 };
// The error number a cancelled common dialog raises.
constexpr int cdlCancel = 32755;

struct FileDialogRequest {
  bool save = false;
  QString title;
  QString filter;  // "Config Files (*.con)|*.con|All Files (*.*)|*.*"
  QString initialDir;
  QString fileName;
  int flags = 0;
};

// The dialog's file types as shown: "Config Files (*.con)|*.con|All Files
// (*.*)|*.*" gives "Config Files (*.con)" and "All Files (*)". The dialog
// matches each pattern without regard to case ("*.con" also finds "X.CON").
QStringList shownNameFilters(const QString& filter);

struct FileDialogResult {
  bool cancelled = true;
  QString fileName;  // full path when not cancelled
};

class Host {
 public:
  virtual ~Host() = default;

  // Shows a message box and returns the answer (vbOK, vbYes or vbNo). An
  // empty title means the program's title. A box with Yes and No answers No
  // to any dismissal other than Yes.
  virtual int msgBox(const QString& text, int style, const QString& title) = 0;

  // Asks for a password with a masked entry; nullopt when cancelled.
  virtual std::optional<QString> askPassword(const QString& prompt, const QString& title) = 0;

  virtual FileDialogResult fileDialog(const FileDialogRequest& request) = 0;

  // Shows the window modally: returns when it is hidden or destroyed. Timers
  // keep ticking meanwhile.
  virtual void showModal(Form& form) = 0;

  // Lets pending events (timers, clicks, repaints) run.
  virtual void doEvents() = 0;

  // Opens the file in the operator's editor and returns at once. When no
  // editor could be started, ifNoneStarts runs later, from the event loop.
  virtual void openInEditor(const QString& path, std::function<void()> ifNoneStarts) = 0;
  // Opens the folder in the desktop's file manager; false when that could not
  // be started.
  virtual bool openFolder(const QString& path) = 0;

  // Sounds the desktop's bell: the operator's input was not acted on.
  virtual void beep() = 0;

  // The state the operator's input is made in, as a number that changes with
  // every change of the selected station or of the link: input kept back
  // while a window is held acts only while it is the same. Set by the
  // program for as long as it runs.
  void setInputContext(std::function<uint64_t()> context) { inputContext_ = std::move(context); }
  uint64_t inputContext() const { return inputContext_ ? inputContext_() : 0; }

 private:
  std::function<uint64_t()> inputContext_;
};

// MsgBox as the program calls it; a box without a title shows "KV-LINK27".
int MsgBox(Host& host, const QString& text, int style = vbOKOnly, const QString& title = {});

}  // namespace kvlink
