# Layering: each library sees only its own folder and the folders of the libraries it
# links. A library's folder is exposed through a directory of its own in the build tree
# that holds one link to it, so that "system/ui/..." cannot be found from system/common/,
# for example. Includes name a folder by its path below src/ (or testing/).
# sendnote_layer_include(TARGET SCOPE): gives TARGET (and, by SCOPE, its users) its folder.
function(sendnote_layer_include target scope)
  sendnote_include_root(include_root ${CMAKE_CURRENT_SOURCE_DIR})
  file(RELATIVE_PATH layer ${include_root} ${CMAKE_CURRENT_SOURCE_DIR})
  set(root ${PROJECT_BINARY_DIR}/layers/${target})
  get_filename_component(parent ${root}/${layer} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${layer} SYMBOLIC)
  target_include_directories(${target} ${scope} ${root})
  set_property(TARGET ${target} PROPERTY SENDNOTE_LAYER ${layer})
  sendnote_layer_check(${target})
endfunction()

# sendnote_layer_check(TARGET): the include check reads TARGET's folder too (a program's,
# whose folder no other target includes).
function(sendnote_layer_check target)
  set_property(GLOBAL APPEND PROPERTY SENDNOTE_LAYER_TARGETS ${target})
endfunction()

# The layers TARGET may include: its own and those of every target it links, transitively.
function(sendnote_layers_seen var target)
  set(seen)
  set(queue ${target})
  set(visited)
  while(queue)
    list(POP_FRONT queue current)
    if(current IN_LIST visited OR NOT TARGET ${current})
      continue()
    endif()
    list(APPEND visited ${current})
    get_target_property(layer ${current} SENDNOTE_LAYER)
    if(layer)
      list(APPEND seen ${layer})
    endif()
    get_target_property(type ${current} TYPE)
    set(links)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(links ${current} LINK_LIBRARIES)
    endif()
    get_target_property(interface_links ${current} INTERFACE_LINK_LIBRARIES)
    foreach(link IN LISTS links interface_links)
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" link "${link}")
      if(link MATCHES "^sendnote_")
        list(APPEND queue ${link})
      endif()
    endforeach()
  endwhile()
  list(REMOVE_DUPLICATES seen)
  set(${var} ${seen} PARENT_SCOPE)
endfunction()

# sendnote_write_layer_map(FILE): for the include check, each checked folder (relative to
# the source tree) with the layers its target links; the one source is the targets' links.
function(sendnote_write_layer_map file)
  get_property(targets GLOBAL PROPERTY SENDNOTE_LAYER_TARGETS)
  set(text "# Made by CMake from the targets' links: what each folder's sources may include.\n")
  set(folders)
  foreach(target IN LISTS targets)
    get_target_property(dir ${target} SOURCE_DIR)
    file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${dir})
    if(folder MATCHES "^tests/")
      continue()  # the suites and their helpers see the whole tree
    endif()
    sendnote_layers_seen(seen ${target})
    string(APPEND text "set(\"allowed_${folder}\" ${seen})\n")
    list(APPEND folders ${folder})
  endforeach()
  list(REMOVE_DUPLICATES folders)
  string(APPEND text "set(folders ${folders})\n")
  file(WRITE ${file} "${text}")
endfunction()

# sendnote_include_root(VAR DIR): the root includes below DIR are named from: src/ or
# testing/, and the tree's root for the tests' own helpers (tests/support/...).
function(sendnote_include_root var dir)
  set(${var} ${PROJECT_SOURCE_DIR} PARENT_SCOPE)
  foreach(root ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/testing)
    string(FIND "${dir}/" "${root}/" at)
    if(at EQUAL 0)
      set(${var} ${root} PARENT_SCOPE)
    endif()
  endforeach()
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
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/src
                                             ${PROJECT_SOURCE_DIR}/testing)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main
                                        sendnote_warnings)
  sendnote_discover_tests(${name})
endfunction()

# sendnote_discover_tests(NAME): registers the GoogleTest executable's tests with CTest.
# Tests that start LibreOffice carry "LibreOffice" in their names and run one at a time:
# two first starts of soffice on a machine at once can fail each other.
function(sendnote_discover_tests name)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_FILTER "-*LibreOffice*")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_FILTER "*LibreOffice*"
                       PROPERTIES RESOURCE_LOCK libreoffice)
endfunction()
