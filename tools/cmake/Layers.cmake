# One library per folder, each compiled against its own folder and the folders
# below it only: the include path of a folder's library is a directory of
# links to exactly those folders, so an include that runs upward is a missing
# file and fails the build. A folder may only build on folders declared before
# it, so no two folders can include each other.
set(QUILLON_LAYERS_DIR ${CMAKE_BINARY_DIR}/layers)

# quillon_layer(FOLDER [BELOW...]): the library quillon_FOLDER from FOLDER/*.cpp,
# built on the libraries of the folders BELOW (and everything they build on).
function(quillon_layer folder)
  set(closure ${folder})
  foreach(below ${ARGN})
    get_property(below_closure GLOBAL PROPERTY QUILLON_LAYER_${below})
    if(NOT below_closure)
      message(FATAL_ERROR "${folder} builds on ${below}, which is not declared below it")
    endif()
    list(APPEND closure ${below_closure})
  endforeach()
  list(REMOVE_DUPLICATES closure)
  # A folder before its win32/ subfolder, which then shows through its link.
  list(SORT closure)
  set_property(GLOBAL PROPERTY QUILLON_LAYER_${folder} ${closure})

  string(REPLACE "/" "_" name ${folder})
  set(view ${QUILLON_LAYERS_DIR}/${name})
  file(REMOVE_RECURSE ${view})
  foreach(visible ${closure})
    get_filename_component(parent ${view}/${visible} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    if(NOT EXISTS ${view}/${visible})
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${visible} ${view}/${visible} SYMBOLIC)
    endif()
  endforeach()

  file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp)
  add_library(quillon_${name} STATIC ${sources})
  target_include_directories(quillon_${name} PRIVATE ${view})
  foreach(below ${ARGN})
    string(REPLACE "/" "_" below_name ${below})
    target_link_libraries(quillon_${name} PUBLIC quillon_${below_name})
  endforeach()
endfunction()

# ctest checks that the wall holds: a file of FOLDER compiles with a header
# from below it, and does not with one from above it.
function(quillon_layer_wall_test folder below above)
  string(REPLACE "/" "_" name ${folder})
  foreach(side below above)
    set(probe ${CMAKE_BINARY_DIR}/layer-probes/${name}-${side}.cpp)
    file(WRITE ${probe} "#include \"${${side}}\"\n")
    add_test(NAME layering_${name}_includes_${side}
      COMMAND ${CMAKE_CXX_COMPILER} -std=c++20 -fsyntax-only -I${QUILLON_LAYERS_DIR}/${name} ${probe})
    set_tests_properties(layering_${name}_includes_${side} PROPERTIES LABELS unit)
  endforeach()
  set_tests_properties(layering_${name}_includes_above PROPERTIES WILL_FAIL TRUE)
endfunction()
