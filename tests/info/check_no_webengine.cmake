# Run with cmake -DPROGRAM=<mitoon> [-DBROWSER=<mitoon-browser beside it>] -P this file.
# The program itself must not load Qt WebEngine, nor Qt Quick and QML that come with it; the
# browser window's program beside it does, which shows that the check would see them.

function(shared_libraries binary out)
    execute_process(COMMAND ldd ${binary} OUTPUT_VARIABLE libraries RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "ldd could not read ${binary}")
    endif()
    set(${out} "${libraries}" PARENT_SCOPE)
endfunction()

set(web_engine "libQt6(WebEngine[A-Za-z]*|Quick|Qml)\\.so")

shared_libraries(${PROGRAM} program_libraries)
if(NOT program_libraries MATCHES "libQt6Widgets\\.so")
    message(FATAL_ERROR "ldd lists no Qt Widgets for ${PROGRAM}:\n${program_libraries}")
endif()
if(program_libraries MATCHES "${web_engine}")
    message(FATAL_ERROR "${PROGRAM} links ${CMAKE_MATCH_0}:\n${program_libraries}")
endif()

if(BROWSER)
    if(NOT EXISTS ${BROWSER})
        message(FATAL_ERROR "no browser window program at ${BROWSER}")
    endif()
    shared_libraries(${BROWSER} browser_libraries)
    if(NOT browser_libraries MATCHES "libQt6WebEngineCore\\.so")
        message(FATAL_ERROR "${BROWSER} shows no Qt WebEngine:\n${browser_libraries}")
    endif()
endif()
message(STATUS "${PROGRAM} links no web engine")
