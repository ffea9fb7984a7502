# Fails when a core source includes Qt or SDL, reads a clock or calls rand():
# the core must run the same on the headless services as in the window.
file(GLOB_RECURSE core_files
  ${SOURCE_DIR}/app/*.h ${SOURCE_DIR}/app/*.cpp
  ${SOURCE_DIR}/stage/*.h ${SOURCE_DIR}/stage/*.cpp
  ${SOURCE_DIR}/game/*.h ${SOURCE_DIR}/game/*.cpp
  ${SOURCE_DIR}/render/*.h ${SOURCE_DIR}/render/*.cpp
  ${SOURCE_DIR}/audio/*.h ${SOURCE_DIR}/audio/*.cpp
  ${SOURCE_DIR}/editor/*.h ${SOURCE_DIR}/editor/*.cpp)

set(forbidden
  "#include[ \t]*[<\"](Q[A-Za-z]*|Qt[A-Za-z]*/|SDL)"
  "#include[ \t]*<(chrono|ctime|time\\.h|random)>"
  "[^A-Za-z_.:>](s?rand|time|clock|gettimeofday|clock_gettime)[ \t]*\\("
  "std::chrono")
set(failures "")
foreach(file IN LISTS core_files)
  file(STRINGS ${file} lines)
  set(number 0)
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    foreach(pattern IN LISTS forbidden)
      if(line MATCHES "${pattern}")
        string(APPEND failures "${file}:${number}: ${line}\n")
      endif()
    endforeach()
  endforeach()
endforeach()
list(LENGTH core_files count)
if(count LESS 10)
  message(FATAL_ERROR "found only ${count} core files under ${SOURCE_DIR}: wrong folder?")
endif()
if(failures)
  message(FATAL_ERROR "The core must not use Qt, SDL, clocks or rand():\n${failures}")
endif()
message(STATUS "${count} core files checked")
