# Protocol Buffers lite and GoogleTest, native or cross-built.
find_program(PROTOC protoc REQUIRED NO_CMAKE_FIND_ROOT_PATH)

# How product code is compiled: with cmake/no-standard-streams first on its
# include path (see the iostream there) and, in the cross builds, without
# run-time type information, which nothing of it asks for (about 10 KB of
# the program). The native build keeps it: its sanitizers check virtual calls
# with it.
add_library(product_code INTERFACE)
target_include_directories(product_code INTERFACE ${CMAKE_SOURCE_DIR}/cmake/no-standard-streams)
if(CMAKE_CROSSCOMPILING)
  target_compile_options(product_code INTERFACE $<$<COMPILE_LANGUAGE:CXX>:-fno-rtti>)
endif()

find_package(Python3 REQUIRED COMPONENTS Interpreter)

# Marks TARGET as a shipped program: linked with link-time optimisation first,
# and then ordinarily from the optimised code, so that it holds only the
# library code that code calls (cmake/link_optimised_code_first.py).
function(link_as_shipped target)
  set_target_properties(${target} PROPERTIES VTA_SHIPPED ON)
  if(CMAKE_CROSSCOMPILING)
    set(launcher ${CMAKE_SOURCE_DIR}/cmake/link_optimised_code_first.py)
    set_target_properties(${target} PROPERTIES RULE_LAUNCH_LINK "${Python3_EXECUTABLE} ${launcher}")
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${launcher})
  endif()
endfunction()

# Makes the target NAME_delayed: a delay-load import library of NAME.dll for
# the functions cmake/NAME.def lists.
function(add_delay_loaded_dll name)
  set(def_file ${CMAKE_SOURCE_DIR}/cmake/${name}.def)
  file(READ ${def_file} def)
  set(kill_at --kill-at)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    string(REGEX REPLACE "@[0-9]+" "" def "${def}")
    set(kill_at)
  endif()
  set(out ${CMAKE_BINARY_DIR}/delayed)
  file(WRITE ${out}/${name}.def "${def}")
  execute_process(
    COMMAND ${DLLTOOL} --input-def ${out}/${name}.def --dllname ${name}.dll ${kill_at}
            --output-delaylib ${out}/lib${name}_delayed.a
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "dlltool could not make the delay-load library of ${name}")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def_file})
  add_library(${name}_delayed STATIC IMPORTED)
  set_target_properties(${name}_delayed PROPERTIES
    IMPORTED_LOCATION ${out}/lib${name}_delayed.a
    INTERFACE_LINK_LIBRARIES delayimp)
  # An i686 link drops a library member's stub section when nothing names
  # the stub itself (_Name@N); dllimport calls name only __imp__Name@N. In a
  # delay library that section also holds the lazy thunk the import slot
  # starts out pointing at, so a non-LTO link would leave the slot at 0.
  # Naming every stub keeps every thunk.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    string(REGEX REPLACE ";[^\n]*" "" exports "${def}")
    string(REGEX MATCHALL "[A-Za-z0-9_]+@[0-9]+" functions "${exports}")
    list(TRANSFORM functions PREPEND "LINKER:--undefined=_")
    set_property(TARGET ${name}_delayed PROPERTY INTERFACE_LINK_OPTIONS ${functions})
  endif()
endfunction()

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
  # executables link their ready machine code. Code that only test
  # executables link (GoogleTest, tests/, tools/) is compiled without the
  # bytecode, which nothing would read; its code is the same. The
  # symbol table is stripped; there is no debug information to keep.
  add_compile_options(-flto -ffat-lto-objects)
  set(VTA_TEST_CODE_COMPILE_OPTIONS -fno-lto)
  set(_shipped $<BOOL:$<TARGET_PROPERTY:VTA_SHIPPED>>)
  add_link_options(-s $<${_shipped}:-flto> $<${_shipped}:-flto-partition=one> $<$<NOT:${_shipped}>:-fno-lto>)
  find_program(OBJDUMP ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-objdump REQUIRED)

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

  # WinINet, CNG, WinTrust, the certificate and the accessibility functions
  # are not among Windows' known DLLs, so a static import of them would be
  # looked up beside the program first. The program imports them on first use instead
  # (delay-loaded), after it has loaded them from the system directory itself.
  find_program(DLLTOOL ${_triple}-dlltool REQUIRED)
  foreach(dll wininet bcrypt wintrust crypt32 oleacc)
    add_delay_loaded_dll(${dll})
  endforeach()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  foreach(library gtest gtest_main)
    target_compile_options(${library} PRIVATE ${VTA_TEST_CODE_COMPILE_OPTIONS})
  endforeach()
else()
  add_compile_options(-Wall -Wextra)
  find_package(Protobuf REQUIRED)
  find_package(GTest REQUIRED)
endif()
