# The Windows build, cross-compiled with cmake/mingw-w64-x86_64.cmake: the
# programs and their zip, and the tests and benchmarks run under Wine. The
# simulated logger is a Linux program; the tests take it, and the program that
# drives korvex-fetch.exe against it, from a Linux build of the same tree.
set(KORVEX_NATIVE_BUILD "${CMAKE_SOURCE_DIR}/build/normal" CACHE PATH
    "A Linux build of this tree: t596sim and the Wine test driver come from there")
set(KORVEX_GTEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest's source, built here")

# ---- the zip: the programs and the README, to unpack and run ----------------
set(KORVEX_WINDOWS_PROGRAMS)
foreach(program korvex korvex-fetch korvex-convert)
    if(TARGET ${program})
        list(APPEND KORVEX_WINDOWS_PROGRAMS ${program})
    endif()
endforeach()
set(KORVEX_ZIP_NAME korvex-${PROJECT_VERSION}-windows-x64)
set(KORVEX_ZIP ${CMAKE_BINARY_DIR}/${KORVEX_ZIP_NAME}.zip)
set(KORVEX_ZIP_STAGE ${CMAKE_BINARY_DIR}/zip/${KORVEX_ZIP_NAME})
set(KORVEX_ZIP_COMMANDS)
foreach(program ${KORVEX_WINDOWS_PROGRAMS})
    list(APPEND KORVEX_ZIP_COMMANDS
        COMMAND ${CMAKE_STRIP} --strip-debug -o ${KORVEX_ZIP_STAGE}/$<TARGET_FILE_NAME:${program}>
            $<TARGET_FILE:${program}>)
endforeach()
add_custom_command(OUTPUT ${KORVEX_ZIP}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${KORVEX_ZIP_STAGE} ${KORVEX_ZIP}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KORVEX_ZIP_STAGE}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/README.md ${KORVEX_ZIP_STAGE}
    ${KORVEX_ZIP_COMMANDS}
    COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/zip
        ${CMAKE_COMMAND} -E tar cf ${KORVEX_ZIP} --format=zip ${KORVEX_ZIP_NAME}
    DEPENDS ${KORVEX_WINDOWS_PROGRAMS} ${CMAKE_SOURCE_DIR}/README.md
    COMMENT "Packing ${KORVEX_ZIP_NAME}.zip")
add_custom_target(windows-zip ALL DEPENDS ${KORVEX_ZIP})
