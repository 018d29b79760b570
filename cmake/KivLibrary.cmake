# kiv_add_library(NAME DIR DEPS...): a static library of every source below DIR.
# Globbing keeps each folder's list in one place: adding a file needs no edit here.
function(kiv_add_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;EXCLUDE" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  # EXCLUDE patterns match the path inside the source tree, written "/folder/file.cpp", so
  # that the folders above the checkout (a worktree called "product", say) exclude nothing.
  set(kept)
  foreach(source IN LISTS sources)
    file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${source})
    set(keep TRUE)
    foreach(pattern IN LISTS ARG_EXCLUDE)
      if("/${relative}" MATCHES "${pattern}")
        set(keep FALSE)
      endif()
    endforeach()
    if(keep)
      list(APPEND kept ${source})
    endif()
  endforeach()
  set(sources ${kept})
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()
    # A folder whose sources are headers only (so far).
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# kiv_add_test(NAME SOURCES... DEPS...): one GoogleTest program.
function(kiv_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  if(CMAKE_CROSSCOMPILING)
    # Under Wine every process start costs time: one CTest entry per program.
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  else()
    gtest_discover_tests(${name} TEST_PREFIX "${name}." DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
