# Installs the build into a scratch prefix and checks that it is a usable game:
# the executable in a folder of its own with its sounds and music beside it, a
# link to it on PATH, a desktop entry that desktop-file-validate accepts and
# that opens stage files, the stage files' MIME type as update-mime-database
# reads it, and icons: the SVG and a PNG of each size.
foreach(tool DESKTOP_FILE_VALIDATE UPDATE_MIME_DATABASE)
  if(NOT ${tool} OR NOT EXISTS "${${tool}}")
    message(FATAL_ERROR "${tool} is missing: scripts/install-deps.sh installs it")
  endif()
endforeach()
set(prefix ${BUILD_DIR}/install-check)
file(REMOVE_RECURSE ${prefix})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(path lib/burrow-dash/burrow-dash share/applications/burrow-dash.desktop
             share/icons/hicolor/scalable/apps/burrow-dash.svg share/mime/packages/burrow-dash.xml
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

# The desktop entry: valid, and it hands the game the file it is opened with.
set(entry ${prefix}/share/applications/burrow-dash.desktop)
execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${entry} RESULT_VARIABLE result OUTPUT_VARIABLE said ERROR_VARIABLE said)
if(NOT result EQUAL 0 OR said MATCHES "error|warning")
  message(FATAL_ERROR "desktop-file-validate refuses the entry:\n${said}")
endif()
file(STRINGS ${entry} exec REGEX "^Exec=")
if(NOT exec STREQUAL "Exec=burrow-dash %f")
  message(FATAL_ERROR "desktop entry runs '${exec}', not 'burrow-dash %f'")
endif()
file(READ ${entry} entry_text)

# The MIME type: the entry names the type the package declares, and the
# database built from the package maps *.bds and files starting "BD" to it.
set(type application/x-burrow-dash-stages)
if(NOT entry_text MATCHES "\nMimeType=${type};\n")
  message(FATAL_ERROR "desktop entry does not declare MimeType=${type};")
endif()
# (XDG_DATA_DIRS names the prefix only so that the tool does not remark that it is unusual.)
execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_DIRS=${prefix}/share
                        ${UPDATE_MIME_DATABASE} ${prefix}/share/mime
                RESULT_VARIABLE result OUTPUT_VARIABLE said ERROR_VARIABLE said)
if(NOT result EQUAL 0 OR NOT said STREQUAL "")
  message(FATAL_ERROR "update-mime-database refuses share/mime/packages/burrow-dash.xml:\n${said}")
endif()
file(STRINGS ${prefix}/share/mime/globs2 globs REGEX ":${type}:")
if(NOT globs MATCHES ":${type}:\\*\\.bds$")
  message(FATAL_ERROR "the MIME database does not map *.bds to ${type}: '${globs}'")
endif()
file(READ ${prefix}/share/mime/magic magic HEX)
string(HEX "]\n>0=" before)  # the rule after the type's header: at offset 0, the value's length, then it
string(HEX "${type}" type_hex)
if(NOT magic MATCHES "${type_hex}${before}00024244")
  message(FATAL_ERROR "the MIME database has no magic \"BD\" at offset 0 for ${type}")
endif()
file(READ ${prefix}/share/mime/${type}.xml described)
if(NOT described MATCHES "<comment>Burrow Dash stages</comment>")
  message(FATAL_ERROR "the MIME database does not call ${type} 'Burrow Dash stages'")
endif()

# The icons: a PNG of each size, whose header says it is that size.
foreach(size 16 32 48 64 128 256)
  set(icon ${prefix}/share/icons/hicolor/${size}x${size}/apps/burrow-dash.png)
  if(NOT EXISTS ${icon})
    message(FATAL_ERROR "missing after install: the ${size}x${size} icon")
  endif()
  file(READ ${icon} header LIMIT 24 HEX)
  math(EXPR size_hex "${size}" OUTPUT_FORMAT HEXADECIMAL)
  string(REGEX REPLACE "^0x" "" size_hex "${size_hex}")
  string(LENGTH "${size_hex}" digits)
  math(EXPR zeros "8 - ${digits}")
  string(REPEAT "0" ${zeros} padding)
  set(size_hex "${padding}${size_hex}")
  if(NOT header STREQUAL "89504e470d0a1a0a0000000d49484452${size_hex}${size_hex}")
    message(FATAL_ERROR "the ${size}x${size} icon is not a PNG of that size: ${header}")
  endif()
endforeach()

# The installed game, started from its link on PATH with a friend's stage
# file, plays it with its own sounds: it keeps running, and what it plays
# (recorded by SDL's disk driver) is not silence.
if(DEFINED SOURCE_DIR)
  configure_file(${SOURCE_DIR}/tests/fuzz/seeds/stage_file/builtin_1_6 ${prefix}/friend.bds COPYONLY)
  set(recording ${prefix}/played.raw)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=disk
                          SDL_DISKAUDIOFILE=${recording} ${prefix}/bin/burrow-dash ${prefix}/friend.bds
                  TIMEOUT 4 RESULT_VARIABLE result OUTPUT_VARIABLE said ERROR_VARIABLE said)
  if(NOT result MATCHES "timeout")
    message(FATAL_ERROR "the installed game stopped with a stage file (${result}):\n${said}")
  endif()
  file(READ ${recording} played OFFSET 44100 LIMIT 352800 HEX)
  if(NOT played MATCHES "[1-9a-f]")
    message(FATAL_ERROR "the installed game played nothing but silence")
  endif()
endif()
file(REMOVE_RECURSE ${prefix})
