// The event handlers of Form1, named control_event as the window wires them.
// Only the form engine calls them (and Command1_Click calls Option2_Click).
// A handler of a control array takes the Index of the member that raised it.
#pragma once

#include "arith/number.h"

namespace tavolen {

class Form1;

// Entry fields.
void Text1_GotFocus(Form1& form, Integer index);
void Text1_LostFocus(Form1& form, Integer index);
void Text2_GotFocus(Form1& form, Integer index);
void Text2_LostFocus(Form1& form, Integer index);

// Calculate.
void Command1_Click(Form1& form);

// Operator and answer-form choices.
void Option1_Click(Form1& form, Integer index);
void Option2_Click(Form1& form, Integer index);

// Clear, exit and version information.
void Command2_Click(Form1& form);
void Command3_Click(Form1& form);
void FileExit_Click(Form1& form);
void FileBer_Click(Form1& form);

}  // namespace tavolen
