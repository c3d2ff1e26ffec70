// Drives the window model from a script of user actions and writes what the
// window shows as JSON lines.
#pragma once

#include <iosfwd>

namespace tavolen {

// Performs the script on a freshly started window. Returns the exit status: 0,
// or 2 after naming the line it could not perform on err.
int RunReplay(std::istream& script, std::ostream& out, std::ostream& err);

}  // namespace tavolen
