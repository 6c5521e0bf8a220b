# Linux: the portable core against the simulated Windows, and the unit tests.
# The Windows build is driven from here too, so one ctest run covers every tier.
find_package(GTest REQUIRED)
include(GoogleTest)

# The tests stand above every folder.
include_directories(${CMAKE_SOURCE_DIR})

# The simulated Windows reads the program's own command forms through the
# effect model, so it sits above it; only tests link it.
file(GLOB QUILLON_SIM_SOURCES CONFIGURE_DEPENDS tests/sim/*.cpp)
add_library(quillon_sim STATIC ${QUILLON_SIM_SOURCES})
target_link_libraries(quillon_sim PUBLIC quillon_effects)

file(GLOB QUILLON_UNIT_TESTS CONFIGURE_DEPENDS tests/unit/*.cpp tests/support/*.cpp)
add_executable(quillon_unit_tests ${QUILLON_UNIT_TESTS})
target_link_libraries(quillon_unit_tests PRIVATE quillon_console quillon_window quillon_sim GTest::gtest_main GTest::gmock)
# The guides' examples are read by the tests as written.
target_compile_definitions(quillon_unit_tests PRIVATE QUILLON_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
gtest_discover_tests(quillon_unit_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS unit)

option(QUILLON_WINDOWS "Also build quillon.exe and run the Wine test tiers" ON)
if(QUILLON_WINDOWS)
  include(ExternalProject)
  set(QUILLON_WIN_DIR ${CMAKE_BINARY_DIR}/win32)
  ExternalProject_Add(quillon_windows
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${QUILLON_WIN_DIR}
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/tools/cmake/mingw-i686.cmake
               -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
    BUILD_ALWAYS ON
    INSTALL_COMMAND "")
  set(QUILLON_WINE ${CMAKE_SOURCE_DIR}/tools/wine-run.sh)
  foreach(program quillon quillonc)
    add_test(NAME windows_xp_compatibility_${program}
      COMMAND ${CMAKE_SOURCE_DIR}/tools/check-xp-imports.sh ${QUILLON_WIN_DIR}/${program}.exe)
    set_tests_properties(windows_xp_compatibility_${program} PROPERTIES LABELS xp)
    # What ships is stripped: each executable stays within 1 MB.
    add_test(NAME windows_size_${program}
      COMMAND sh -c "size=$(stat -c %s '${QUILLON_WIN_DIR}/${program}.exe') && echo \"${program}.exe: $size bytes\" && [ $size -le 1048576 ]")
    set_tests_properties(windows_size_${program} PROPERTIES LABELS xp)
  endforeach()
  # A console verb's start is a do-nothing program's: every other DLL is
  # bound on first use (app/console_lazy_*).
  add_test(NAME windows_console_starts_light
    COMMAND sh -c "i686-w64-mingw32-objdump -p '${QUILLON_WIN_DIR}/quillonc.exe' | awk '/DLL Name:/ {print tolower($3)}' | sort | tr '\\n' ' ' | tee /dev/stderr | grep -qx 'kernel32.dll msvcrt.dll '")
  set_tests_properties(windows_console_starts_light PROPERTIES LABELS xp)
  add_test(NAME wine_integration
    COMMAND ${QUILLON_WINE} ${CMAKE_BINARY_DIR} ${QUILLON_WIN_DIR}/quillon_wine_tests.exe)
  set_tests_properties(wine_integration PROPERTIES LABELS wine TIMEOUT 900 RESOURCE_LOCK wineprefix)
  # A machine as it comes: what EXPORT reads, CHECK finds in place.
  add_test(NAME wine_fresh_prefix
    COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-fresh-prefix.sh ${CMAKE_BINARY_DIR} ${QUILLON_WIN_DIR}/quillon_wine_tests.exe
            --gtest_filter=ConsoleWine.ExportBoxesThenCheckMatchesAndStatusAgreesWithCheck)
  set_tests_properties(wine_fresh_prefix PROPERTIES LABELS wine TIMEOUT 600)
  # 64-bit Windows: one prefix of its own, one grouped test.
  add_test(NAME wine_integration_win64
    COMMAND ${QUILLON_WINE} ${CMAKE_BINARY_DIR} ${QUILLON_WIN_DIR}/quillon_wine_tests.exe --gtest_filter=Wow64Wine.*)
  set_tests_properties(wine_integration_win64 PROPERTIES LABELS "wine;win64" TIMEOUT 900
    RESOURCE_LOCK wineprefix ENVIRONMENT QUILLON_WINE_ARCH=win64)
  add_test(NAME docs_tweaks_up_to_date COMMAND ${CMAKE_SOURCE_DIR}/tools/tweaks-doc.sh ${CMAKE_BINARY_DIR} --check)
  set_tests_properties(docs_tweaks_up_to_date PROPERTIES LABELS wine TIMEOUT 300)
  file(GLOB QUILLON_E2E_TESTS CONFIGURE_DEPENDS tests/e2e/*.sh)
  foreach(script ${QUILLON_E2E_TESTS})
    get_filename_component(name ${script} NAME_WE)
    add_test(NAME e2e_${name} COMMAND ${script} ${CMAKE_BINARY_DIR})
    set_tests_properties(e2e_${name} PROPERTIES LABELS e2e TIMEOUT 900 RESOURCE_LOCK wineprefix SKIP_RETURN_CODE 77)
  endforeach()
  # The Wine tier once more, on the same build, in a prefix of its own that
  # reports Windows XP; and the window scripts whose paths, shell dialogs or
  # look differ there. (Keyboard, DPI and menus are the window's own code, the
  # same on both; CI time keeps them to one run.)
  add_test(NAME wine_integration_winxp
    COMMAND ${QUILLON_WINE} ${CMAKE_BINARY_DIR} ${QUILLON_WIN_DIR}/quillon_wine_tests.exe)
  set_tests_properties(wine_integration_winxp PROPERTIES LABELS "wine;winxp" TIMEOUT 900
    RESOURCE_LOCK wineprefix ENVIRONMENT QUILLON_WINE_VERSION=winxp)
  foreach(name optimise_pages screen_pixels startup_after_undo)
    set(script ${CMAKE_SOURCE_DIR}/tests/e2e/${name}.sh)
    add_test(NAME e2e_${name}_winxp COMMAND ${script} ${CMAKE_BINARY_DIR})
    set_tests_properties(e2e_${name}_winxp PROPERTIES LABELS "e2e;winxp" TIMEOUT 900
      RESOURCE_LOCK wineprefix SKIP_RETURN_CODE 77 ENVIRONMENT QUILLON_WINE_VERSION=winxp)
  endforeach()
endif()

# libFuzzer targets, each built with clang and run for a bounded time.
find_program(QUILLON_CLANG clang++)
if(QUILLON_CLANG)
  file(GLOB QUILLON_FUZZ_TARGETS CONFIGURE_DEPENDS tests/fuzz/*Fuzz.cpp)
  foreach(source ${QUILLON_FUZZ_TARGETS})
    get_filename_component(name ${source} NAME_WE)
    add_test(NAME fuzz_${name} COMMAND ${CMAKE_SOURCE_DIR}/tools/fuzz.sh ${name} 15 ${CMAKE_BINARY_DIR})
    set_tests_properties(fuzz_${name} PROPERTIES LABELS fuzz TIMEOUT 600)
  endforeach()
endif()
