#pragma once
// "Select  Destination Directory": a directory list, opened on the program's
// current directory at first and keeping the directory last chosen while the
// window stays loaded. OK puts the chosen directory into the auto-retrieve
// window's destination; Cancel changes nothing; "Run Explorer" opens the
// desktop's file manager there (to create a directory, for instance).

#include <QFileSystemModel>
#include <QPushButton>
#include <QTreeView>

#include "Form.h"

namespace kvlink {

class Program;

inline const QString kAutoSaveDirCaption = QStringLiteral("Select  Destination Directory");

class AutoSaveDir : public Form {
  Q_OBJECT
 public:
  explicit AutoSaveDir(Program& program);

  QTreeView* Dir1 = nullptr;
  QPushButton* SSCommand3 = nullptr;  // "Run Explorer"
  QPushButton* SSCommand1 = nullptr;  // "OK"
  QPushButton* SSCommand2 = nullptr;  // "Cancel"

  // The directory open in the list, without a trailing '/' (except "/").
  QString path() const;
  void setPath(const QString& directory);

  void SSCommand1_Click();  // OK
  void SSCommand2_Click();  // Cancel
  void SSCommand3_Click();  // Run Explorer

 private:
  void buildDesign();

  Program& program_;
  QFileSystemModel* model_ = nullptr;
  QString path_;
};

}  // namespace kvlink
