// Screen readers' view of a menu window on Windows: the window's client
// area answers WM_GETOBJECT with an IAccessible of its own (Microsoft Active
// Accessibility, which UI Automation clients read through their bridge).
// Its children are the form's accessible items, in the form's order; what
// they are called, which has the focus and which is under the pointer is
// the form's. A default action or a request for the focus is posted to the
// window and carried out there, never inside the COM call. oleacc, ole32
// and oleaut32 are loaded by full path at the first request, so a program
// that no screen reader asks pays nothing for this.
#pragma once

#include <windows.h>

namespace platform {

class Form;

// Messages that the accessible object posts to its window; wParam is the
// accessible item.
constexpr UINT kDefaultActionMessage = WM_APP + 1;
constexpr UINT kTakeFocusMessage = WM_APP + 2;

// The answer to WM_GETOBJECT for OBJID_CLIENT; 0 (let the system answer)
// when the accessibility DLLs cannot be had. `object` keeps the window's
// object from the first call on.
LRESULT AnswerGetObject(HWND hwnd, const Form& form, WPARAM wp, void*& object);

// At WM_DESTROY: cuts every client off the object and lets go of it.
void ReleaseAccessible(void*& object);

}  // namespace platform
