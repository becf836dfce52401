# The metafile reader speaks its record codes by name: no EMF record type, WMF function number,
# signature or stock object written as a bare number in it (the names are in
# report/engine/document/MetafileCodes.h, which the writers use too). Run as
# `cmake -DREADER=<MetafileReader.cpp> -P MetafileCodes.cmake`; it fails naming each line
# found, and when it finds no reader to read.
if(NOT EXISTS "${READER}")
    message(FATAL_ERROR "no metafile reader at '${READER}'")
endif()
set(patterns
    "case +(0x[0-9A-Fa-f]+|[0-9]+) *:"            # a record by number in a switch
    "(type|function) *[=!]= *(0x)?[0-9]"          # a record compared with a number
    "u32\\( *0 *\\) *== *(0x)?[0-9]"               # a header or key by number
    "== *0x[0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f]")  # a signature or stock object
get_filename_component(name ${READER} NAME)
# One list element a line: what a CMake list reads as a separator or an escape is written as a
# word first.
file(READ ${READER} text)
string(REPLACE "\\" "<bs>" text "${text}")
string(REPLACE ";" "<sc>" text "${text}")
string(REPLACE "[" "<lb>" text "${text}")
string(REPLACE "]" "<rb>" text "${text}")
string(REPLACE "\n" ";" lines "${text}")
set(found "")
set(number 0)
foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    foreach(pattern ${patterns})
        if(line MATCHES "${pattern}")
            string(REPLACE "<lb>" "[" line "${line}")
            string(REPLACE "<rb>" "]" line "${line}")
            string(REPLACE "<sc>" ";" line "${line}")
            string(REPLACE "<bs>" "\\" line "${line}")
            string(APPEND found "${name}:${number}: ${line}\n")
            break()
        endif()
    endforeach()
endforeach()
if(found)
    message(FATAL_ERROR "bare record codes in the metafile reader:\n${found}")
endif()
