# A unit is one header and one source file named alike. The folders list their units by name;
# these helpers turn the names into files and make sure no source file is left out of a list.

# kolv_unit_sources(OUT unit...): the existing .h and .cpp files of the units.
function(kolv_unit_sources out)
    set(files)
    foreach(unit ${ARGN})
        foreach(ext h cpp)
            if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${unit}.${ext})
                list(APPEND files ${CMAKE_CURRENT_SOURCE_DIR}/${unit}.${ext})
            endif()
        endforeach()
    endforeach()
    set(${out} ${files} PARENT_SCOPE)
endfunction()

# kolv_check_units(unit...): fails the configuration when a .cpp of this folder or its
# sub-folders names no unit. A unit in a sub-folder is named with its folder: `run/sestavy`.
function(kolv_check_units)
    file(GLOB_RECURSE sources RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} CONFIGURE_DEPENDS
         ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    foreach(source ${sources})
        string(REGEX REPLACE "\\.cpp$" "" unit ${source})
        if(NOT unit IN_LIST ARGN)
            file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
            message(FATAL_ERROR "${folder}/${source} is in no unit list")
        endif()
    endforeach()
endfunction()
