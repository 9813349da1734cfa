# Each folder of the program is one static library, and its sources may include only the folders
# below it: forms <- shared <- startup, mainwindow, about <- app;
# resources/ holds only the resource numbers, for the windows. The build checks every file of a
# folder before compiling it, so an include running the wrong way fails the build.
set(SONBREL_LAYER_CHECK ${CMAKE_CURRENT_LIST_DIR}/check-layer.cmake)

# sonbrel_layer(<target> <folder> [MAY_INCLUDE <folder>...]): the folder's own files are allowed.
function(sonbrel_layer target folder)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "MAY_INCLUDE")
  list(PREPEND arg_MAY_INCLUDE ${folder})
  file(GLOB files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.h ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${folder}-layer.checked)
  list(JOIN arg_MAY_INCLUDE "," allowed)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DFOLDER=${folder} "-DALLOWED=${allowed}"
            -DSTAMP=${stamp} -P ${SONBREL_LAYER_CHECK}
    DEPENDS ${files} ${SONBREL_LAYER_CHECK}
    COMMENT "Checking the includes of ${folder}/"
    VERBATIM)
  add_custom_target(${target}_layer DEPENDS ${stamp})
  add_dependencies(${target} ${target}_layer)
endfunction()
