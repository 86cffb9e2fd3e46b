# mapeditor_metainfo(OUTPUT file [SCREENSHOT_URL url] [BINARIES program...])
# Writes the AppStream metainfo from its template. AppStream takes screenshots only by a public
# web address; without one the metainfo names no screenshot.
function(mapeditor_metainfo)
    cmake_parse_arguments(ARG "" "OUTPUT;SCREENSHOT_URL" "BINARIES" ${ARGN})
    set(MAPEDITOR_METAINFO_PROVIDES "")
    if(ARG_BINARIES)
        set(MAPEDITOR_METAINFO_PROVIDES "  <provides>\n")
        foreach(program IN LISTS ARG_BINARIES)
            string(APPEND MAPEDITOR_METAINFO_PROVIDES "    <binary>${program}</binary>\n")
        endforeach()
        string(APPEND MAPEDITOR_METAINFO_PROVIDES "  </provides>\n")
    endif()
    set(MAPEDITOR_METAINFO_SCREENSHOTS "")
    if(ARG_SCREENSHOT_URL)
        string(REPLACE "&" "&amp;" url "${ARG_SCREENSHOT_URL}")
        string(CONCAT MAPEDITOR_METAINFO_SCREENSHOTS
            "  <screenshots>\n"
            "    <screenshot type=\"default\">\n"
            "      <caption>The editor with the sample map Wald</caption>\n"
            "      <caption xml:lang=\"de\">Der Editor mit der Beispielkarte Wald</caption>\n"
            "      <image>${url}</image>\n"
            "    </screenshot>\n"
            "  </screenshots>\n")
    endif()
    configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/${MAPEDITOR_APP_ID}.metainfo.xml.in
        ${ARG_OUTPUT} @ONLY)
endfunction()
