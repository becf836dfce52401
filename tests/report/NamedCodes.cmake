# Codes are spoken by name. Run as `cmake -DCODES=<kind> -DSOURCES=<folder or file> -P
# NamedCodes.cmake`; it fails naming each line found, and when it finds no source to read.
#   designer: no event, section, step, element kind, tree image or handle code written as a bare
#     number in report/designer and its folders (the names are in DesignerEvents.h,
#     model/SectionCodes.h, the change kinds of model/TListVariant.h and report::ElementKind);
#   metafile: no EMF record type, WMF function number, signature or stock object written as a
#     bare number in the metafile reader (the names are in
#     report/engine/document/MetafileCodes.h, which the writers use too).
if(CODES STREQUAL "designer")
    file(GLOB_RECURSE sources ${SOURCES}/*.cpp ${SOURCES}/*.h)
    set(patterns
        "RecordChange\\( *[0-9]"                    # a step by number
        "changeProperty\\( *[0-9]"
        "peRecordStep, *[0-9]"
        "\\(step [0-9]+\\)"                          # a step named by number in a comment
        "[eE]lementEvent\\( *[0-9]"                  # an event by number
        "[pP]aperEvent\\( *[0-9]"
        "AddOddil\\( *[0-9]"                         # a section by number
        "sectionOfCode\\( *[0-9]"
        "code\\(\\) *[=!<>]=? *[0-9]"
        "[^a-zA-Z_]code *[<>]=? *[1-9]"
        "[^a-zA-Z]code *[=!]= *[0-9]"
        "m_code *[<>]=? *[1-9]"
        "for \\(int code = 0"
        "[sS]ection[A-Za-z]*<lb> *[0-9]+ *<rb>"     # a section's entry by number
        "\\.(height|visible|flags)<lb> *[0-9]+ *<rb>"
        "EditSestavaSettings\\( *[0-9]"              # a page of the report settings by number
        "ElementName\\( *[0-9]"                      # an element kind by number
        "Kind\\(\\) *[=!<>]=? *[0-9]"
        "treeIcon\\( *[0-9]"                         # a tree image by number
        "kImageRole, *[0-9]"
        "[hH]andle *[=!<>]=? *[0-9]")              # an element's handle by number
    # the window's files switch on names only
    set(switch_files "^TFormSestE")
    set(defining_file "SectionCodes.h")
elseif(CODES STREQUAL "metafile")
    if(EXISTS "${SOURCES}")
        set(sources ${SOURCES})
    endif()
    set(patterns
        "case +(0x[0-9A-Fa-f]+|[0-9]+) *:"            # a record by number in a switch
        "(type|function) *[=!]= *(0x)?[0-9]"          # a record compared with a number
        "u32\\( *0 *\\) *== *(0x)?[0-9]"               # a header or key by number
        "== *0x[0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f]")  # a signature or stock
    set(switch_files "")
    set(defining_file "")
else()
    message(FATAL_ERROR "CODES is 'designer' or 'metafile', not '${CODES}'")
endif()
if(NOT sources)
    message(FATAL_ERROR "no ${CODES} sources in '${SOURCES}'")
endif()

set(found "")
foreach(source ${sources})
    get_filename_component(name ${source} NAME)
    if(name STREQUAL "${defining_file}")
        continue() # where the codes are defined
    endif()
    # One list element a line: what a CMake list reads as a separator, an escape or a bracket
    # that joins elements is written as a word first (the patterns say <lb> and <rb>).
    file(READ ${source} text)
    string(REPLACE "\\" "<bs>" text "${text}")
    string(REPLACE ";" "<sc>" text "${text}")
    string(REPLACE "[" "<lb>" text "${text}")
    string(REPLACE "]" "<rb>" text "${text}")
    string(REPLACE "\n" ";" lines "${text}")
    set(number 0)
    foreach(line IN LISTS lines)
        math(EXPR number "${number} + 1")
        set(bare FALSE)
        foreach(pattern ${patterns})
            if(line MATCHES "${pattern}")
                set(bare TRUE)
            endif()
        endforeach()
        if(switch_files AND name MATCHES "${switch_files}" AND line MATCHES "case [0-9]+:")
            set(bare TRUE)
        endif()
        if(bare)
            string(REPLACE "<lb>" "[" line "${line}")
            string(REPLACE "<rb>" "]" line "${line}")
            string(REPLACE "<sc>" ";" line "${line}")
            string(REPLACE "<bs>" "\\" line "${line}")
            string(APPEND found "${name}:${number}: ${line}\n")
        endif()
    endforeach()
endforeach()
if(found)
    message(FATAL_ERROR "bare ${CODES} codes:\n${found}")
endif()
