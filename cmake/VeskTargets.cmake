# Helpers shared by every folder: warnings, and source globbing that picks the platform seam.

add_library(vesk_warnings INTERFACE)
target_compile_options(vesk_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wno-missing-field-initializers)

# Collects the .cpp files of DIR into VAR. Files ending in Win32.cpp belong to the Windows build,
# files ending in Posix.cpp to the native one; everything else is platform-neutral.
function(vesk_collect_sources VAR DIR)
    file(GLOB sources CONFIGURE_DEPENDS ${DIR}/*.cpp)
    foreach(f IN LISTS sources)
        if(WIN32 AND f MATCHES "Posix\\.cpp$")
            list(REMOVE_ITEM sources ${f})
        elseif(NOT WIN32 AND f MATCHES "Win32\\.cpp$")
            list(REMOVE_ITEM sources ${f})
        endif()
    endforeach()
    set(${VAR} ${sources} PARENT_SCOPE)
endfunction()

# The engine stub's own build of the engine's libraries (Windows only): the engine reports
# failures as results and never throws, so it goes without exceptions, unwind tables and run-time
# type information, which keeps the C++ runtime's exception machinery out of every setup. Its
# function statics go unguarded: each one with a dynamic initialiser is first reached on the
# user-interface thread before the install worker starts (the project's name tables while the
# project loads, the host services when the progress page starts the worker). The Windows tests
# link the ordinary build of the same sources (GoogleTest needs exceptions).
set(VESK_STUB_OPTIONS -fno-exceptions -fno-rtti -fno-threadsafe-statics -fno-unwind-tables
                      -fno-asynchronous-unwind-tables -flto)
# The stub's code beyond the decoders' hot loops is built for the smallest size: -Oz, without
# the early inliner (the link-time inliner still inlines where it saves room), and optimised
# across the whole program at link time (-flto; each function keeps the options of its library).
# The decoders (vesk_codec) and the reader's loop that feeds them (vesk_container) stay at -Os,
# which they are measured at.
set(VESK_STUB_SIZE_OPTIONS -Oz -fno-early-inlining)
set(VESK_STUB_SPEED_LIBRARIES vesk_container vesk_codec)

# The stub's variant of every library in DEPS that is one of the engine's (vesk_*); others as
# they are. These have no variant: warnings only, and data.
set(VESK_SHARED_LIBRARIES vesk_warnings vesk_language_data)
function(vesk_stub_deps VAR)
    set(mapped)
    foreach(dep IN LISTS ARGN)
        if(dep MATCHES "^vesk_" AND NOT dep IN_LIST VESK_SHARED_LIBRARIES)
            list(APPEND mapped ${dep}_stub)
        else()
            list(APPEND mapped ${dep})
        endif()
    endforeach()
    set(${VAR} ${mapped} PARENT_SCOPE)
endfunction()

# A static library NAME of SOURCES linked to DEPS; on Windows also NAME_stub, the same sources
# built for the engine stub and linked to the stub variants of DEPS.
function(vesk_engine_library NAME)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    set(variants ${NAME})
    if(WIN32)
        list(APPEND variants ${NAME}_stub)
    endif()
    foreach(target IN LISTS variants)
        set(deps ${ARG_DEPS})
        if(target MATCHES "_stub$")
            vesk_stub_deps(deps ${ARG_DEPS})
        endif()
        if(ARG_SOURCES)
            add_library(${target} STATIC ${ARG_SOURCES})
            target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
            target_link_libraries(${target} PUBLIC ${deps} PRIVATE vesk_warnings)
            if(target MATCHES "_stub$")
                target_compile_options(${target} PRIVATE
                                       $<$<COMPILE_LANGUAGE:CXX>:${VESK_STUB_OPTIONS}>)
                if(NOT NAME IN_LIST VESK_STUB_SPEED_LIBRARIES)
                    target_compile_options(${target} PRIVATE ${VESK_STUB_SIZE_OPTIONS})
                endif()
            endif()
        else()
            add_library(${target} INTERFACE)
            target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR}/src)
            target_link_libraries(${target} INTERFACE ${deps})
        endif()
    endforeach()
endfunction()

# Links system libraries to NAME and, on Windows, to NAME_stub.
function(vesk_system_libraries NAME SCOPE)
    target_link_libraries(${NAME} ${SCOPE} ${ARGN})
    if(WIN32)
        target_link_libraries(${NAME}_stub ${SCOPE} ${ARGN})
    endif()
endfunction()

# An engine library made of every source file in the calling folder, linked to DEPS.
function(vesk_folder_library NAME)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    vesk_collect_sources(sources ${CMAKE_CURRENT_SOURCE_DIR})
    vesk_engine_library(${NAME} SOURCES ${sources} DEPS ${ARG_DEPS})
endfunction()
