# The include rules of the layers. An include names a header of a layer folder (a quoted path,
# taken relative to the including file first, as the compiler does, then to the repository
# root) or a library header (angle brackets). Allowed:
#   platform/  platform/ only; any toolkit or OS header (the only layer that may)
#   runtime/   runtime/, platform/
#   gui/       gui/, runtime/, platform/
#   screen/    screen/, runtime/, platform/; png.h
#   editor/    editor/, gui/, screen/, runtime/ (never platform/ or the toolkit)
#   tools/     tools/, editor/, screen/, runtime/ and of platform/ only the interfaces of the
#              text module and of the console (arguments, standard streams); the toolkit's
#              core (which headers of the toolkit are core is held by the test that the map
#              tool loads no widget library); zlib.h, zstd.h, expat.h
# So nothing outside editor/ and tools/ includes editor/ (the program's main lies in editor/).
# Standard C++ headers (no ".h", not the toolkit's) are free everywhere.

set(INCLUDE_RULES_LAYERS platform runtime gui screen editor tools)

set(INCLUDE_RULES_platform_FOLDERS platform)
set(INCLUDE_RULES_runtime_FOLDERS runtime platform)
set(INCLUDE_RULES_gui_FOLDERS gui runtime platform)
set(INCLUDE_RULES_screen_FOLDERS screen runtime platform)
set(INCLUDE_RULES_editor_FOLDERS editor gui screen runtime)
set(INCLUDE_RULES_tools_FOLDERS tools editor screen runtime)

# Single headers of a folder that a layer may include without the folder.
set(INCLUDE_RULES_tools_HEADERS platform/TextModule.h platform/Console.h)

# Library headers in angle brackets ending in ".h" (or under sys/): "*" for any.
set(INCLUDE_RULES_platform_LIBRARY "*")
set(INCLUDE_RULES_screen_LIBRARY png.h)
set(INCLUDE_RULES_tools_LIBRARY zlib.h zstd.h expat.h)

# Layers that may include the toolkit's headers.
set(INCLUDE_RULES_TOOLKIT platform tools)

# The verdict on one include of a file in `layer`: sets `out` to "" when allowed, else to why not.
# `kind` is the opening character ("<" or "\""), `resolved` the header's path relative to the
# repository root for a quoted include.
function(include_rules_verdict layer kind header resolved out)
    set(why "")
    if(kind STREQUAL "\"")
        string(REGEX MATCH "^[^/]+" folder "${resolved}")
        if(NOT resolved MATCHES "/")
            set(folder "${layer}")  # beside the file
        endif()
        if(NOT folder IN_LIST INCLUDE_RULES_${layer}_FOLDERS AND
           NOT resolved IN_LIST INCLUDE_RULES_${layer}_HEADERS)
            list(JOIN INCLUDE_RULES_${layer}_FOLDERS "/, " folders)
            set(why "${layer}/ may include ${folders}/")
            if(INCLUDE_RULES_${layer}_HEADERS)
                list(JOIN INCLUDE_RULES_${layer}_HEADERS ", " headers)
                string(APPEND why " and ${headers}")
            endif()
            string(APPEND why ", not ${folder}/")
        endif()
    elseif(header MATCHES "^Q" OR header MATCHES "^q[a-z_]*\\.h$")
        if(NOT layer IN_LIST INCLUDE_RULES_TOOLKIT)
            list(JOIN INCLUDE_RULES_TOOLKIT "/ and " layers)
            set(why "only ${layers}/ include the toolkit")
        endif()
    elseif(header MATCHES "\\.h$" OR header MATCHES "^sys/")
        set(allowed "${INCLUDE_RULES_${layer}_LIBRARY}")
        if(NOT allowed STREQUAL "*" AND NOT header IN_LIST allowed)
            set(why "library and OS headers belong to platform/")
            if(allowed)
                list(JOIN allowed ", " shown)
                string(APPEND why " (${layer}/ may include ${shown})")
            endif()
        endif()
    endif()
    set(${out} "${why}" PARENT_SCOPE)
endfunction()

# Every include against the rules in the layer folders under `root`, one entry each
# ("path: #include ... (why)"), into the list `out`.
function(include_rules_violations root out)
    set(found "")
    foreach(layer IN LISTS INCLUDE_RULES_LAYERS)
        file(GLOB_RECURSE sources RELATIVE "${root}" LIST_DIRECTORIES false
             "${root}/${layer}/*.h" "${root}/${layer}/*.hpp" "${root}/${layer}/*.cpp"
             "${root}/${layer}/*.cc" "${root}/${layer}/*.inl")
        list(SORT sources)
        foreach(source IN LISTS sources)
            file(STRINGS "${root}/${source}" lines REGEX "^[ \t]*#[ \t]*include")
            get_filename_component(dir "${root}/${source}" DIRECTORY)
            foreach(line IN LISTS lines)
                if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*([<\"])([^>\"]+)[>\"]")
                    list(APPEND found "${source}: ${line} (an include this check cannot read)")
                    continue()
                endif()
                set(kind "${CMAKE_MATCH_1}")
                set(header "${CMAKE_MATCH_2}")
                set(resolved "${header}")
                if(kind STREQUAL "\"" AND EXISTS "${dir}/${header}")
                    file(REAL_PATH "${dir}/${header}" absolute)
                    file(REAL_PATH "${root}" realRoot)
                    file(RELATIVE_PATH resolved "${realRoot}" "${absolute}")
                endif()
                include_rules_verdict(${layer} "${kind}" "${header}" "${resolved}" why)
                if(why)
                    string(STRIP "${line}" shown)
                    list(APPEND found "${source}: ${shown} (${why})")
                endif()
            endforeach()
        endforeach()
    endforeach()
    set(${out} "${found}" PARENT_SCOPE)
endfunction()
