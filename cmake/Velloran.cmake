# Project-wide helpers: warnings, sanitizers, the include folders that keep the layers apart and the check
# that keeps Qt out of the logic.

# Every library in src/ is seen through an include folder of its own, <build>/include/<library>, which holds
# a link to each header among its sources under its folder's name (include/velloran_store/store/task.h).
# The library gives that folder PUBLIC, so a file finds "store/task.h" only when its library links the
# store: an include from a higher layer, or from a library not linked, is not found. Where a folder holds
# two libraries, the Qt-free rules see only their own headers there, the windows theirs and the rules'.
# Programs and tests have no folder of their own; they see what they link.
function(velloran_target target)
  get_target_property(type ${target} TYPE)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR})
  if(type MATCHES "_LIBRARY$" AND NOT folder MATCHES "^\\.\\.|/")
    target_include_directories(${target} PUBLIC ${PROJECT_BINARY_DIR}/include/${target})
    # Linked when the whole project is read, so that sources added later in its folder count too (a
    # deferred call reads its arguments when it runs: they are written out here).
    cmake_language(EVAL CODE
      "cmake_language(DEFER DIRECTORY [[${PROJECT_SOURCE_DIR}]] CALL velloran_link_headers [[${target}]] [[${folder}]])")
  endif()
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
    if(VELLORAN_WERROR)
      target_compile_options(${target} PRIVATE -Werror)
    endif()
  endif()
  # Built for size: the program waits in the tray nearly all the time, and what it keeps in memory
  # there counts for more than speed, which the benchmarks show it has to spare.
  target_compile_options(${target} PRIVATE $<$<CONFIG:Release,RelWithDebInfo>:-Os -ffunction-sections -fdata-sections>)
  if(VELLORAN_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                             -fno-sanitize-recover=all)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
endfunction()

# Makes include/<target>/<folder>/ hold links to the headers among the sources of the target and of the
# libraries of the same folder that it links (the windows' library sees the rules beside it), and no
# others; headers the build generates there (common/version.h) stay.
function(velloran_link_headers target folder)
  set(view ${PROJECT_BINARY_DIR}/include/${target}/${folder})
  file(MAKE_DIRECTORY ${view})
  file(GLOB entries LIST_DIRECTORIES true ${view}/*)
  foreach(entry IN LISTS entries)
    if(IS_SYMLINK ${entry})
      file(REMOVE ${entry})
    endif()
  endforeach()
  get_target_property(source_dir ${target} SOURCE_DIR)
  get_target_property(pending ${target} LINK_LIBRARIES)
  set(libraries ${target})
  while(pending)
    list(POP_FRONT pending library)
    if(TARGET ${library} AND NOT library IN_LIST libraries)
      get_target_property(library_dir ${library} SOURCE_DIR)
      if(library_dir STREQUAL source_dir)
        list(APPEND libraries ${library})
        get_target_property(interface ${library} INTERFACE_LINK_LIBRARIES)
        list(APPEND pending ${interface})
      endif()
    endif()
  endwhile()
  foreach(library IN LISTS libraries)
    get_target_property(sources ${library} SOURCES)
    foreach(source IN LISTS sources)
      get_filename_component(source ${source} ABSOLUTE BASE_DIR ${source_dir})
      get_filename_component(source_folder ${source} DIRECTORY)
      get_filename_component(name ${source} NAME)
      if(source MATCHES "\\.h$" AND source_folder STREQUAL source_dir AND NOT EXISTS ${view}/${name})
        file(CREATE_LINK ${source} ${view}/${name} SYMBOLIC)
      endif()
      if(library STREQUAL target AND source_folder STREQUAL source_dir)
        list(APPEND own_files ${source})
      endif()
    endforeach()
  endforeach()
  # An include without a folder ("task.h") is found beside the file, where no include folder has a say:
  # tests/layers/check_own_headers.cmake checks those against the view, from this list of the files.
  file(WRITE ${PROJECT_BINARY_DIR}/layers/${target}.txt "${view}\n")
  foreach(file IN LISTS own_files)
    file(APPEND ${PROJECT_BINARY_DIR}/layers/${target}.txt "${file}\n")
  endforeach()
endfunction()

# Fails the configuration when a target links Qt, directly or through another target.
function(velloran_forbid_qt)
  foreach(target IN LISTS ARGN)
    set(pending ${target})
    set(seen "")
    while(pending)
      list(POP_FRONT pending current)
      if(current IN_LIST seen)
        continue()
      endif()
      list(APPEND seen ${current})
      if(current MATCHES "^Qt[0-9]*::|Qt6|Qt5")
        message(FATAL_ERROR "${target} must not depend on Qt, but reaches ${current}")
      endif()
      if(TARGET ${current})
        get_target_property(links ${current} LINK_LIBRARIES)
        get_target_property(interface ${current} INTERFACE_LINK_LIBRARIES)
        foreach(link IN LISTS links interface)
          if(link AND NOT link MATCHES "NOTFOUND$")
            list(APPEND pending ${link})
          endif()
        endforeach()
      endif()
    endwhile()
  endforeach()
endfunction()

