# Every cross-built executable and DLL, the program and the tests alike, is
# checked after each link for delay-load import slots that would fault on
# first use (cmake/check_delay_imports.py). The check's stamp is written only
# when it passes, so a failed check fails every build until it is mended.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

function(_collect_linked_targets dir out)
  set(found ${${out}})
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    get_target_property(excluded ${target} EXCLUDE_FROM_ALL)
    if(type MATCHES "^(EXECUTABLE|SHARED_LIBRARY|MODULE_LIBRARY)$" AND NOT excluded)
      list(APPEND found ${target})
    endif()
  endforeach()
  get_property(subdirectories DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    get_property(excluded DIRECTORY ${subdirectory} PROPERTY EXCLUDE_FROM_ALL)
    if(NOT excluded)
      _collect_linked_targets(${subdirectory} found)
    endif()
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

function(check_delay_imports_of_every_link)
  set(targets)
  _collect_linked_targets(${CMAKE_SOURCE_DIR} targets)
  set(stamps)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/delay-import-checks)
  foreach(target IN LISTS targets)
    set(stamp ${CMAKE_BINARY_DIR}/delay-import-checks/${target}.passed)
    add_custom_command(OUTPUT ${stamp}
      COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/cmake/check_delay_imports.py $<TARGET_FILE:${target}>
      COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
      DEPENDS ${target} ${CMAKE_SOURCE_DIR}/cmake/check_delay_imports.py
      COMMENT "Checking the delay-load imports of ${target}"
      VERBATIM)
    list(APPEND stamps ${stamp})
  endforeach()
  add_custom_target(delay_import_checks ALL DEPENDS ${stamps})
endfunction()
