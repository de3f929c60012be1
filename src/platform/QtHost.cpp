#include "QtHost.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <memory>

#include "Form.h"
#include "LostToBoxBeep.h"
#include "WindowKeys.h"
#include "platform/Launcher.h"

namespace kvlink {

namespace {

QMessageBox::Icon iconOf(int style) {
  switch (style & 0x70) {
    case vbCritical:
      return QMessageBox::Critical;
    case vbQuestion:
      return QMessageBox::Question;
    case vbExclamation:
      return QMessageBox::Warning;
    case vbInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

}  // namespace

int MsgBox(Host& host, const QString& text, int style, const QString& title) {
  return host.msgBox(text, style, title.isEmpty() ? kProgramTitle : title);
}

int QtHost::msgBox(const QString& text, int style, const QString& title) {
  QMessageBox box(iconOf(style), title.isEmpty() ? kProgramTitle : title, text);
  const bool yesNo = (style & 0x7) == vbYesNo;
  if (yesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  keepModifiedEnterAndEscFromButtons(box);
  const LostToBoxBeep lostToBox(box, *this);
  const int answer = box.exec();
  if (yesNo) return answer == QMessageBox::Yes ? vbYes : vbNo;
  return vbOK;
}

std::optional<QString> QtHost::askPassword(const QString& prompt, const QString& title) {
  bool ok = false;
  const QString text = QInputDialog::getText(nullptr, title.isEmpty() ? kProgramTitle : title,
                                             prompt, QLineEdit::Password, QString(), &ok);
  if (!ok) return std::nullopt;
  return text;
}

QStringList shownNameFilters(const QString& filter) {
  QStringList out;
  const QStringList parts = filter.split(QLatin1Char('|'));
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns;
    for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts))
      patterns << (p.trimmed() == QLatin1String("*.*") ? QStringLiteral("*") : p.trimmed());
    QString name = parts[i];
    const int paren = name.indexOf(QLatin1Char('('));
    if (paren > 0) name = name.left(paren).trimmed();
    out << QStringLiteral("%1 (%2)").arg(name, patterns.join(QLatin1Char(' ')));
  }
  return out;
}

FileDialogResult QtHost::fileDialog(const FileDialogRequest& request) {
  QFileDialog dialog(nullptr, request.title, request.initialDir);
  // Qt's own dialog matches the name filters without regard to case, so
  // "*.con" shows as written and still finds "UNIT.CON"; a desktop's dialog
  // may not.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.save || !(request.flags & cdlOFNFileMustExist)
                         ? QFileDialog::AnyFile
                         : QFileDialog::ExistingFile);
  if (!(request.flags & cdlOFNOverwritePrompt)) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (!request.filter.isEmpty()) dialog.setNameFilters(shownNameFilters(request.filter));
  if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
  FileDialogResult result;
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    result.cancelled = false;
    result.fileName = dialog.selectedFiles().first();
  }
  return result;
}

void QtHost::showModal(Form& form) {
  QPointer<Form> guard(&form);
  QEventLoop loop;
  QObject::connect(&form, &Form::hiddenOrClosed, &loop, &QEventLoop::quit);
  QObject::connect(&form, &QObject::destroyed, &loop, &QEventLoop::quit);
  form.setWindowModality(Qt::ApplicationModal);
  form.show();
  form.raise();
  form.activateWindow();
  loop.exec();
  if (guard) guard->setWindowModality(Qt::NonModal);
}

void QtHost::doEvents() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtHost::openInEditor(const QString& path, std::function<void()> ifNoneStarts) {
  // The editors are tried in the background; a timer of the window thread
  // looks for the outcome, so that ifNoneStarts runs where the windows live.
  auto outcome = std::make_shared<std::future<bool>>(kvlink::openInEditor(path.toStdString()));
  auto* watch = new QTimer(qApp);
  QObject::connect(watch, &QTimer::timeout, watch, [watch, outcome, ifNoneStarts] {
    if (outcome->wait_for(std::chrono::seconds(0)) != std::future_status::ready) return;
    watch->deleteLater();
    watch->stop();
    if (!outcome->get() && ifNoneStarts) ifNoneStarts();
  });
  watch->start(100);
}

bool QtHost::openFolder(const QString& path) {
  return kvlink::openFolder(path.toStdString());
}

void QtHost::beep() {
  QApplication::beep();
}

}  // namespace kvlink
