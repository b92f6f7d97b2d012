# trevanto_module_includes(<target> <visibility> [FILES <headers...>])
# The include root of a module: a folder of the build tree holding only a link
# to the module's own folder, under the name the code includes it by
# (src/shots -> "shots/shot.h", src/ui/controls -> "ui/controls/..."). A target
# thus sees the headers of the modules it links and no others. With FILES, only
# those headers of the folder are linked (several targets in one folder).
# Coverage builds include from the source tree itself, so that the report
# names every header once, by its own path.
function(trevanto_module_includes target visibility)
  cmake_parse_arguments(ARG "" "" "FILES" ${ARGN})
  file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  string(FIND ${relative} "/" slash)
  string(SUBSTRING ${relative} 0 ${slash} top)
  math(EXPR slash "${slash} + 1")
  string(SUBSTRING ${relative} ${slash} -1 include_name)
  if(TREVANTO_COVERAGE)
    target_include_directories(${target} ${visibility} ${PROJECT_SOURCE_DIR}/${top})
    return()
  endif()
  set(root ${PROJECT_BINARY_DIR}/include/${target})
  get_filename_component(parent ${root}/${include_name} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  if(ARG_FILES)
    file(MAKE_DIRECTORY ${root}/${include_name})
    foreach(header ${ARG_FILES})
      file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${header} ${root}/${include_name}/${header}
           SYMBOLIC)
    endforeach()
  else()
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${include_name} SYMBOLIC)
  endif()
  target_include_directories(${target} ${visibility} ${root})
endfunction()

# trevanto_module(NAME <target> [RECURSE] [LINK <libs...>] [PRIVATE_LINK <libs...>]
#                 [EXCLUDE <files...>])
# A static library of the *.cpp files of the calling folder (RECURSE: and of
# its subfolders, for a module sorted into folders). Until a folder has
# sources it is an interface target, so that later work only adds files.
# LINK: what the module's headers use (users of the module see it too);
# PRIVATE_LINK: what only its sources use.
function(trevanto_module)
  cmake_parse_arguments(ARG "RECURSE" "NAME" "LINK;PRIVATE_LINK;EXCLUDE" ${ARGN})
  if(ARG_RECURSE)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  else()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  foreach(excluded ${ARG_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
  endforeach()
  if(sources)
    add_library(${ARG_NAME} STATIC ${sources})
    trevanto_module_includes(${ARG_NAME} PUBLIC)
    target_link_libraries(${ARG_NAME} PUBLIC ${ARG_LINK} PRIVATE ${ARG_PRIVATE_LINK})
  else()
    add_library(${ARG_NAME} INTERFACE)
    trevanto_module_includes(${ARG_NAME} INTERFACE)
    target_link_libraries(${ARG_NAME} INTERFACE ${ARG_LINK} ${ARG_PRIVATE_LINK})
  endif()
endfunction()

# trevanto_test(NAME <target> LINK <libs...> [LABELS <labels>] [PATTERN <glob>] [SERIAL])
# One GoogleTest executable of the *.cpp files of the calling folder (or of the
# files matching PATTERN, so that one folder can hold several executables).
# SERIAL runs its tests alone, for those whose time bounds a busy machine breaks.
function(trevanto_test)
  cmake_parse_arguments(ARG "SERIAL" "NAME;TIMEOUT;PATTERN" "LINK;LABELS" ${ARGN})
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
  # Under ThreadSanitizer the media tests run five to ten times slower: the
  # slowest took 111 of its 120 s on a busy machine.
  if(TREVANTO_TSAN)
    math(EXPR ARG_TIMEOUT "${ARG_TIMEOUT} * 3")
  endif()
  # An empty value would swallow the next property name, so labels are only
  # listed when there are some.
  # One variable per property: a list value would not survive test discovery.
  set(properties TIMEOUT ${ARG_TIMEOUT} ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
      ENVIRONMENT_MODIFICATION "TREVANTO_TEST_MEDIA=set:${TREVANTO_MEDIA_DIR}")
  if(ARG_LABELS)
    list(APPEND properties LABELS "${ARG_LABELS}")
  endif()
  if(ARG_SERIAL)
    list(APPEND properties RUN_SERIAL TRUE)
  endif()
  gtest_discover_tests(${ARG_NAME}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ${properties})
endfunction()
