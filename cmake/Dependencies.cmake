# Protocol Buffers lite and GoogleTest, native or cross-built.
find_program(PROTOC protoc REQUIRED NO_CMAKE_FIND_ROOT_PATH)

if(CMAKE_CROSSCOMPILING)
  # Cross builds link the static runtime so the executables need no mingw DLLs.
  add_compile_options(-Wall -Wextra)
  add_link_options(-static -static-libgcc -static-libstdc++)

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

  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  add_compile_options(-Wall -Wextra)
  find_package(Protobuf REQUIRED)
  find_package(GTest REQUIRED)
endif()
