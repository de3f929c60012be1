#include "AutoSaveDir.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include "AutoRetrieveModule.h"
#include "Host.h"
#include "Program.h"

namespace kvlink {

AutoSaveDir::AutoSaveDir(Program& program)
    : Form(program.host, QStringLiteral("AutoSaveDir")), program_(program) {
  buildDesign();
  setPath(QDir::currentPath());
}

void AutoSaveDir::buildDesign() {
  setWindowTitle(kAutoSaveDirCaption);

  model_ = new QFileSystemModel(this);
  model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  model_->setRootPath(QDir::rootPath());

  Dir1 = new QTreeView(this);
  Dir1->setObjectName(QStringLiteral("Dir1"));
  Dir1->setModel(model_);
  for (int column = 1; column < model_->columnCount(); ++column) Dir1->hideColumn(column);
  Dir1->header()->hide();
  Dir1->setMinimumSize(320, 280);
  connect(Dir1->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (current.isValid()) path_ = QDir::cleanPath(model_->filePath(current));
          });

  SSCommand3 = new QPushButton(QStringLiteral("Run Explorer"), this);
  SSCommand3->setObjectName(QStringLiteral("SSCommand3"));
  SSCommand1 = new QPushButton(QStringLiteral("OK"), this);
  SSCommand1->setObjectName(QStringLiteral("SSCommand1"));
  SSCommand1->setDefault(true);
  SSCommand2 = new QPushButton(QStringLiteral("Cancel"), this);
  SSCommand2->setObjectName(QStringLiteral("SSCommand2"));
  connect(SSCommand1, &QPushButton::clicked, this, [this] { SSCommand1_Click(); });
  connect(SSCommand2, &QPushButton::clicked, this, [this] { SSCommand2_Click(); });
  connect(SSCommand3, &QPushButton::clicked, this, [this] { SSCommand3_Click(); });

  auto* buttons = new QHBoxLayout();
  buttons->addWidget(SSCommand3);
  buttons->addStretch(1);
  buttons->addWidget(SSCommand1);
  buttons->addWidget(SSCommand2);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Dir1, 1);
  layout->addLayout(buttons);
}

QString AutoSaveDir::path() const {
  return path_;
}

void AutoSaveDir::setPath(const QString& directory) {
  path_ = QDir::cleanPath(QDir(directory).absolutePath());
  const QModelIndex index = model_->index(path_);
  if (!index.isValid()) return;
  Dir1->setCurrentIndex(index);
  Dir1->expand(index);
  Dir1->scrollTo(index);
}

void AutoSaveDir::SSCommand1_Click() {
  const QString chosen = path();
  AutoRetrieveModule& m = program_.module<AutoRetrieveModule>();
  m.AutoSave().Label7->setText(chosen);
  Hide();
}

void AutoSaveDir::SSCommand2_Click() {
  Hide();
}

void AutoSaveDir::SSCommand3_Click() {
  program_.host.openFolder(path());
}

}  // namespace kvlink
