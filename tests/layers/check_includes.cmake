# Fails when a source file of a layer folder includes against the layers' rules.
# cmake -DROOT=<repository> -P check_includes.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/IncludeRules.cmake)
if(NOT IS_DIRECTORY "${ROOT}/editor")
    message(FATAL_ERROR "No repository at '${ROOT}'")
endif()
include_rules_violations("${ROOT}" violations)
list(LENGTH violations count)
if(count GREATER 0)
    list(JOIN violations "\n" shown)
    message(FATAL_ERROR "${count} include(s) against the layers:\n${shown}")
endif()
