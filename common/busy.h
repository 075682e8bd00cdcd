#pragma once

namespace vellumark {

// What the busy indicator switches. The program's mouse pointers implement it
// (platform/mouse_pointer.h), so these helpers need nothing from the layers
// above them.
class BusyDisplay {
public:
  virtual ~BusyDisplay() = default;
  virtual void ShowBusy(bool busy) = 0;
};

// The application-wide hourglass while a file is read. Calls nest: only the
// outermost BeginBusy/EndBusy pair changes the pointer, so a busy section run
// inside another one does not restore the pointer early.
class BusyIndicator {
public:
  explicit BusyIndicator(BusyDisplay& appPointer) : pointer_(appPointer) {}

  void BeginBusy();
  // Always shows "not busy" when the depth reaches 0 (the default pointer), not
  // whatever shape was in force before BeginBusy.
  void EndBusy();
  int Depth() const { return depth_; }

private:
  BusyDisplay& pointer_;
  int depth_ = 0;
};

// Keeps the indicator busy for one scope; End() lets the caller return the
// pointer to normal before it shows a message box.
class BusyScope {
public:
  explicit BusyScope(BusyIndicator& busy) : busy_(busy) { busy_.BeginBusy(); }
  ~BusyScope() { End(); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

  void End() {
    if (active_) {
      active_ = false;
      busy_.EndBusy();
    }
  }

private:
  BusyIndicator& busy_;
  bool active_ = true;
};

}  // namespace vellumark
