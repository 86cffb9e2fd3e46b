# The include rules on a small tree of cases, each a file with one include: an include against
# the rules must be reported, an allowed one must not.
# cmake -DWORK=<empty scratch folder> -P include_rules_cases.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/IncludeRules.cmake)

# file | include line | ok or bad
set(cases
    "runtime/a.cpp|#include \"platform/PlatformFile.h\"|ok"
    "runtime/b.cpp|#include \"gui/Gui.h\"|bad"
    "runtime/c.cpp|#include \"screen/Screen.h\"|bad"
    "runtime/d.cpp|#include \"editor/MapFile.h\"|bad"
    "runtime/e.cpp|#include <zlib.h>|bad"
    "gui/a.cpp|#include \"runtime/Runtime.h\"|ok"
    "gui/b.cpp|#include \"platform/Ui.h\"|ok"
    "gui/c.cpp|#include \"screen/Screen.h\"|bad"
    "gui/d.h|#include \"editor/MapView.h\"|bad"
    "gui/e.cpp|#include <png.h>|bad"
    "screen/a.cpp|#include \"platform/Surface.h\"|ok"
    "screen/b.cpp|#include <png.h>|ok"
    "screen/c.cpp|#include \"gui/Window.h\"|bad"
    "screen/d.cpp|  #  include \"editor/MapFile.h\"|bad"
    "editor/a.cpp|#include \"gui/Window.h\"|ok"
    "editor/b.cpp|#include \"screen/Screen.h\"|ok"
    "editor/c.cpp|#include \"Local.h\"|ok"
    "editor/d.cpp|#include <vector>|ok"
    "editor/e.cpp|#include \"platform/Ui.h\"|bad"
    "editor/f.cpp|#include <QWidget>|bad"
    "editor/g.cpp|#include <unistd.h>|bad"
    "editor/h.cpp|#include <sys/stat.h>|bad"
    "tools/maptool/a.cpp|#include \"editor/MapFile.h\"|ok"
    "tools/maptool/b.cpp|#include \"platform/TextModule.h\"|ok"
    "tools/maptool/b.cpp|#include \"platform/Console.h\"|ok"
    "tools/maptool/c.cpp|#include <QDir>|ok"
    "tools/maptool/d.cpp|#include <zlib.h>|ok"
    "tools/maptool/d.cpp|#include <zstd.h>|ok"
    "tools/maptool/d.cpp|#include <expat.h>|ok"
    "tools/maptool/e.cpp|#include \"../../editor/MapFile.h\"|ok"
    "tools/maptool/f.cpp|#include \"gui/Window.h\"|bad"
    "tools/maptool/g.cpp|#include \"platform/Ui.h\"|bad"
    "tools/maptool/h.cpp|#include \"../../platform/Ui.h\"|bad"
    "platform/a.cpp|#include <unistd.h>|ok"
    "platform/b.cpp|#include <QWidget>|ok"
    "platform/qt/c.cpp|#include <qdrawutil.h>|ok"
    "platform/d.cpp|#include \"runtime/File.h\"|bad"
)

if(NOT WORK)
    message(FATAL_ERROR "WORK names no folder")
endif()
file(REMOVE_RECURSE "${WORK}")
# The headers that relative includes reach.
file(WRITE "${WORK}/editor/MapFile.h" "")
file(WRITE "${WORK}/platform/Ui.h" "")
set(expected "")
foreach(case IN LISTS cases)
    string(REPLACE "|" ";" fields "${case}")
    list(GET fields 0 path)
    list(GET fields 1 line)
    list(GET fields 2 verdict)
    file(WRITE "${WORK}/${path}" "// case\n\n${line}\nint x;\n")
    if(verdict STREQUAL "bad")
        list(APPEND expected "${path}")
    endif()
endforeach()

include_rules_violations("${WORK}" violations)
set(reported "")
foreach(violation IN LISTS violations)
    string(REGEX REPLACE ":.*" "" path "${violation}")
    list(APPEND reported "${path}")
endforeach()

set(wrong "")
foreach(case IN LISTS cases)
    string(REPLACE "|" ";" fields "${case}")
    list(GET fields 0 path)
    list(GET fields 2 verdict)
    if(path IN_LIST reported AND verdict STREQUAL "ok")
        list(APPEND wrong "${path}: reported, but allowed")
    elseif(NOT path IN_LIST reported AND verdict STREQUAL "bad")
        list(APPEND wrong "${path}: against the rules, not reported")
    endif()
endforeach()
if(wrong)
    list(JOIN wrong "\n" shown)
    list(JOIN violations "\n" all)
    message(FATAL_ERROR "${shown}\nReported:\n${all}")
endif()
file(REMOVE_RECURSE "${WORK}")
