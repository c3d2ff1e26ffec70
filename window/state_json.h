// The window's state as JSON: one writer for the replay tool and the page.
#pragma once

#include "window/form1.h"
#include "window/json.h"

namespace tavolen {

// What a view shows of the window, each member named as its control is:
// {"Text1":["","",""],"Text2":["","",""],"Label1":["","","",""],"Label3":"＋",
// "Label7":"","Line3":true,"Option1":0,"Option2":0,"focus":"Option1(0)"}.
// A control array is listed by Index, an option group gives its chosen button.
// The object is left open for a reader to add members of its own.
[[nodiscard]] Json StateJson(const Form1& form);

}  // namespace tavolen
