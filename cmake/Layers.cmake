# The folders are layers: a folder's code may include only its own folder and those of
# the libraries it names, and what they name in turn. Each folder is one static library
# compiled against an include root of its own that holds links to just those folders,
# so an include that runs the wrong way does not compile.
#
# parla_library(<folder> [USES <folder libraries below>] [SYSTEM <system libraries>]
#               SOURCES <files...>)

set(PARLA_LAYER_ROOTS ${CMAKE_BINARY_DIR}/layers)

# The folders every layer sees: the framework and the resource ids it stands beside.
set(PARLA_BASE_FOLDERS framework res)

function(parla_library folder)
  cmake_parse_arguments(PARSE_ARGV 1 LAYER "" "" "USES;SYSTEM;SOURCES")
  set(visible ${folder} ${PARLA_BASE_FOLDERS})
  foreach(used ${LAYER_USES})
    get_target_property(below ${used} PARLA_VISIBLE_FOLDERS)
    if(NOT below)
      message(FATAL_ERROR "parla_library(${folder}): ${used} must be defined before its users")
    endif()
    list(APPEND visible ${below})
  endforeach()
  list(REMOVE_DUPLICATES visible)

  set(root ${PARLA_LAYER_ROOTS}/${folder})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root})
  foreach(seen ${visible})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${seen} ${root}/${seen} SYMBOLIC)
  endforeach()

  add_library(${folder} STATIC ${LAYER_SOURCES})
  target_include_directories(${folder} PRIVATE ${root})
  if(NOT folder STREQUAL framework)
    list(APPEND LAYER_USES framework)
  endif()
  target_link_libraries(${folder} PUBLIC ${LAYER_USES} ${LAYER_SYSTEM})
  set_target_properties(${folder} PROPERTIES PARLA_VISIBLE_FOLDERS "${visible}")
endfunction()
