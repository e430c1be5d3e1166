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

# A static library made of every source file in the calling folder, linked to DEPS.
function(vesk_folder_library NAME)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    vesk_collect_sources(sources ${CMAKE_CURRENT_SOURCE_DIR})
    if(sources)
        add_library(${NAME} STATIC ${sources})
        target_include_directories(${NAME} PUBLIC ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(${NAME} PUBLIC ${ARG_DEPS} PRIVATE vesk_warnings)
    else()
        add_library(${NAME} INTERFACE)
        target_include_directories(${NAME} INTERFACE ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(${NAME} INTERFACE ${ARG_DEPS})
    endif()
endfunction()
