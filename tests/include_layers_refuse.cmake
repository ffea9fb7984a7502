# The layer check itself: on a tree with an upward include and a Qt include
# in the core it must fail and name both, and nothing else.
execute_process(
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${SOURCE_DIR}/tests/data/wrong_layers -DMIN_FILES=3
          -P ${SOURCE_DIR}/tests/include_layers.cmake
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(result EQUAL 0)
  message(FATAL_ERROR "the layer check passed a tree that breaks the layers:\n${output}")
endif()
foreach(expected "game/rule.cpp: includes app/app.h, a higher layer" "render/draw.cpp: the core includes QImage")
  string(FIND "${output}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the layer check did not report '${expected}':\n${output}")
  endif()
endforeach()
foreach(unexpected "render/draw.h" "app/app.cpp")
  string(FIND "${output}" "${unexpected}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "the layer check refused an include that keeps the layers ('${unexpected}'):\n${output}")
  endif()
endforeach()
