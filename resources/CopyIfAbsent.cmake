# cmake -DSOURCE=<file> -DTARGET=<file> -P CopyIfAbsent.cmake: copies only when TARGET is absent.
if(NOT EXISTS "${TARGET}")
    configure_file("${SOURCE}" "${TARGET}" COPYONLY)
endif()
