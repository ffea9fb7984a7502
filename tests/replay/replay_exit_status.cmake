# Runs burrow-dash-replay the way a script would and checks its exact exit
# status: CASE=good runs must end with 0 and a trace line per step, CASE=bad
# runs must end with 2 and say why on stderr.
#   cmake -DREPLAY=... -DCASE=good|bad -DWORK_DIR=... -P replay_exit_status.cmake
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

# "BD" and six stages of solid blocks; with the magic swapped, a refused file.
string(REPEAT "\"" 672 solid_stages)
file(WRITE ${WORK_DIR}/solid.bds "BD${solid_stages}")
file(WRITE ${WORK_DIR}/swapped.bds "DB${solid_stages}")
file(WRITE ${WORK_DIR}/keys.txt "# walk, dig and give up\n2 down left\n5 up left\n\n6 down z # dig\n9 down f5\n")
file(WRITE ${WORK_DIR}/bad-keys.txt "1 down left\n2 down sideways\n")

# Runs the tool with the arguments in the string `arguments`.
function(run_replay arguments)
  separate_arguments(args UNIX_COMMAND "${arguments}")
  execute_process(COMMAND ${REPLAY} ${args} WORKING_DIRECTORY ${WORK_DIR}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(status "${status}" PARENT_SCOPE)
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

set(failures "")

if(CASE STREQUAL "good")
  foreach(arguments
      "--builtin 2 --ticks 40 --seed 7 --trace --field --input keys.txt --png 40:last.png"
      "--file solid.bds --stage 5 --ticks 40 --trace")
    run_replay("${arguments}")
    if(NOT status STREQUAL "0")
      string(APPEND failures "[${arguments}] exited with '${status}', not 0: ${err}\n")
      continue()
    endif()
    string(REGEX MATCHALL "[^\n]+\n" lines "${out}")
    list(LENGTH lines count)
    if(NOT count EQUAL 40)
      string(APPEND failures "[${arguments}] printed ${count} lines, not 40\n")
    endif()
    set(step 0)
    foreach(line IN LISTS lines)
      math(EXPR step "${step} + 1")
      if(NOT line MATCHES "^{\"tick\":${step},\"timer1\":")
        string(APPEND failures "[${arguments}] line ${step} is not step ${step}: ${line}")
        break()
      endif()
    endforeach()
  endforeach()
  if(NOT EXISTS ${WORK_DIR}/last.png)
    string(APPEND failures "--png 40:last.png wrote no picture\n")
  endif()
elseif(CASE STREQUAL "bad")
  # One of each kind; the in-process tests go through the full list.
  foreach(arguments
      "--builtin 0 --bogus"
      "--builtin"
      "--builtin 16"
      "--builtin 0 --file solid.bds"
      "--builtin 0 --input missing.txt"
      "--builtin 0 --input bad-keys.txt"
      "--file swapped.bds")
    run_replay("${arguments}")
    if(NOT status STREQUAL "2")
      string(APPEND failures "[${arguments}] exited with '${status}', not 2\n")
    elseif(err STREQUAL "")
      string(APPEND failures "[${arguments}] said nothing on stderr\n")
    endif()
  endforeach()
else()
  message(FATAL_ERROR "CASE must be good or bad, not '${CASE}'")
endif()

if(failures)
  message(FATAL_ERROR "${failures}")
endif()
