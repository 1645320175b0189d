# Fails unless every text of the window has a finished Dutch translation and
# translations/velmora_nl.ts is what lupdate makes of the sources. Runs
# lupdate on a scratch copy of the .ts file, so the source tree is untouched.
#
# cmake -DLUPDATE=... -DOPTIONS=... -DSOURCES=list-file -DTS=file.ts
#       -DSCRATCH=folder -P CheckTranslations.cmake

cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH})
set(copy ${SCRATCH}/velmora_nl.ts)
file(COPY_FILE ${TS} ${copy})
execute_process(COMMAND ${LUPDATE} ${OPTIONS} @${SOURCES} -ts ${copy}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "lupdate failed (${result}):\n${output}")
endif()

file(READ ${copy} updated)
set(problems "")
# Each <message> of the updated file, one by one.
set(rest "${updated}")
while(TRUE)
    string(FIND "${rest}" "<message" start)
    if(start EQUAL -1)
        break()
    endif()
    string(SUBSTRING "${rest}" ${start} -1 rest)
    string(FIND "${rest}" "</message>" end)
    math(EXPR end "${end} + 10")
    string(SUBSTRING "${rest}" 0 ${end} message)
    string(SUBSTRING "${rest}" ${end} -1 rest)
    string(REGEX REPLACE ".*<source>(.*)</source>.*" "\\1" source "${message}")
    if(message MATCHES "type=\"unfinished\"")
        string(APPEND problems "  no finished translation: ${source}\n")
    elseif(message MATCHES "type=\"(vanished|obsolete)\"")
        string(APPEND problems "  no longer in the sources: ${source}\n")
    elseif(message MATCHES "<translation></translation>|<translation/>")
        string(APPEND problems "  empty translation: ${source}\n")
    endif()
endwhile()
if(problems)
    message(FATAL_ERROR "translations/velmora_nl.ts is not complete:\n${problems}")
endif()

file(READ ${TS} committed)
if(NOT committed STREQUAL updated)
    message(FATAL_ERROR "translations/velmora_nl.ts differs from what lupdate makes of the "
                        "sources: run cmake --build build --target update_translations")
endif()
message(STATUS "Every text of the window has its Dutch translation")
