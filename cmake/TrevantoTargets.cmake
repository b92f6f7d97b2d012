# trevanto_module(NAME <target> [LINK <libs...>])
# A static library of the *.cpp files of the calling folder. Until a folder has
# sources it is an interface target, so that later work only adds files.
function(trevanto_module)
  cmake_parse_arguments(ARG "" "NAME" "LINK;PRIVATE_LINK;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(excluded ${ARG_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
  endforeach()
  if(sources)
    add_library(${ARG_NAME} STATIC ${sources})
    target_include_directories(${ARG_NAME} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${ARG_NAME} PUBLIC ${ARG_LINK} PRIVATE ${ARG_PRIVATE_LINK})
  else()
    add_library(${ARG_NAME} INTERFACE)
    target_include_directories(${ARG_NAME} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${ARG_NAME} INTERFACE ${ARG_LINK} ${ARG_PRIVATE_LINK})
  endif()
endfunction()

# trevanto_test(NAME <target> LINK <libs...> [LABELS <labels>] [PATTERN <glob>])
# One GoogleTest executable of the *.cpp files of the calling folder (or of the
# files matching PATTERN, so that one folder can hold several executables).
function(trevanto_test)
  cmake_parse_arguments(ARG "" "NAME;TIMEOUT;PATTERN" "LINK;LABELS" ${ARGN})
  if(NOT ARG_PATTERN)
    set(ARG_PATTERN "*.cpp")
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_PATTERN})
  if(NOT sources)
    return()
  endif()
  add_executable(${ARG_NAME} ${sources})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LINK} GTest::gtest GTest::gtest_main)
  target_include_directories(${ARG_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  # An empty value would swallow the next property name, so labels are only
  # listed when there are some.
  # One variable per property: a list value would not survive test discovery.
  set(properties TIMEOUT ${ARG_TIMEOUT} ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
      ENVIRONMENT_MODIFICATION "TREVANTO_TEST_MEDIA=set:${PROJECT_BINARY_DIR}/tests/media")
  if(ARG_LABELS)
    list(APPEND properties LABELS "${ARG_LABELS}")
  endif()
  gtest_discover_tests(${ARG_NAME}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ${properties})
endfunction()
