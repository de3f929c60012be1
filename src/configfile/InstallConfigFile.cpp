#include "InstallConfigFile.h"

#include "ConfigFileModule.h"
#include "FileMenuCommands.h"
#include "Form1.h"

namespace kvlink {

void installConfigFile(Program& program) {
  auto module = std::make_unique<ConfigFileModule>(program);
  ConfigFileModule& files = *module;
  program.addModule(std::move(module));
  program.addWindowKind(&files.kind);

  Form1& main = program.Form1();
  // The editor item goes right after the two items of the configuration files.
  const QList<QAction*> items = main.mnuFile->actions();
  const qsizetype saveAt = items.indexOf(main.mnusaveset);
  QAction* before = saveAt + 1 < items.size() ? items[saveAt + 1] : nullptr;
  files.mnuNotepad = new QAction(QStringLiteral("Edit CON file (&Notepad)"), main.mnuFile);
  files.mnuNotepad->setObjectName(QStringLiteral("mnuNotepad"));
  main.mnuFile->insertAction(before, files.mnuNotepad);

  const std::pair<QAction*, void (*)(Program&)> commands[] = {
      {main.mnuopen, &Form1_mnuopen_Click},
      {main.mnusaveset, &Form1_mnusaveset_Click},
      {files.mnuNotepad, &Form1_mnuNotepad_Click},
  };
  for (const auto& command : commands) {
    const auto handler = command.second;
    QObject::connect(command.first, &QAction::triggered, &main,
                     [&program, handler] { handler(program); });
  }
}

}  // namespace kvlink
