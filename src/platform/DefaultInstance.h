#pragma once
// The single default instance of a window: created hidden on first
// reference (its load handler runs once), discarded by Unload (its unload
// handler runs), created again from its design on the next reference.
// Callers never keep the window across the event pump: they ask again.

#include <QPointer>
#include <functional>
#include <memory>

#include "Form.h"

namespace kvlink {

template <class T>
class DefaultInstance {
 public:
  using Factory = std::function<std::unique_ptr<T>()>;

  DefaultInstance() = default;
  explicit DefaultInstance(Factory factory) : factory_(std::move(factory)) {}
  DefaultInstance(const DefaultInstance&) = delete;
  DefaultInstance& operator=(const DefaultInstance&) = delete;
  ~DefaultInstance() { delete window_.data(); }  // Form has a virtual destructor

  void setFactory(Factory factory) { factory_ = std::move(factory); }

  // The window, created (hidden, loaded) when it does not exist.
  T& operator()() {
    if (!window_) create();
    return *static_cast<T*>(window_.data());
  }
  T* ifLoaded() const { return static_cast<T*>(window_.data()); }
  bool loaded() const { return !window_.isNull(); }

  // Runs the unload handler, hides and discards the window.
  void Unload() {
    Form* window = window_.data();
    if (!window) return;
    window_.clear();
    window->setUnloadRequest({});
    window->Form_Unload();
    window->hide();
    window->deleteLater();
  }

 private:
  void create() {
    std::unique_ptr<T> made = factory_();
    window_ = static_cast<Form*>(made.release());
    window_->setUnloadRequest([this] { Unload(); });
    window_->Form_Load();
  }

  Factory factory_;
  QPointer<Form> window_;  // the base, so that holders need not see T
};

}  // namespace kvlink
