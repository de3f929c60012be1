#pragma once
// One running program: the shared state, the link libraries, the host and
// the windows. A test makes a fresh one; nothing lives in globals.

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "DefaultInstance.h"
#include "PointerState.h"
#include "ProgramState.h"
#include "WindowKind.h"
#include "link/LinkLibrary.h"

namespace kvlink {

class Host;
class Form1;
class Form9;
class Form16;
class frmSplash;
class frmUnitId;
class frmAbout;
class HelpWindow;

// A subsystem's windows and handlers, installed into the program at start.
class Module {
 public:
  virtual ~Module() = default;
  // Program end: unload every window of the subsystem, so that their unload
  // handlers run.
  virtual void unloadWindows() {}
};

class Program {
 public:
  Program(Host& host, std::unique_ptr<LinkLibrary> link);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  Host& host;
  std::unique_ptr<LinkLibrary> link;
  PointerState pointer;

  LinkState linkState;
  WindowStates windowStates;
  CommandRequests commands;
  PollState poll;
  SessionState session;
  ReadBufferArray ReadBuffer{};

  // Shell windows.
  DefaultInstance<kvlink::Form1> Form1;
  DefaultInstance<kvlink::Form9> Form9;
  DefaultInstance<kvlink::Form16> Form16;
  DefaultInstance<kvlink::frmSplash> frmSplash;
  DefaultInstance<kvlink::frmUnitId> frmUnitId;
  DefaultInstance<kvlink::frmAbout> frmAbout;
  DefaultInstance<kvlink::HelpWindow> HelpWindow;

  // Subsystems and their window kinds, in installation order.
  template <class M>
  M& module() {
    for (auto& m : modules_)
      if (auto* found = dynamic_cast<M*>(m.get())) return *found;
    throw std::logic_error("module not installed");
  }
  template <class M>
  M* findModule() {
    for (auto& m : modules_)
      if (auto* found = dynamic_cast<M*>(m.get())) return found;
    return nullptr;
  }
  void addModule(std::unique_ptr<Module> module) { modules_.push_back(std::move(module)); }
  void addWindowKind(WindowKind* kind) { windowKinds_.push_back(kind); }
  const std::vector<WindowKind*>& windowKinds() const { return windowKinds_; }

  // What later subsystems plug into the shell; each does nothing until set.
  struct Hooks {
    // Link opened (start-up or Enable): show General Status, motor layout.
    std::function<void()> showGeneralStatusAfterOpen;
    // A stored password was found missing.
    std::function<void()> passwordDestroyed;
    // Timer ticks of the main window.
    std::function<void()> pollTick;
    std::function<void()> watchdogTick;
    // Start-up restore of the auto-retrieve settings.
    std::function<void()> restoreAutoRetrieve;
  } hooks;

  // Switches to another station: the one way to change CurrentStation. Queued
  // commands are dropped, since they were meant for the old station; a
  // change forgets the old station (forgetStation).
  void selectStation(int16_t station);
  // Every change of the link goes through here: Disable, Enable, a port,
  // baud, protocol or check-mode choice. The station is forgotten.
  void linkChanged();
  // Runs the event pump once; false when the station or the link changed in
  // it, so that what was read before is no longer the station's.
  bool pumpKeepsStation();

  // Ends the program's windows (their unload handlers run).
  void unloadAll();

  // Set by main(): leaves the event loop once the main window is unloaded.
  std::function<void()> quit;
  // True once the program end has run (File > Exit or the main window closed).
  bool ended = false;

 private:
  // What a change of the station or of the link means: queued commands
  // dropped, a running field edit ended as Esc, no value of the old station
  // left in a data window, and nothing counted as read from the station.
  void forgetStation();

  std::vector<std::unique_ptr<Module>> modules_;
  std::vector<WindowKind*> windowKinds_;
};

}  // namespace kvlink
