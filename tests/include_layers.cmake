# Includes run one way: render/, stage/ and audio/ at the bottom, then game/,
# editor/, app/, and the shell and tools (platform/qt, platform/sdl, tools/)
# on top. Fails when a file includes a header of a higher folder, or when a
# core file includes Qt or SDL. platform/services.h is the seam every layer
# may see; the headless services are for tools and tests only.
#   cmake -DSOURCE_DIR=<tree> [-DMIN_FILES=N] -P include_layers.cmake
if(NOT DEFINED MIN_FILES)
  set(MIN_FILES 10)
endif()

set(layer_render 0)
set(layer_stage 0)
set(layer_audio 0)
set(layer_platform/services.h 0)
set(layer_game 1)
set(layer_editor 2)
set(layer_app 3)
set(layer_platform/headless 4)
set(layer_platform/qt 4)
set(layer_platform/sdl 4)
set(layer_tools 4)
set(core_top 3)

# The layer of a path relative to the tree, or nothing for files outside the layers.
function(layer_of path out)
  foreach(prefix platform/services.h platform/headless platform/qt platform/sdl render stage audio game editor app tools)
    if(path STREQUAL prefix OR path MATCHES "^${prefix}/")
      set(${out} ${layer_${prefix}} PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${out} "" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR}
  ${SOURCE_DIR}/render/* ${SOURCE_DIR}/stage/*.h ${SOURCE_DIR}/stage/*.cpp ${SOURCE_DIR}/audio/*
  ${SOURCE_DIR}/game/* ${SOURCE_DIR}/editor/* ${SOURCE_DIR}/app/* ${SOURCE_DIR}/platform/*.h
  ${SOURCE_DIR}/platform/*.cpp ${SOURCE_DIR}/platform/headless/*.h ${SOURCE_DIR}/platform/headless/*.cpp
  ${SOURCE_DIR}/platform/qt/*.h ${SOURCE_DIR}/platform/qt/*.cpp ${SOURCE_DIR}/platform/sdl/*.h
  ${SOURCE_DIR}/platform/sdl/*.cpp ${SOURCE_DIR}/tools/*.h ${SOURCE_DIR}/tools/*.cpp)
list(FILTER files INCLUDE REGEX "\\.(h|cpp)$")

set(failures "")
foreach(file IN LISTS files)
  layer_of(${file} own)
  if(own STREQUAL "")
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/${file} lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS lines)
    if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
      layer_of(${CMAKE_MATCH_1} included)
      if(NOT included STREQUAL "" AND included GREATER own)
        string(APPEND failures "${file}: includes ${CMAKE_MATCH_1}, a higher layer\n")
      endif()
    elseif(own LESS_EQUAL core_top AND line MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z]*|Qt[A-Za-z]*/|SDL)")
      string(APPEND failures "${file}: the core includes ${CMAKE_MATCH_1}\n")
    endif()
  endforeach()
endforeach()

list(LENGTH files count)
if(count LESS MIN_FILES)
  message(FATAL_ERROR "found only ${count} files under ${SOURCE_DIR}: wrong folder?")
endif()
if(failures)
  message(FATAL_ERROR "Includes must run from lower folders to higher ones:\n${failures}")
endif()
message(STATUS "${count} files checked")
