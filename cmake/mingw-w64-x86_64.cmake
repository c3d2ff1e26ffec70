# Cross-building the Windows edition with Debian's MinGW-w64 (posix threads,
# so that std::thread and GoogleTest's threads work).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TAVOLEN_MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${TAVOLEN_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAVOLEN_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TAVOLEN_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TAVOLEN_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One .exe with nothing beside it but the system's own DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
