#include "FileMenuCommands.h"

#include "ConfigFileModule.h"
#include "ConfigFileTexts.h"
#include "Form1.h"
#include "Host.h"
#include "enc.h"

namespace kvlink {

void setConfigFileItemsEnabled(Program& program, bool on) {
  // After the program end the main window is not created again.
  if (auto* main = program.Form1.ifLoaded()) {
    main->mnuopen->setEnabled(on);
    main->mnusaveset->setEnabled(on);
  }
}

void Form1_mnuopen_Click(Program& program) {
  setConfigFileItemsEnabled(program, false);
  if (CheckPassword(program, 1) != kPasswordGranted) {
    setConfigFileItemsEnabled(program, true);
    return;
  }
  configFileModule(program).ConfigWarning().Show();
}

void Form1_mnusaveset_Click(Program& program) {
  setConfigFileItemsEnabled(program, false);
  configFileModule(program).FormSaveInfo().Show();
}

void Form1_mnuNotepad_Click(Program& program) {
  FileDialogRequest request;
  request.filter = QString::fromUtf8(kConFileFilter);
  request.flags = cdlOFNFileMustExist;
  const FileDialogResult chosen = program.host.fileDialog(request);
  if (chosen.cancelled) return;
  const QString file = chosen.fileName;
  program.host.openInEditor(file, [&program, file] {
    MsgBox(program.host, QString::fromUtf8(kEditorNotStartedText).arg(file), vbCritical);
  });
}

}  // namespace kvlink
