// The toolkit's run-time: loading, showing and unloading forms, running each
// event handler to its end one at a time, the one place where an untrapped
// run-time error is reported and ends the program, ending at once, and the
// resume-next error mode. The handlers themselves are the menus'.
#pragma once

#include <new>
#include <utility>

#include "platform/error.h"
#include "platform/form.h"
#include "platform/platform.h"

namespace platform {

class Toolkit {
 public:
  explicit Toolkit(Platform& platform) : platform_(platform) {}
  Toolkit(const Toolkit&) = delete;
  Toolkit& operator=(const Toolkit&) = delete;

  Platform& platform() { return platform_; }

  // Runs one event handler to its end. An untrapped RuntimeError is
  // reported and ends the program; End() stops the handler where it is.
  // After the event, with no form left loaded, the program ends.
  template <class Handler>
  void Run(Handler&& handler) {
    if (ended_ || busy_) return;
    busy_ = true;
    try {
      std::forward<Handler>(handler)();
    } catch (const ProgramEnded&) {
    } catch (const RuntimeError& error) {
      Fail(error);
    } catch (const std::bad_alloc&) {
      Fail(RuntimeError{kErrOutOfMemory, ErrorText(kErrOutOfMemory), ""});
    }
    busy_ = false;
    AfterEvent();
  }

  // True while a handler runs; input that arrives then waits for its end.
  bool Busy() const { return busy_; }
  bool Ended() const { return ended_; }
  int LoadedForms() const { return loadedForms_; }

  // Loads a form that is not loaded: its native window, its initial
  // pictures, then its Load handler.
  void Load(Form& form);
  // Loads the form if needed, then shows it modeless.
  void Show(Form& form);
  // Removes the form; its handlers get no more events.
  void Unload(Form& form);

  // Ends the program at once: nothing after it runs.
  [[noreturn]] void End();

  // Resume-next around one statement: a RuntimeError it raises is skipped.
  template <class Statement>
  static void ResumeNext(Statement&& statement) {
    try {
      std::forward<Statement>(statement)();
    } catch (const RuntimeError&) {
    }
  }

 private:
  void Fail(const RuntimeError& error);
  void AfterEvent();

  Platform& platform_;
  bool busy_ = false;
  bool ended_ = false;
  int loadedForms_ = 0;
};

}  // namespace platform
