# Installs the build into a scratch prefix and checks that it is a usable game:
# the executable in a folder of its own with its sounds and music beside it, a
# link to it on PATH, a desktop entry and an icon.
set(prefix ${BUILD_DIR}/install-check)
file(REMOVE_RECURSE ${prefix})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(path lib/burrow-dash/burrow-dash share/applications/burrow-dash.desktop
             share/icons/hicolor/scalable/apps/burrow-dash.svg
             lib/burrow-dash/dig.wav lib/burrow-dash/take.wav lib/burrow-dash/kil.wav lib/burrow-dash/dying.wav
             lib/burrow-dash/tit.mid lib/burrow-dash/mus1.mid lib/burrow-dash/mus2.mid lib/burrow-dash/mus3.mid
             lib/burrow-dash/mus4.mid)
  if(NOT EXISTS ${prefix}/${path})
    message(FATAL_ERROR "missing after install: ${path}")
  endif()
endforeach()
if(NOT IS_SYMLINK ${prefix}/bin/burrow-dash)
  message(FATAL_ERROR "bin/burrow-dash is not a link")
endif()
file(REAL_PATH ${prefix}/bin/burrow-dash target)
file(REAL_PATH ${prefix}/lib/burrow-dash/burrow-dash game)
if(NOT target STREQUAL game)
  message(FATAL_ERROR "bin/burrow-dash points to ${target}, not ${game}")
endif()
file(STRINGS ${prefix}/share/applications/burrow-dash.desktop exec REGEX "^Exec=")
if(NOT exec STREQUAL "Exec=burrow-dash")
  message(FATAL_ERROR "desktop entry runs '${exec}'")
endif()
file(REMOVE_RECURSE ${prefix})
