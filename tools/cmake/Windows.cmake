# Windows (MinGW-w64 i686): quillon.exe, the Wine test executable and the
# stand-in tools that only the test prefix gets.
enable_language(RC)  # app/quillon.rc: icon, manifest, version information
add_compile_definitions(_WIN32_WINNT=0x0501 WINVER=0x0501 UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN)
set(QUILLON_XP_LINK
  -static -static-libgcc -static-libstdc++
  -Wl,--major-subsystem-version,5 -Wl,--minor-subsystem-version,1
  -Wl,--major-os-version,5 -Wl,--minor-os-version,1)
# What ships carries no symbol table or debug sections; the test programs keep theirs.
set(QUILLON_SHIPPED_LINK -s -Wl,--gc-sections)
add_compile_options(-ffunction-sections -fdata-sections)
# Optimised for size: the time goes to the registry and the tools, not to our
# code (the benchmarks measure it), and the window program stays within 1 MB.
string(REPLACE "-O3" "-Os" CMAKE_CXX_FLAGS_RELEASE "${CMAKE_CXX_FLAGS_RELEASE}")

# The Win32 side of each folder, on the portable folder above it.
quillon_layer(platform/win32 platform)
target_link_libraries(quillon_platform_win32 PUBLIC comctl32 shell32 ole32 uuid gdi32 user32 advapi32 msimg32)
quillon_layer(controls/win32 controls platform/win32)
quillon_layer(console/win32 console platform/win32)
quillon_layer(window/win32 window controls/win32 platform/win32)
add_library(quillon_win32 INTERFACE)
target_link_libraries(quillon_win32 INTERFACE quillon_window_win32 quillon_console_win32)
# The programs, tests, stand-ins and benchmarks below stand above every folder.
include_directories(${CMAKE_SOURCE_DIR})

# The Application log's message table, in both programs: the log's viewer reads
# each event's text through the program registered as the source's message file.
find_program(QUILLON_WINDMC NAMES i686-w64-mingw32-windmc windmc REQUIRED)
set(QUILLON_MESSAGES ${CMAKE_BINARY_DIR}/messages)
add_custom_command(OUTPUT ${QUILLON_MESSAGES}/quillon-events.rc ${QUILLON_MESSAGES}/MSG00409.bin
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QUILLON_MESSAGES}
  COMMAND ${QUILLON_WINDMC} -h ${QUILLON_MESSAGES} -r ${QUILLON_MESSAGES} ${CMAKE_SOURCE_DIR}/app/quillon-events.mc
  DEPENDS ${CMAKE_SOURCE_DIR}/app/quillon-events.mc)
# One target makes it, so the two programs' builds never run it at once.
add_custom_target(quillon_messages DEPENDS ${QUILLON_MESSAGES}/quillon-events.rc)

add_executable(quillon WIN32 app/main_win32.cpp app/lazy_shell_imports_win32.cpp app/quillon.rc
  ${QUILLON_MESSAGES}/quillon-events.rc)
target_link_libraries(quillon PRIVATE quillon_win32)
add_dependencies(quillon quillon_messages)
target_link_options(quillon PRIVATE -municode ${QUILLON_XP_LINK} ${QUILLON_SHIPPED_LINK})

# The console tool: the same core, a console entry point.
add_executable(quillonc app/console_main_win32.cpp app/console_lazy_imports_win32.cpp
  app/lazy_shell_imports_win32.cpp app/console_lazy_registry_win32.cpp app/console_small_blocks.cpp app/quillonc.rc
  ${QUILLON_MESSAGES}/quillon-events.rc)
target_link_libraries(quillonc PRIVATE quillon_win32)
add_dependencies(quillonc quillon_messages)
target_link_options(quillonc PRIVATE -municode ${QUILLON_XP_LINK} ${QUILLON_SHIPPED_LINK})

# GoogleTest built from Debian's sources for the Wine tier.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(target gtest gmock)
  target_compile_options(${target} PUBLIC -include ${CMAKE_SOURCE_DIR}/tools/gtest/win32_notification.h)
  target_compile_options(${target} PRIVATE -w)
endforeach()

file(GLOB QUILLON_WINE_TESTS CONFIGURE_DEPENDS tests/wine/*.cpp tests/support/*.cpp)
add_executable(quillon_wine_tests ${QUILLON_WINE_TESTS})
target_link_libraries(quillon_wine_tests PRIVATE quillon_win32 gtest gmock)
target_link_options(quillon_wine_tests PRIVATE ${QUILLON_XP_LINK})
add_dependencies(quillon_wine_tests quillonc)  # the console tests start it
# The console guide's deployment example is run as written; Wine sees the source tree on Z:.
target_compile_definitions(quillon_wine_tests PRIVATE QUILLON_CONSOLE_GUIDE_PATH="${CMAKE_SOURCE_DIR}/docs/console.md")

# What a dialog says, for the end-to-end scripts.
add_executable(window_text tests/e2e/WindowText.cpp)
target_link_options(window_text PRIVATE -municode ${QUILLON_XP_LINK})

file(GLOB QUILLON_STANDINS CONFIGURE_DEPENDS tools/standins/*.cpp)
foreach(source ${QUILLON_STANDINS})
  get_filename_component(name ${source} NAME_WE)
  add_executable(standin_${name} ${source})
  set_target_properties(standin_${name} PROPERTIES OUTPUT_NAME ${name} RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/standins)
  target_link_options(standin_${name} PRIVATE -municode ${QUILLON_XP_LINK})
  target_link_libraries(standin_${name} PRIVATE advapi32)
endforeach()

# The benchmark: an ordinary program, run under Wine by tools/bench.sh.
add_executable(quillon_bench tools/bench/QuillonBench.cpp tests/support/MemoryForm.cpp)
target_link_libraries(quillon_bench PRIVATE quillon_win32 psapi)
target_link_options(quillon_bench PRIVATE ${QUILLON_XP_LINK})
add_executable(quillon_journal_bench tools/bench/JournalBench.cpp tests/support/MemoryForm.cpp)
target_link_libraries(quillon_journal_bench PRIVATE quillon_win32)
target_link_options(quillon_journal_bench PRIVATE ${QUILLON_XP_LINK})

# quillonc STATUS against a do-nothing console program (tools/bench.sh).
add_executable(quillon_console_bench tools/bench/ConsoleBench.cpp)
target_link_options(quillon_console_bench PRIVATE ${QUILLON_XP_LINK})
# quillonc SUMMARY of 10,000 generated machine files (tools/bench.sh).
add_executable(quillon_fleet_bench tools/bench/FleetBench.cpp)
target_link_libraries(quillon_fleet_bench PRIVATE psapi)
target_link_options(quillon_fleet_bench PRIVATE ${QUILLON_XP_LINK})
add_executable(do_nothing tools/bench/DoNothing.cpp)
target_link_options(do_nothing PRIVATE ${QUILLON_XP_LINK})
# The floor for the window's first paint (tools/bench.sh).
add_executable(minimal_window WIN32 tools/bench/MinimalWindow.cpp)
target_link_options(minimal_window PRIVATE -municode ${QUILLON_XP_LINK} ${QUILLON_SHIPPED_LINK})
