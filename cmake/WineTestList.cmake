# Run by ctest as it starts (through TEST_INCLUDE_FILES): lists the GoogleTest cases of a
# Windows-built program under Wine and adds one ctest test per case (see WineTestCases.cmake).

# The single-value arguments of the functions below.
set(VESK_WINE_TEST_LIST_VALUES
    EXECUTABLE LIST_FILE PREFIX TIMEOUT WORKING_DIRECTORY LOCK_EACH_SUITE DESKTOP_SUITES)

# Quotes `text` as one bracket argument of a CMake command.
function(vesk_bracket_quote VAR text)
    set(${VAR} "[==[${text}]==]" PARENT_SCOPE)
endfunction()

# Writes to LIST_FILE the ctest commands of every case in `listing` (the output of
# --gtest_list_tests). False in OK_VAR when the listing names no case.
function(vesk_write_wine_test_list OK_VAR listing)
    cmake_parse_arguments(ARG "" "${VESK_WINE_TEST_LIST_VALUES}" "EMULATOR" ${ARGN})
    set(command "")
    foreach(word IN LISTS ARG_EMULATOR ARG_EXECUTABLE)
        vesk_bracket_quote(quoted "${word}")
        string(APPEND command " ${quoted}")
    endforeach()
    vesk_bracket_quote(folder "${ARG_WORKING_DIRECTORY}")
    # Wine hands the program's text-mode output on with CRLF line ends.
    string(REPLACE "\r" "" listing "${listing}")
    string(REPLACE ";" "" listing "${listing}")
    string(REPLACE "\n" ";" lines "${listing}")
    set(script "")
    set(suite "")
    set(count 0)
    foreach(line IN LISTS lines)
        # "Suite." or "Prefix/Suite/0.  # TypeParam = int" opens a suite; "  Case" (possibly
        # followed by "  # GetParam() = ...") names a case of it. Anything else is Wine's or
        # gtest_main's chatter.
        if(line MATCHES "^([A-Za-z0-9_/]+)\\.( +#.*)?$")
            set(suite "${CMAKE_MATCH_1}")
        elseif(suite AND line MATCHES "^  ([A-Za-z0-9_/]+)( +#.*)?$")
            set(name "${suite}.${CMAKE_MATCH_1}")
            vesk_bracket_quote(test "${ARG_PREFIX}${name}")
            set(locks "")
            if(ARG_LOCK_EACH_SUITE)
                list(APPEND locks "${ARG_PREFIX}${suite}")
            endif()
            if(NOT ARG_DESKTOP_SUITES STREQUAL "" AND suite MATCHES "${ARG_DESKTOP_SUITES}")
                list(APPEND locks "wine_desktop")
            endif()
            string(APPEND script "add_test(${test}${command} --gtest_filter=${name})\n"
                "set_tests_properties(${test} PROPERTIES TIMEOUT ${ARG_TIMEOUT}"
                " WORKING_DIRECTORY ${folder} SKIP_REGULAR_EXPRESSION [==[\\[  SKIPPED \\]]==]")
            if(locks)
                string(APPEND script " RESOURCE_LOCK [==[${locks}]==]")
            endif()
            if(name MATCHES "(^|\\.|/)DISABLED_")
                string(APPEND script " DISABLED TRUE")
            endif()
            string(APPEND script ")\n")
            math(EXPR count "${count} + 1")
        endif()
    endforeach()
    if(count EQUAL 0)
        set(${OK_VAR} FALSE PARENT_SCOPE)
        return()
    endif()
    file(WRITE "${ARG_LIST_FILE}" "# Generated: ${count} cases of ${ARG_EXECUTABLE}.\n${script}")
    set(${OK_VAR} TRUE PARENT_SCOPE)
endfunction()

# Adds the cases of EXECUTABLE from LIST_FILE, listing them afresh when the program, this script
# or the calling include file is newer than the list. When the program cannot list its cases, it
# is added as one test running every case, so its failure still shows.
function(vesk_include_wine_test_list)
    cmake_parse_arguments(ARG "" "${VESK_WINE_TEST_LIST_VALUES}" "EMULATOR" ${ARGN})
    if(NOT EXISTS "${ARG_EXECUTABLE}")
        add_test("${ARG_PREFIX}NOT_BUILT" "${ARG_EXECUTABLE}")
        return()
    endif()
    set(fresh TRUE)
    foreach(source "${ARG_EXECUTABLE}" "${CMAKE_CURRENT_FUNCTION_LIST_FILE}"
                   "${CMAKE_CURRENT_LIST_FILE}")
        if(NOT EXISTS "${ARG_LIST_FILE}" OR NOT "${ARG_LIST_FILE}" IS_NEWER_THAN "${source}")
            set(fresh FALSE)
        endif()
    endforeach()
    if(NOT fresh)
        # The first Wine start in a new prefix sets the prefix up, which takes a while.
        execute_process(COMMAND ${ARG_EMULATOR} "${ARG_EXECUTABLE}" --gtest_list_tests
                        WORKING_DIRECTORY "${ARG_WORKING_DIRECTORY}" TIMEOUT 180
                        RESULT_VARIABLE result OUTPUT_VARIABLE listing ERROR_VARIABLE errors)
        set(written FALSE)
        if(result EQUAL 0)
            vesk_write_wine_test_list(written "${listing}" ${ARGN})
        endif()
        if(NOT written)
            file(REMOVE "${ARG_LIST_FILE}")
            message(WARNING "Could not list the test cases of ${ARG_EXECUTABLE} under "
                            "${ARG_EMULATOR} (result: ${result}):\n${listing}${errors}")
            # Every case in one run: allowed the time of several, kept off the others' desktop.
            math(EXPR timeout "${ARG_TIMEOUT} * 4")
            add_test("${ARG_PREFIX}all_cases" ${ARG_EMULATOR} "${ARG_EXECUTABLE}")
            set_tests_properties("${ARG_PREFIX}all_cases" PROPERTIES TIMEOUT ${timeout}
                                 WORKING_DIRECTORY "${ARG_WORKING_DIRECTORY}"
                                 RESOURCE_LOCK wine_desktop)
            return()
        endif()
    endif()
    include("${ARG_LIST_FILE}")
endfunction()
