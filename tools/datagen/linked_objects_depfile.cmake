# Writes the dependency file of the generated data set: the object files that went into
# drift-datagen, read from the linker's map. The data set then depends on the code the
# generator is made of and on nothing else that happens to share its libraries: an edit
# of engine code the generator does not link relinks the generator but does not make
# the data again, while an edit of a format writer it links does. An object file stands
# for its source and every header it includes, since it is rebuilt when any of them
# changes.
#
# cmake -DMAP=<linker map> -DBUILD_DIR=<where the linker ran> -DPROGRAM=<drift-datagen>
#       -DOUTPUT=<first output> -DDEPFILE=<file> -P linked_objects_depfile.cmake
#
# Archive members are named in the map only by their file name ("frames.cpp.o"); each
# is found among the objects CMake keeps for that library (<dir>/CMakeFiles/<name>.dir).
# Two members of one library with the same name both count. Whatever cannot be resolved
# falls back to something that changes at least as often: a member to its whole archive,
# a missing map to the program itself.

foreach(variable MAP BUILD_DIR PROGRAM OUTPUT DEPFILE)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "linked_objects_depfile.cmake: ${variable} is not set")
  endif()
endforeach()

set(inputs "")

# Paths in the map are relative to the folder the linker ran in; only files below it
# are the project's own.
function(resolve path result)
  if(NOT IS_ABSOLUTE "${path}")
    set(path "${BUILD_DIR}/${path}")
  endif()
  string(FIND "${path}" "${BUILD_DIR}/" at)
  if(at EQUAL 0)
    set(${result} "${path}" PARENT_SCOPE)
  else()
    set(${result} "" PARENT_SCOPE)
  endif()
endfunction()

if(NOT EXISTS "${MAP}")
  list(APPEND inputs "${PROGRAM}")
else()
  file(READ "${MAP}" map)
  # Members of static libraries: "dir/libname.a(member.o)".
  string(REGEX MATCHALL "[^ \t\r\n(]+\\.a\\([^)\r\n]+\\.o\\)" members "${map}")
  list(REMOVE_DUPLICATES members)
  foreach(member ${members})
    string(REGEX REPLACE "^(.+)\\(([^)]+)\\)$" "\\1" archive "${member}")
    string(REGEX REPLACE "^(.+)\\(([^)]+)\\)$" "\\2" object "${member}")
    resolve("${archive}" archive)
    if(NOT archive)
      continue()  # a system library
    endif()
    get_filename_component(archive_dir "${archive}" DIRECTORY)
    get_filename_component(library "${archive}" NAME_WE)
    string(REGEX REPLACE "^lib" "" library "${library}")
    file(GLOB_RECURSE candidates "${archive_dir}/CMakeFiles/${library}.dir/*.o")
    set(found FALSE)
    foreach(candidate ${candidates})
      get_filename_component(name "${candidate}" NAME)
      if(name STREQUAL object)
        list(APPEND inputs "${candidate}")
        set(found TRUE)
      endif()
    endforeach()
    if(NOT found)
      list(APPEND inputs "${archive}")
    endif()
  endforeach()
  # Object files given to the linker directly (the program's main.cpp): GNU ld names
  # them on LOAD lines.
  string(REGEX MATCHALL "LOAD [^\r\n]+\\.o" loads "${map}")
  foreach(load ${loads})
    string(REGEX REPLACE "^LOAD " "" object "${load}")
    resolve("${object}" object)
    if(object)
      list(APPEND inputs "${object}")
    endif()
  endforeach()
  if(NOT inputs)
    list(APPEND inputs "${PROGRAM}")  # a map this script cannot read
  endif()
endif()

list(REMOVE_DUPLICATES inputs)
list(SORT inputs)
string(REPLACE " " "\\ " output "${OUTPUT}")
set(text "${output}:")
foreach(input ${inputs})
  string(REPLACE " " "\\ " input "${input}")
  string(APPEND text " \\\n  ${input}")
endforeach()
file(WRITE "${DEPFILE}" "${text}\n")
