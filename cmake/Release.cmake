# The release target: `cmake --build --preset win32 --target release` signs
# the program into dist/ beside SHA256SUMS (scripts/make-release).
#
# Signing secrets never enter the cache, a command line or the repository:
# the cache names the PKCS#12 file and, optionally, a file holding its
# password; otherwise the password is read from the environment variable
# VTA_SIGN_PASSWORD when the release is built.
set(VTA_SIGN_PKCS12 "" CACHE FILEPATH
  "PKCS#12 file with the code signing certificate and its key; empty: a throwaway test certificate")
set(VTA_SIGN_PASSWORD_FILE "" CACHE FILEPATH
  "File holding the PKCS#12 password; empty: the VTA_SIGN_PASSWORD environment variable")
set(VTA_SIGN_TIMESTAMP_URL "" CACHE STRING
  "RFC 3161 time-stamp server; empty: no time stamp, and signing never reaches the network")
# Looked for now, so that a missing tool shows when configuring.
find_program(OSSLSIGNCODE osslsigncode REQUIRED NO_CMAKE_FIND_ROOT_PATH)

string(REPLACE ";" "," release_package_signers "${PACKAGE_SIGNERS}")
add_custom_target(release
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/make-release
    --exe=$<TARGET_FILE:vta_agent_download_manager>
    --dist=${CMAKE_BINARY_DIR}/dist
    --description=${VTA_PRODUCT_NAME}
    --size-limit=${VTA_SIZE_LIMIT}
    --objdump=${OBJDUMP}
    --test-certificate-dir=${CMAKE_BINARY_DIR}/test-signing
    --pkcs12=${VTA_SIGN_PKCS12}
    --password-file=${VTA_SIGN_PASSWORD_FILE}
    --timestamp-url=${VTA_SIGN_TIMESTAMP_URL}
    --package-signers=${release_package_signers}
  COMMENT "Signing the release into ${CMAKE_BINARY_DIR}/dist"
  VERBATIM)
add_dependencies(release vta_agent_download_manager)
