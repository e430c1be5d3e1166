# The Debian package of the tool (bash scripts/package.sh): veskbuild from this tree, the engine
# stub and the uninstaller from the Windows build tree, the documents, the demo project and the
# manual page veskbuild(1). CPack installs the component "debian" of both trees (and this tree's
# veskbuild) into /usr; an ordinary install into out/ leaves the component out.
set(VESK_WIN32_BUILD_DIR "${PROJECT_SOURCE_DIR}/build/win32" CACHE PATH
    "The Windows build tree whose Setup.exe and Vesk-UnInstall.exe the Debian package carries")

# Debian keeps manual pages compressed; -n leaves out the name and time, so the bytes stay the same.
find_program(VESK_GZIP gzip REQUIRED)
set(vesk_manual_page ${CMAKE_BINARY_DIR}/veskbuild.1.gz)
add_custom_command(OUTPUT ${vesk_manual_page}
    COMMAND ${VESK_GZIP} -9n < ${PROJECT_SOURCE_DIR}/docs/veskbuild.1 > ${vesk_manual_page}
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/veskbuild.1
    COMMENT "Compressing the manual page veskbuild(1)")
add_custom_target(vesk_manual_page ALL DEPENDS ${vesk_manual_page})

set(vesk_doc_dir share/doc/veskinstall)
install(FILES ${vesk_manual_page} DESTINATION share/man/man1 COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES README.md DESTINATION ${vesk_doc_dir} COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES docs/architecture.md docs/field-reference.md DESTINATION ${vesk_doc_dir}/docs
        COMPONENT debian EXCLUDE_FROM_ALL)
install(DIRECTORY docs/screenshots DESTINATION ${vesk_doc_dir}/docs
        COMPONENT debian EXCLUDE_FROM_ALL)
install(DIRECTORY examples/demo DESTINATION ${vesk_doc_dir}/examples
        COMPONENT debian EXCLUDE_FROM_ALL)

execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE vesk_deb_architecture
                OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT vesk_deb_architecture)
    set(vesk_deb_architecture amd64)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veskinstall)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR VeskSoft)
set(CPACK_PACKAGE_CONTACT "VeskSoft <packages@veskinstall.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "builds installers (setup programs) for Windows")
# The long description, below the summary line.
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "veskbuild turns a project (an XML file naming the product's files, wizard pages,\n"
    "shortcuts, registry items, fonts and uninstall options) into Setup.exe: the\n"
    "VeskInstall engine, a small 32-bit Windows program, with the project and the\n"
    "compressed files appended, continued in Setup2.Cab ... when large. It checks a\n"
    "project before building, lists and extracts setups, and signs them through a\n"
    "command such as osslsigncode. The package holds the engine and the uninstaller\n"
    "every setup carries, so no Windows machine is needed to build a setup.")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${vesk_deb_architecture})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "osslsigncode, wine, wine32, xvfb")
set(CPACK_DEBIAN_FILE_NAME "veskinstall_${PROJECT_VERSION}_${vesk_deb_architecture}.deb")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# veskbuild is stripped (install(TARGETS)); the Windows programs are installed as files and keep
# their bytes, so a setup built from the package equals one built from the tree.
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_CMAKE_PROJECTS
    "${CMAKE_BINARY_DIR};VeskInstall;Unspecified;/"
    "${CMAKE_BINARY_DIR};VeskInstall;debian;/"
    "${VESK_WIN32_BUILD_DIR};VeskInstall;debian;/")
include(CPack)
