# Prints an executable's size and fails when it is above LIMIT bytes.
#   cmake -DFILE=path -DLIMIT=bytes -P check_executable_size.cmake
# LIMIT 0 means no limit: only the shipped architecture has one.
file(SIZE "${FILE}" size)
get_filename_component(name "${FILE}" NAME)
math(EXPR kib "${size} / 1024")
if(LIMIT GREATER 0)
  math(EXPR limit_kib "${LIMIT} / 1024")
  set(report "${name}: ${size} bytes (${kib} KiB), limit ${LIMIT} bytes (${limit_kib} KiB)")
  if(size GREATER LIMIT)
    message(FATAL_ERROR "${report}: too large")
  endif()
else()
  set(report "${name}: ${size} bytes (${kib} KiB)")
endif()
message(STATUS "${report}")
