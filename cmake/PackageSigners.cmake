# The publishers whose packages a program runs, fixed when it is built.
#
# package_signers_header(DIR THUMBPRINTS) writes DIR/package_signers.h, which
# pins the SHA-256 thumbprints in THUMBPRINTS (separated by commas,
# semicolons or spaces; colons between the bytes, as openssl prints them,
# allowed). Anything that is not such a thumbprint fails the configuration.
# An empty list pins nothing: the packages then run without a signature check.
# PACKAGE_SIGNERS is set to the thumbprints as written to the header.
function(package_signers_header dir thumbprints)
  string(REGEX REPLACE "[, ]+" ";" entries "${thumbprints}")
  set(initializers)
  set(normalised)
  foreach(entry IN LISTS entries)
    string(REPLACE ":" "" hex "${entry}")
    string(TOLOWER "${hex}" hex)
    if(hex STREQUAL "")
      continue()
    endif()
    string(LENGTH "${hex}" length)
    if(NOT length EQUAL 64 OR NOT hex MATCHES "^[0-9a-f]+$")
      message(FATAL_ERROR "VTA_PACKAGE_SIGNERS: \"${entry}\" is not a SHA-256 thumbprint (64 hex digits)")
    endif()
    string(REGEX REPLACE "(..)" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE ",$" "" bytes "${bytes}")
    list(APPEND initializers "{${bytes}}")
    list(APPEND normalised ${hex})
  endforeach()
  list(JOIN initializers ",\n    " VTA_PACKAGE_SIGNER_LIST)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/package_signers.h.in ${dir}/package_signers.h @ONLY)
  set(PACKAGE_SIGNERS ${normalised} PARENT_SCOPE)
endfunction()
