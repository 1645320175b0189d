# velmora_add_core_library(NAME SOURCES... LIBS libs...)
# One subsystem's logic: a static library on QtCore only, gathered into
# velmora_core. Core libraries never see a widget: they do not link QtGui or
# QtWidgets, and velmora_check_core_includes() refuses the configuration when
# one of their sources includes a widget header.
function(velmora_add_core_library name)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_UNPARSED_ARGUMENTS})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LIBS} Qt6::Core velmora_warnings)
    target_link_libraries(velmora_core INTERFACE ${name})
    set_property(GLOBAL APPEND PROPERTY VELMORA_CORE_LIBRARIES ${name})
endfunction()

# Widget headers are Qt's GUI and widget modules and every header of
# velmora_widgets. Run once, after every folder has added its sources.
function(velmora_check_core_includes)
    get_target_property(widget_sources velmora_widgets SOURCES)
    get_target_property(widget_dir velmora_widgets SOURCE_DIR)
    set(widget_headers "")
    foreach(source IN LISTS widget_sources)
        if(source MATCHES "\\.h$")
            cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${widget_dir} NORMALIZE)
            cmake_path(RELATIVE_PATH source BASE_DIRECTORY ${PROJECT_SOURCE_DIR})
            list(APPEND widget_headers "${source}")
        endif()
    endforeach()

    get_property(libraries GLOBAL PROPERTY VELMORA_CORE_LIBRARIES)
    foreach(library IN LISTS libraries)
        get_target_property(sources ${library} SOURCES)
        get_target_property(dir ${library} SOURCE_DIR)
        foreach(source IN LISTS sources)
            cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${dir} NORMALIZE)
            file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include")
            foreach(line IN LISTS includes)
                string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*" "\\1"
                       header "${line}")
                if(header MATCHES "^Qt(Gui|Widgets)/|^QtWidgets$|^QtGui$" OR header IN_LIST widget_headers)
                    message(FATAL_ERROR
                        "${source} (core library ${library}) includes the widget header ${header}")
                endif()
            endforeach()
        endforeach()
    endforeach()
endfunction()
