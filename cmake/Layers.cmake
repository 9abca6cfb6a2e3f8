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

# zelmor_module(<name> SOURCES <files>... LINKS <targets>...): a module the
# game loads with QLibrary when it first needs it (lib<name>.so in the
# program's directory), so that its libraries stay out of the start-up. Only
# its entry point is exported. zelmor_use_module(<program> <name> <MACRO>)
# builds it first and tells the program where it is, as MACRO.
function(zelmor_module name)
  cmake_parse_arguments(MODULE "" "" "SOURCES;LINKS" ${ARGN})
  add_library(${name} MODULE ${MODULE_SOURCES})
  target_link_libraries(${name} PRIVATE ${MODULE_LINKS})
  target_link_options(${name} PRIVATE "LINKER:--exclude-libs,ALL")
  set_target_properties(${name} PROPERTIES
    LIBRARY_OUTPUT_DIRECTORY ${ZELMOR_PROGRAM_DIR}
    PREFIX "lib"
    OUTPUT_NAME ${name}
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
endfunction()

function(zelmor_use_module program name macro)
  add_dependencies(${program} ${name})
  target_compile_definitions(${program} PRIVATE ${macro}="$<TARGET_FILE:${name}>")
endfunction()
