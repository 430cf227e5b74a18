# The layer check: every folder of src/ is a library that uses only folders of lower layers (the
# feature folders may use one another, never in a circle), and every file includes headers only
# from its own folder and the folders its library uses, directly or through them.
#
#   cmake -DSOURCE_DIR=<src> -DLAYERS=<build>/layers.txt -P check_layers.cmake

cmake_minimum_required(VERSION 3.25)

# The layers from the bottom up; the feature folders share one layer.
set(ranks base:0 store:1 records:2 rules:3 ui:4 views:5
    master:6 hours:6 closures:6 reservations:6 maintenance:6 sheets:6 app:7)

set(problems "")
macro(problem text)
  string(APPEND problems "  ${text}\n")
endmacro()

function(rank_of folder out)
  foreach(entry ${ranks})
    string(REPLACE ":" ";" pair ${entry})
    list(GET pair 0 name)
    if(name STREQUAL folder)
      list(GET pair 1 value)
      set(${out} ${value} PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${out} "" PARENT_SCOPE)
endfunction()

# The folders and what each uses, as the build declares them.
file(STRINGS ${LAYERS} lines)
set(folders "")
foreach(line ${lines})
  string(REGEX REPLACE ":.*" "" folder "${line}")
  string(REGEX REPLACE "^[^:]*:" "" uses "${line}")
  string(REPLACE "," ";" uses_${folder} "${uses}")
  list(APPEND folders ${folder})
endforeach()

file(GLOB entries LIST_DIRECTORIES true ${SOURCE_DIR}/*)
foreach(entry ${entries})
  get_filename_component(name ${entry} NAME)
  if(IS_DIRECTORY ${entry} AND NOT name IN_LIST folders)
    problem("src/${name} is no library of its own (add src/${name}/CMakeLists.txt)")
  endif()
endforeach()

# Each declared use goes down a layer (or across, between features).
foreach(folder ${folders})
  rank_of(${folder} rank)
  if(rank STREQUAL "")
    problem("src/${folder} has no layer: give it one in tests/architecture/check_layers.cmake")
    continue()
  endif()
  foreach(used ${uses_${folder}})
    rank_of(${used} used_rank)
    if(used_rank STREQUAL "" OR used_rank GREATER rank OR (used_rank EQUAL rank AND NOT rank EQUAL 6))
      problem("${folder} uses ${used}, a folder of a layer above it")
    endif()
  endforeach()
endforeach()

# What each folder may include: itself and every folder it uses, directly or not.
foreach(folder ${folders})
  set(reach ${uses_${folder}})
  set(todo ${reach})
  while(todo)
    list(POP_FRONT todo next)
    foreach(used ${uses_${next}})
      if(NOT used IN_LIST reach)
        list(APPEND reach ${used})
        list(APPEND todo ${used})
      endif()
    endforeach()
  endwhile()
  if(folder IN_LIST reach)
    problem("${folder} uses itself through: ${reach}")
  endif()
  set(reach_${folder} ${reach} ${folder})
endforeach()

foreach(folder ${folders})
  file(GLOB sources ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(source ${sources})
    file(STRINGS ${source} includes REGEX "^#include \"[a-z_]+/")
    foreach(include ${includes})
      string(REGEX REPLACE "^#include \"([a-z_]+)/.*" "\\1" included "${include}")
      if(included IN_LIST folders AND NOT included IN_LIST reach_${folder})
        file(RELATIVE_PATH shown ${SOURCE_DIR} ${source})
        problem("src/${shown} includes ${included}/, which ${folder} does not use")
      endif()
    endforeach()
  endforeach()
endforeach()

if(problems)
  message(FATAL_ERROR "The layers do not depend one way:\n${problems}")
endif()
list(LENGTH folders count)
message(STATUS "${count} folders, every include within its layers")
