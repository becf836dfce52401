# The designer speaks its codes by name: no event, section or step code written as a bare
# number in report/designer (the names are in DesignerEvents.h, SectionCodes.h and the change
# kinds of TListVariant.h). Run as `cmake -DDESIGNER_DIR=<report/designer> -P NamedCodes.cmake`;
# it fails naming each line found.
file(GLOB sources ${DESIGNER_DIR}/*.cpp ${DESIGNER_DIR}/*.h)
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
    "for \\(int code = 0")
set(found "")
foreach(source ${sources})
    get_filename_component(name ${source} NAME)
    if(name STREQUAL "SectionCodes.h")
        continue() # where the section codes are defined
    endif()
    file(STRINGS ${source} lines)
    set(number 0)
    foreach(line IN LISTS lines)
        math(EXPR number "${number} + 1")
        foreach(pattern ${patterns})
            if(line MATCHES "${pattern}")
                string(APPEND found "${name}:${number}: ${line}\n")
            endif()
        endforeach()
        # the window's files switch on names only
        if(name MATCHES "^TFormSestE" AND line MATCHES "case [0-9]+:")
            string(APPEND found "${name}:${number}: ${line}\n")
        endif()
    endforeach()
endforeach()
if(found)
    message(FATAL_ERROR "bare codes in the designer:\n${found}")
endif()
