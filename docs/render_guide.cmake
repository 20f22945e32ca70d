# cmake -DCMARK=... -DINPUT=guide-ru.md -DOUTPUT=guide-ru.html -P render_guide.cmake
# cmark writes only the body; the page around it gives the browser its encoding and title.
get_filename_component(cmark_name ${CMARK} NAME_WE)
set(extensions)
if(cmark_name STREQUAL "cmark-gfm")
    set(extensions --extension table)
endif()
execute_process(COMMAND ${CMARK} ${extensions} ${INPUT}
                OUTPUT_VARIABLE body RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${CMARK} failed on ${INPUT}: ${status}")
endif()
# Each section heading gets the id its table of contents links to, made as GitHub makes it:
# lower case, punctuation dropped, blanks turned into hyphens.
set(upper А Б В Г Д Е Ё Ж З И Й К Л М Н О П Р С Т У Ф Х Ц Ч Ш Щ Ъ Ы Ь Э Ю Я)
set(lower а б в г д е ё ж з и й к л м н о п р с т у ф х ц ч ш щ ъ ы ь э ю я)
string(REGEX MATCHALL "<h2>[^\n]*</h2>" headings "${body}")
foreach(heading ${headings})
    string(REGEX REPLACE "</?[a-z0-9]+>" "" slug "${heading}")
    string(TOLOWER "${slug}" slug)
    foreach(i RANGE 32)
        list(GET upper ${i} big)
        list(GET lower ${i} small)
        string(REPLACE "${big}" "${small}" slug "${slug}")
    endforeach()
    foreach(mark "." "," ":" "«" "»" "`" "(" ")" "&quot;" "&amp;")
        string(REPLACE "${mark}" "" slug "${slug}")
    endforeach()
    string(STRIP "${slug}" slug)
    string(REPLACE " " "-" slug "${slug}")
    string(REPLACE "<h2>" "<h2 id=\"${slug}\">" marked "${heading}")
    string(REPLACE "${heading}" "${marked}" body "${body}")
endforeach()
file(WRITE ${OUTPUT}.tmp "<!DOCTYPE html>
<html lang=\"ru\">
<head>
<meta charset=\"utf-8\">
<title>Zelar-2: руководство монтажника</title>
<style>
body { font-family: sans-serif; max-width: 60em; margin: 1em auto; padding: 0 1em;
       line-height: 1.45; color: #222; }
h1, h2, h3 { color: #1a4a7a; }
h2 { border-bottom: 1px solid #ccc; padding-bottom: .2em; margin-top: 1.6em; }
table { border-collapse: collapse; margin: .8em 0; }
th, td { border: 1px solid #bbb; padding: .3em .5em; vertical-align: top; text-align: left; }
th { background: #eef2f6; }
code, pre { background: #f4f4f4; font-family: monospace; }
pre { padding: .6em; overflow-x: auto; }
img { max-width: 100%; border: 1px solid #ccc; }
</style>
</head>
<body>
${body}</body>
</html>
")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
