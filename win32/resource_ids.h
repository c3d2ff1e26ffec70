// Resource identifiers, shared by the resource script and the code; the
// resource compiler reads only preprocessor definitions.
#pragma once

#define TAVOLEN_ICON 1
