#include "platform/toolkit.h"

namespace platform {

void Toolkit::Load(Form& form) {
  if (form.Loaded()) return;
  if (!form.layout().startForm) platform_.CreateFormWindow(form);
  form.SetLoaded(true);
  ++loadedForms_;
  form.LoadInitialPictures();
  form.events().Load();
}

void Toolkit::Show(Form& form) {
  Load(form);
  if (!form.layout().startForm) platform_.ShowForm(form);
}

void Toolkit::Unload(Form& form) {
  if (!form.Loaded()) return;
  form.SetLoaded(false);
  --loadedForms_;
  platform_.UnloadForm(form);
}

void Toolkit::End() {
  ended_ = true;
  platform_.EndProgram();
  throw ProgramEnded{};
}

void Toolkit::Fail(const RuntimeError& error) {
  // Ended before the report: a report that pumps messages must not let
  // further events in.
  ended_ = true;
  platform_.ReportUntrappedError(error);
  platform_.EndProgram();
}

void Toolkit::AfterEvent() {
  if (!ended_ && loadedForms_ == 0) {
    ended_ = true;
    platform_.Quit();
  }
}

}  // namespace platform
