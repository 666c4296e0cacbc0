# Compile and link settings shared by every target of our own.

# No mingw runtime DLL may be needed on the player's machine.
set(CMAKE_EXE_LINKER_FLAGS "${CMAKE_EXE_LINKER_FLAGS} -static -static-libgcc -static-libstdc++")
# Release programs and DLLs ship without symbols; Debug keeps them.
string(APPEND CMAKE_EXE_LINKER_FLAGS_RELEASE " -s")
string(APPEND CMAKE_SHARED_LINKER_FLAGS_RELEASE " -s")
# The same sources give the same bytes (tools/release.sh): no link time in
# the PE header.
string(APPEND CMAKE_EXE_LINKER_FLAGS " -Wl,--no-insert-timestamp")
string(APPEND CMAKE_SHARED_LINKER_FLAGS " -Wl,--no-insert-timestamp")

add_library(vstorm_options INTERFACE)
target_compile_features(vstorm_options INTERFACE cxx_std_17)
target_compile_definitions(vstorm_options INTERFACE
  UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
  _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0800
  # Bounds and precondition checks in the standard library; no ABI change.
  $<$<CONFIG:Debug>:_GLIBCXX_ASSERTIONS>)
target_compile_options(vstorm_options INTERFACE
  $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Werror -finput-charset=UTF-8 -fexec-charset=UTF-8>
  # Nor the checkout's path, wherever it lies; Debug keeps it for debuggers.
  $<$<AND:$<COMPILE_LANGUAGE:CXX>,$<CONFIG:Release>>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=>)
target_include_directories(vstorm_options INTERFACE ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
