# One interface target carries the warning flags and the strict Qt defines;
# every target of the project links it.
add_library(velmora_warnings INTERFACE)
target_compile_options(velmora_warnings INTERFACE -Wall -Wextra -Wpedantic)
if(DEFINED ENV{CI})
    target_compile_options(velmora_warnings INTERFACE -Werror)
endif()
target_compile_definitions(velmora_warnings INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_FOREACH
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)
