#pragma once
// A fresh program with the status displays installed, on a scripted host,
// with its settings directory in a temporary folder.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTemporaryDir>

#include "Form1.h"
#include "InstallStatus.h"
#include "Program.h"
#include "ScriptedHost.h"
#include "StatusModule.h"

namespace kvlink {

// Mouse clicks as a person makes them.
inline void doubleClick(QWidget* widget) {
  QMouseEvent event(QEvent::MouseButtonDblClick, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &event);
}
inline void click(QWidget* widget) {
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent event(type, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
  }
}

class StatusFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(settingsDir.isValid());
    qputenv("KVLINK_WINDIR", settingsDir.path().toUtf8());
    program = std::make_unique<Program>(host, nullptr);
    installStatus(*program);
    status().scan.readMarkPause = std::chrono::milliseconds(0);
  }
  void TearDown() override {
    program.reset();
    flushDeletes();
  }

  StatusModule& status() { return program->module<StatusModule>(); }
  MeterForm& meter() { return status().MeterForm(); }
  kvlink::Form1& main() { return program->Form1(); }
  int16_t& meterState() { return program->windowStates.MeterWindowState; }

  static void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  // What an answered poll pass does with the registered window kinds.
  void answeredPass(int16_t unitType, const PolledValues& values,
                    const QString& name = QStringLiteral("Pump 3")) {
    program->poll.UnitType = unitType;
    program->poll.values = values;
    for (WindowKind* kind : program->windowKinds()) kind->beginPass();
    for (WindowKind* kind : program->windowKinds()) kind->showStationName(name);
    for (WindowKind* kind : program->windowKinds()) kind->syncToUnitType(unitType);
    for (WindowKind* kind : program->windowKinds()) kind->refresh();
    for (WindowKind* kind : program->windowKinds()) kind->endPass();
  }

  QTemporaryDir settingsDir;
  ScriptedHost host;
  std::unique_ptr<Program> program;
};

}  // namespace kvlink
