# Shared by the mingw-w64 tool-chain files, which set BRISVANE_TRIPLET and the processor first.
# The posix-thread compilers (std::mutex needs them); their runtime is linked statically.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${BRISVANE_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BRISVANE_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${BRISVANE_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${BRISVANE_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
