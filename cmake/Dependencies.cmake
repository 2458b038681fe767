# Protocol Buffers lite and GoogleTest, native or cross-built.
find_program(PROTOC protoc REQUIRED NO_CMAKE_FIND_ROOT_PATH)

# Product code is compiled with cmake/no-standard-streams first on its include
# path: see the iostream there.
add_library(no_standard_streams INTERFACE)
target_include_directories(no_standard_streams INTERFACE ${CMAKE_SOURCE_DIR}/cmake/no-standard-streams)

if(CMAKE_CROSSCOMPILING)
  # Cross builds link the static runtime so the executables need no mingw DLLs.
  add_compile_options(-Wall -Wextra)
  add_link_options(-static -static-libgcc -static-libstdc++)

  # Every cross build, tests included, is compiled for size the way the
  # shipped program is. Link-time optimisation is what drops the code no path
  # of the program reaches: the linker's --gc-sections cannot, because the
  # mingw linker keeps every unwind table and through it every function. Only
  # the shipped program (VTA_SHIPPED) is linked that way, in one partition:
  # the compiler fails on symbols shared between partitions on Windows targets
  # ("in binds_to_current_def_p"). Such a link redoes the code generation of
  # everything it takes in, protobuf-lite and the schema classes included, one
  # executable after another; the objects are therefore fat, and the test
  # executables link their ready machine code. The symbol table is stripped;
  # there is no debug information to keep.
  add_compile_options(-flto -ffat-lto-objects)
  set(_shipped $<BOOL:$<TARGET_PROPERTY:VTA_SHIPPED>>)
  add_link_options(-s $<${_shipped}:-flto> $<${_shipped}:-flto-partition=one> $<$<NOT:${_shipped}>:-fno-lto>)

  execute_process(COMMAND ${PROTOC} --version OUTPUT_VARIABLE _protoc_out OUTPUT_STRIP_TRAILING_WHITESPACE)
  string(REGEX MATCH "[0-9]+\\.[0-9]+\\.[0-9]+" _protoc_version "${_protoc_out}")
  set(_deps ${CMAKE_SOURCE_DIR}/build/deps)
  set(_triple ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
  set(_lite ${_deps}/protobuf-lite-${_triple}/libprotobuf-lite.a)
  if(NOT EXISTS ${_lite})
    message(FATAL_ERROR "${_lite} is missing: run scripts/setup first")
  endif()
  add_library(protobuf::libprotobuf-lite STATIC IMPORTED)
  set_target_properties(protobuf::libprotobuf-lite PROPERTIES
    IMPORTED_LOCATION ${_lite}
    INTERFACE_INCLUDE_DIRECTORIES ${_deps}/protobuf-${_protoc_version}/src)

  # WinINet is not one of Windows' known DLLs, so a static import of it would
  # be looked up beside the program first. The program imports it on first
  # use instead (delay-loaded), after it has loaded it from the system
  # directory itself.
  find_program(DLLTOOL ${_triple}-dlltool REQUIRED)
  file(READ ${CMAKE_SOURCE_DIR}/cmake/wininet.def _wininet_def)
  set(_kill_at --kill-at)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    string(REGEX REPLACE "@[0-9]+" "" _wininet_def "${_wininet_def}")
    set(_kill_at)
  endif()
  set(_delayed ${CMAKE_BINARY_DIR}/delayed)
  file(WRITE ${_delayed}/wininet.def "${_wininet_def}")
  execute_process(
    COMMAND ${DLLTOOL} --input-def ${_delayed}/wininet.def --dllname wininet.dll ${_kill_at}
            --output-delaylib ${_delayed}/libwininet_delayed.a
    RESULT_VARIABLE _dlltool_status)
  if(NOT _dlltool_status EQUAL 0)
    message(FATAL_ERROR "dlltool could not make the delay-load library of wininet")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/cmake/wininet.def)
  add_library(wininet_delayed STATIC IMPORTED)
  set_target_properties(wininet_delayed PROPERTIES
    IMPORTED_LOCATION ${_delayed}/libwininet_delayed.a
    INTERFACE_LINK_LIBRARIES delayimp)

  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  add_compile_options(-Wall -Wextra)
  find_package(Protobuf REQUIRED)
  find_package(GTest REQUIRED)
endif()
