# The window's Dutch: translations/velmora_nl.ts, kept up to date with lupdate
# and compiled with lrelease into velmora_nl.qm beside the program (where a
# build finds it) and in share/velmora/ when installed (see app/folders.h).
#
# The tools come from Debian's qt6-l10n-tools. Qt's own CMake commands for
# them (Qt6LinguistTools) come with the Designer and Help libraries in
# qt6-tools-dev, and in Qt 6.4 they read the sources of one target only, while
# the texts of this program are spread over every core library and the
# widgets; so the two tools are called here directly.
#
#   cmake --build build --target update_translations
# runs lupdate: new texts enter the .ts file as unfinished, texts no longer in
# the sources leave it. The test translations_complete fails while a text has
# no finished Dutch translation or the .ts file is not what lupdate makes of
# the sources.

find_program(VELMORA_LUPDATE lupdate
    HINTS ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS} NO_DEFAULT_PATH)
find_program(VELMORA_LUPDATE lupdate)
find_program(VELMORA_LRELEASE lrelease
    HINTS ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS} NO_DEFAULT_PATH)
find_program(VELMORA_LRELEASE lrelease)
if(NOT VELMORA_LUPDATE OR NOT VELMORA_LRELEASE)
    message(FATAL_ERROR "lupdate and lrelease of Qt 6 are missing (Debian: qt6-l10n-tools)")
endif()

# Every source of the core libraries and the widgets: all the texts of the
# window, and the texts the core makes for it.
function(velmora_translatable_sources out)
    get_property(targets GLOBAL PROPERTY VELMORA_CORE_LIBRARIES)
    list(APPEND targets velmora_widgets)
    set(files "")
    foreach(target IN LISTS targets)
        get_target_property(sources ${target} SOURCES)
        get_target_property(dir ${target} SOURCE_DIR)
        foreach(source IN LISTS sources)
            cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${dir} NORMALIZE)
            list(APPEND files ${source})
        endforeach()
    endforeach()
    list(SORT files)
    set(${out} ${files} PARENT_SCOPE)
endfunction()

function(velmora_add_translations)
    velmora_translatable_sources(sources)
    set(list_file ${CMAKE_BINARY_DIR}/translations/sources.lst)
    list(JOIN sources "\n" lines)
    file(CONFIGURE OUTPUT ${list_file} CONTENT "${lines}\n" @ONLY)

    # -locations none: no line numbers in the .ts file, so that it changes
    # only when a text changes.
    set(lupdate_options -silent -no-obsolete -locations none -source-language en -target-language nl
        -I ${PROJECT_SOURCE_DIR})
    set(ts ${PROJECT_SOURCE_DIR}/translations/velmora_nl.ts)
    add_custom_target(update_translations
        COMMAND ${VELMORA_LUPDATE} ${lupdate_options} @${list_file} -ts ${ts}
        COMMENT "Updating translations/velmora_nl.ts"
        VERBATIM)

    set(qm ${CMAKE_BINARY_DIR}/app/velmora_nl.qm)
    add_custom_command(OUTPUT ${qm}
        COMMAND ${VELMORA_LRELEASE} -silent ${ts} -qm ${qm}
        DEPENDS ${ts}
        COMMENT "Compiling the Dutch translation"
        VERBATIM)
    add_custom_target(velmora_translations ALL DEPENDS ${qm})
    install(FILES ${qm} DESTINATION ${CMAKE_INSTALL_DATADIR}/velmora)

    add_test(NAME translations_complete
        COMMAND ${CMAKE_COMMAND} -DLUPDATE=${VELMORA_LUPDATE} "-DOPTIONS=${lupdate_options}"
                -DSOURCES=${list_file} -DTS=${ts}
                -DSCRATCH=${CMAKE_BINARY_DIR}/translations/check
                -P ${PROJECT_SOURCE_DIR}/cmake/CheckTranslations.cmake)
endfunction()
