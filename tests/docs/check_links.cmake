# Every relative link of the README and of docs/*.md names a file that exists: a file moved or
# renamed without its links mended fails here. Run as cmake -DROOT=<source dir> -P this file.
file(GLOB pages ${ROOT}/README.md ${ROOT}/docs/*.md ${ROOT}/src/sim/README.md)
set(dead "")
foreach(page ${pages})
    file(READ ${page} text)
    # Brackets and semicolons mean something to CMake's lists: they are taken out first.
    string(REPLACE "[" "<" text "${text}")
    string(REPLACE "]" ">" text "${text}")
    string(REPLACE ";" "," text "${text}")
    get_filename_component(folder ${page} DIRECTORY)
    # Inline links and images: ](target) or ](target "title").
    string(REGEX MATCHALL ">\\([^) ]+" links "${text}")
    foreach(link ${links})
        string(SUBSTRING "${link}" 2 -1 target)
        if(target MATCHES "^[a-z]+:" OR target MATCHES "^#")
            continue()  # a web address or a place on the same page
        endif()
        string(REGEX REPLACE "#.*$" "" target "${target}")
        if(NOT EXISTS ${folder}/${target})
            file(RELATIVE_PATH shown ${ROOT} ${page})
            list(APPEND dead "${shown}: ${target}")
        endif()
    endforeach()
endforeach()
if(dead)
    list(JOIN dead "\n  " shown)
    message(FATAL_ERROR "dead links:\n  ${shown}")
endif()
