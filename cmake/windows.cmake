# The Windows build, cross-compiled with cmake/mingw-w64-x86_64.cmake: the
# programs and their zip, and the tests and benchmarks run under Wine. Most
# tests put the Linux simulator on a pseudo-terminal that the prefix maps as a
# COM port; they take it, and the program that drives korvex-fetch.exe against
# it or against t596sim.exe, from a Linux build of the same tree.
set(KORVEX_NATIVE_BUILD "${CMAKE_SOURCE_DIR}/build/normal" CACHE PATH
    "A Linux build of this tree: t596sim and the Wine test driver come from there")
set(KORVEX_GTEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest's source, built here")

# The wide command line, for the tools' arguments in UTF-8, and the user's
# known folders.
target_link_libraries(korvex_platform PUBLIC shell32 ole32 uuid)

# The native front end, korvex.exe.
option(KORVEX_WIN32_FRONTEND "Build korvex.exe, the native Win32 front end" ON)
if(KORVEX_WIN32_FRONTEND)
    enable_language(RC)
    # The icon is drawn from the picture's data by a program of the build machine.
    find_program(KORVEX_HOST_CXX NAMES c++ g++ REQUIRED)
    set(KORVEX_ICON ${CMAKE_BINARY_DIR}/korvex.ico)
    add_custom_command(OUTPUT ${KORVEX_ICON}
        COMMAND ${KORVEX_HOST_CXX} -std=c++20 -I${CMAKE_SOURCE_DIR} -o ${CMAKE_BINARY_DIR}/make_icon
            ${CMAKE_SOURCE_DIR}/frontend/win32/icon/make_icon.cpp
            ${CMAKE_SOURCE_DIR}/res/about_picture.cpp
        COMMAND ${CMAKE_BINARY_DIR}/make_icon ${KORVEX_ICON}
        DEPENDS frontend/win32/icon/make_icon.cpp res/about_picture.cpp res/about_picture.h)
    set(KORVEX_MANIFEST ${CMAKE_BINARY_DIR}/korvex.exe.manifest)
    configure_file(frontend/win32/korvex.exe.manifest.in ${KORVEX_MANIFEST} @ONLY)
    configure_file(frontend/win32/korvex.rc.in ${CMAKE_BINARY_DIR}/korvex.rc @ONLY)
    set_source_files_properties(${CMAKE_BINARY_DIR}/korvex.rc PROPERTIES
        OBJECT_DEPENDS "${KORVEX_ICON};${KORVEX_MANIFEST}")
    file(GLOB KORVEX_WIN32_SOURCES CONFIGURE_DEPENDS frontend/win32/*.cpp)
    add_executable(korvex WIN32 ${KORVEX_WIN32_SOURCES} ${CMAKE_BINARY_DIR}/korvex.rc)
    target_include_directories(korvex PRIVATE ${CMAKE_SOURCE_DIR})
    target_link_libraries(korvex PRIVATE korvex_base korvex_version comctl32 comdlg32 gdi32
        user32)
endif()

# ---- the zip: the programs and the README, to unpack and run ----------------
set(KORVEX_WINDOWS_PROGRAMS)
foreach(program korvex korvex-fetch korvex-convert t596sim)
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

# ---- the setup program: the zip's programs installed as Windows does --------
if(TARGET korvex)
    find_program(KORVEX_MAKENSIS makensis REQUIRED)
    set(KORVEX_SETUP ${CMAKE_BINARY_DIR}/korvex-${PROJECT_VERSION}-setup-x64.exe)
    set(KORVEX_SETUP_SCRIPT ${CMAKE_SOURCE_DIR}/dist/windows/korvex-setup.nsi)
    set(KORVEX_SETUP_STRICT)
    if(KORVEX_WERROR)
        set(KORVEX_SETUP_STRICT -WX)
    endif()
    add_custom_command(OUTPUT ${KORVEX_SETUP}
        COMMAND ${KORVEX_MAKENSIS} -V2 ${KORVEX_SETUP_STRICT} -INPUTCHARSET UTF8
            -DVERSION=${PROJECT_VERSION}
            -DVERSION_QUAD=${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.0
            -DPROGRAMS=${KORVEX_ZIP_STAGE} -DREADME=${KORVEX_ZIP_STAGE}/README.md
            -DICON=${KORVEX_ICON} -DOUTFILE=${KORVEX_SETUP} ${KORVEX_SETUP_SCRIPT}
        DEPENDS ${KORVEX_ZIP} ${KORVEX_SETUP_SCRIPT} ${KORVEX_ICON}
        COMMENT "Making korvex-${PROJECT_VERSION}-setup-x64.exe")
    add_custom_target(windows-setup ALL DEPENDS ${KORVEX_SETUP})
endif()

# ---- tests and benchmarks under Wine -----------------------------------------
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${KORVEX_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# The test support that needs no POSIX system, and the Win32 stand-ins for the
# rest: the simulator started through Wine, the process's own figures.
add_library(korvex_windows_test_support STATIC
    tests/support/scripted_frontend.cpp tests/support/scripted_hardcopy.cpp
    tests/support/recording_canvas.cpp tests/support/link_session.cpp tests/support/win32/sim_process_win32.cpp
    tests/support/win32/process_probe_win32.cpp)
target_link_libraries(korvex_windows_test_support PUBLIC korvex_base gtest)
target_compile_definitions(korvex_windows_test_support PUBLIC
    KORVEX_T596SIM="${KORVEX_NATIVE_BUILD}/t596sim")

# The core's unit tests that need no POSIX system, and the Win32 services' own,
# in one program run whole: a Wine start per test would cost more than the tests.
set(KORVEX_WINDOWS_UNIT_TESTS chart_drawing chart_readout chart_view frame_codec messages
    navigation protocol_engine sample_staging set_time_command text_table texts time_base)
list(TRANSFORM KORVEX_WINDOWS_UNIT_TESTS REPLACE "(.+)" "tests/unit/test_\\1.cpp")
file(GLOB KORVEX_WIN32_TESTS CONFIGURE_DEPENDS tests/win32/*.cpp)
add_executable(unit_tests ${KORVEX_WINDOWS_UNIT_TESTS} ${KORVEX_WIN32_TESTS})
target_link_libraries(unit_tests PRIVATE korvex_windows_test_support gtest_main)

# Tells the tests that drive korvex.exe from outside what its windows show.
add_executable(window_probe tests/wine/window_probe.cpp)
target_link_libraries(window_probe PRIVATE korvex_platform)

foreach(bench bench_link bench_transfer)
    add_executable(${bench} bench/${bench}.cpp)
    target_link_libraries(${bench} PRIVATE korvex_windows_test_support)
endforeach()

# One fresh Wine prefix for the run, made first and ended last.
enable_testing()
set(KORVEX_WINE ${CMAKE_SOURCE_DIR}/scripts/wine-prefix.sh)
set(KORVEX_WINE_DIR ${CMAKE_BINARY_DIR}/wine)
add_test(NAME wine.prefix COMMAND ${KORVEX_WINE} create ${KORVEX_WINE_DIR})
add_test(NAME wine.end COMMAND ${KORVEX_WINE} end ${KORVEX_WINE_DIR})
set_tests_properties(wine.prefix PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(wine.end PROPERTIES FIXTURES_CLEANUP wine)
add_test(NAME wine.unit_tests
    COMMAND ${KORVEX_WINE} run ${KORVEX_WINE_DIR} $<TARGET_FILE:unit_tests> --gtest_brief=1)
add_test(NAME wine.fetch COMMAND ${KORVEX_NATIVE_BUILD}/tests/wine_fetch_tests)
set_tests_properties(wine.fetch PROPERTIES ENVIRONMENT
    "KORVEX_WINE_FETCH=${KORVEX_WINE} run ${KORVEX_WINE_DIR} $<TARGET_FILE:korvex-fetch>;KORVEX_WINE_SIM=${KORVEX_WINE} run ${KORVEX_WINE_DIR} $<TARGET_FILE:t596sim>;KORVEX_WINE_PORTS=${KORVEX_WINE_DIR}/ports")
set_tests_properties(wine.unit_tests wine.fetch PROPERTIES
    FIXTURES_REQUIRED wine RESOURCE_LOCK wine LABELS wine TIMEOUT 600)
# korvex.exe on a display of its own, worked through its menus and dialogs;
# each session alone, so that a busy machine does not keep its windows from
# painting in time.
if(TARGET korvex)
    foreach(session menus depths set-time navigation print layout)
        add_test(NAME wine.korvex.${session}
            COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/test_korvex_wine.py ${KORVEX_WINE}
                ${KORVEX_WINE_DIR} $<TARGET_FILE:korvex> $<TARGET_FILE:window_probe>
                ${KORVEX_NATIVE_BUILD} ${session})
        set_tests_properties(wine.korvex.${session} PROPERTIES
            FIXTURES_REQUIRED wine RESOURCE_LOCK wine LABELS wine TIMEOUT 600 RUN_SERIAL TRUE)
    endforeach()
endif()
# The setup program installed, used and uninstalled in a fresh prefix of its own.
if(TARGET korvex)
    add_test(NAME wine.setup
        COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/test_korvex_wine.py ${KORVEX_WINE}
            ${CMAKE_BINARY_DIR}/wine-setup $<TARGET_FILE:korvex> $<TARGET_FILE:window_probe>
            ${KORVEX_NATIVE_BUILD} setup ${KORVEX_SETUP})
    set_tests_properties(wine.setup PROPERTIES
        LABELS wine TIMEOUT 600 RUN_SERIAL TRUE)
endif()
# The screen dump's file at 1 and 4 bits per pixel, which no display of the
# tests has: bitmaps of those depths through the native screen layer.
if(TARGET korvex)
    add_executable(screen_dump_tests tests/wine/test_screen_dump_depths.cpp
        frontend/win32/win32_screen_capture.cpp)
    target_include_directories(screen_dump_tests PRIVATE ${CMAKE_SOURCE_DIR})
    target_link_libraries(screen_dump_tests PRIVATE korvex_base gtest_main gdi32 user32)
    add_test(NAME wine.screen_dump_depths COMMAND ${KORVEX_WINE} run ${KORVEX_WINE_DIR}
        $<TARGET_FILE:screen_dump_tests> --gtest_brief=1)
    set_tests_properties(wine.screen_dump_depths PROPERTIES
        FIXTURES_REQUIRED wine RESOURCE_LOCK wine LABELS wine)
endif()
# The regional formats once more in a locale whose names are not ASCII.
add_test(NAME wine.unit_tests.german COMMAND ${KORVEX_WINE} run ${KORVEX_WINE_DIR}
    $<TARGET_FILE:unit_tests> --gtest_brief=1 --gtest_filter=RegionalFormats.*)
set_tests_properties(wine.unit_tests.german PROPERTIES ENVIRONMENT LC_ALL=de_DE.UTF-8
    FIXTURES_REQUIRED wine RESOURCE_LOCK wine LABELS wine)
