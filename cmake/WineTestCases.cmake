# Registers each GoogleTest case of a Windows-built test program as its own ctest test, run under
# the cross-compiling emulator (Wine). CMake's gtest_discover_tests cannot be used: the program
# lists its cases with CRLF line ends under Wine, which that module takes into the names.

set(VESK_WINE_TEST_LIST_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/WineTestList.cmake)

# vesk_wine_test_cases(TARGET PREFIX <text> TIMEOUT <seconds> [LOCK_EACH_SUITE]
#                      [DESKTOP_SUITES <regex>])
# The cases are listed when ctest starts (`TARGET --gtest_list_tests` under the emulator), again
# only after the program or this listing code changed, and named PREFIX<Suite>.<Case>. Each case
# gets TIMEOUT. LOCK_EACH_SUITE keeps the cases of one suite from running at the same time (for
# suites sharing a fixed registry key or temporary file); suites matching DESKTOP_SUITES share one
# lock, so windows searched for on the desktop never come from another test.
function(vesk_wine_test_cases TARGET)
    cmake_parse_arguments(ARG "LOCK_EACH_SUITE" "PREFIX;TIMEOUT;DESKTOP_SUITES" "" ${ARGN})
    get_property(emulator TARGET ${TARGET} PROPERTY CROSSCOMPILING_EMULATOR)
    set(base ${CMAKE_CURRENT_BINARY_DIR}/${TARGET})
    set(include_file ${base}_cases.cmake)
    set(list_file ${base}_case_list.cmake)
    string(CONCAT content
        "# Generated: the ctest tests of ${TARGET}, one per GoogleTest case.\n"
        "include([==[${VESK_WINE_TEST_LIST_SCRIPT}]==])\n"
        "vesk_include_wine_test_list(\n"
        "    EXECUTABLE [==[$<TARGET_FILE:${TARGET}>]==]\n"
        "    EMULATOR [==[${emulator}]==]\n"
        "    LIST_FILE [==[${list_file}]==]\n"
        "    PREFIX [==[${ARG_PREFIX}]==]\n"
        "    TIMEOUT [==[${ARG_TIMEOUT}]==]\n"
        "    WORKING_DIRECTORY [==[${CMAKE_CURRENT_BINARY_DIR}]==]\n"
        "    LOCK_EACH_SUITE [==[${ARG_LOCK_EACH_SUITE}]==]\n"
        "    DESKTOP_SUITES [==[${ARG_DESKTOP_SUITES}]==])\n")
    file(GENERATE OUTPUT ${include_file} CONTENT "${content}")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${include_file})
endfunction()
