# Layering: each library sees only its own folder and the folders of the libraries it
# links. A library's folder is exposed through a directory of its own in the build tree
# that holds one link to it, so that "ui/..." cannot be found from common/, for example.
# sendnote_layer_include(TARGET SCOPE): gives TARGET (and, by SCOPE, its users) its folder.
function(sendnote_layer_include target scope)
  file(RELATIVE_PATH layer ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(root ${PROJECT_BINARY_DIR}/layers/${target})
  get_filename_component(parent ${root}/${layer} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${layer} SYMBOLIC)
  target_include_directories(${target} ${scope} ${root})
endfunction()

# sendnote_library(NAME DIR [DEPS ...]): a static library of the .cpp files of DIR.
# Sources are globbed so that adding a file needs no edit here.
function(sendnote_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    sendnote_layer_include(${name} INTERFACE)
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE sendnote_warnings)
  sendnote_layer_include(${name} PUBLIC)
endfunction()

# sendnote_test(NAME [DEPS ...]): a GoogleTest executable of the .cpp files of the
# current directory, registered with CTest. Tests see the whole tree.
function(sendnote_test name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main
                                        sendnote_warnings)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()
