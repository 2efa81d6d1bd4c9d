#pragma once
// The main window as the core sees it: its controls by name, and the few
// things the window itself does for the core (closing, the wait pointer).
// The Win32 window implements it over real controls; native tests use the
// in-memory ControlModel.
#include <functional>
#include <string>

#include "model/ControlId.h"

namespace quillon {

// Raised with the id of a text box whose text changed, by typing or by the
// program, exactly as an edit control raises its change notification.
using ChangeListener = std::function<void(ControlId)>;

class Controls {
 public:
  virtual ~Controls() = default;

  // Text boxes and combo boxes: the (edit) text, bytes in the system's ANSI
  // code page. Other kinds: their caption.
  virtual std::string Text(ControlId id) const = 0;
  // Setting a text box's text to a different text raises the change listener
  // before returning; setting the text it already holds raises nothing. A
  // combo box takes any text, listed or not, and raises nothing.
  virtual void SetText(ControlId id, const std::string& text) = 0;

  // Check boxes only: 0 clear, 1 ticked, 2 greyed. Callers pass no other
  // number.
  virtual int Value(ControlId id) const = 0;
  virtual void SetValue(ControlId id, int value) = 0;

  virtual void SetEnabled(ControlId id, bool enabled) = 0;

  // Replaces the one listener; an empty function stops the notifications.
  virtual void SetChangeListener(ChangeListener listener) = 0;

  // Unloads the window, which ends the program.
  virtual void Close() = 0;

  // The application-wide hourglass while a long operation runs, and back.
  virtual void ShowWaitPointer() = 0;
  virtual void RestorePointer() = 0;
};

}  // namespace quillon
