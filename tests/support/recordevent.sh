#!/bin/sh
# An operator's event command for the tests: appends one line to the file
# named by its first argument, with each further argument and then the
# VELMORA_ variables, every field followed by "|".
out=$1
shift
{
    for arg in "$@"; do
        printf '%s|' "$arg"
    done
    printf '%s|' "$VELMORA_EVENT" "$VELMORA_ROLL" "$VELMORA_NAME" "$VELMORA_HOLE" \
        "$VELMORA_HOLES" "$VELMORA_SENT"
    printf '\n'
} >>"$out"
