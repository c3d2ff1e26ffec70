// Qt's messages while the application is being created. A display that cannot
// be opened makes Qt print a few warnings and then abort with a core dump;
// held here, a fatal message instead ends the program with one line on
// standard error and status 1, and the others are passed on once the
// application stands.
#pragma once

#include <QtGlobal>

namespace tavolen {

class StartupMessages {
 public:
  StartupMessages();
  StartupMessages(const StartupMessages&) = delete;
  StartupMessages& operator=(const StartupMessages&) = delete;
  ~StartupMessages();

 private:
  QtMessageHandler previous_;
};

}  // namespace tavolen
