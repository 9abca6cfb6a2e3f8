# SPDX-License-Identifier: MIT
# The game's folders are layers, bottom to top: platform, game, storage and
# sound, ui, app. Each is one static library. A layer's include path holds a
# directory of links to its own folder and to those of the layers it links,
# and nothing else, so a wrong-way include (game/ including ui/, say) fails
# to build.
function(zelmor_layer name)
  cmake_parse_arguments(LAYER "" "" "SOURCES;LINKS" ${ARGN})
  set(view ${CMAKE_BINARY_DIR}/layers/${name})
  file(MAKE_DIRECTORY ${view})
  if(NOT EXISTS ${view}/${name})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${name} ${view}/${name} SYMBOLIC)
  endif()
  add_library(zelmor_${name} STATIC ${LAYER_SOURCES})
  target_include_directories(zelmor_${name} PUBLIC ${view})
  target_link_libraries(zelmor_${name} PUBLIC ${LAYER_LINKS})
endfunction()
