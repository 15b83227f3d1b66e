# The Debian package of the portable edition (cpack -G DEB): what the install rules put
# under /usr, plus the files Debian asks of every package (copyright, changelog), the
# manual page compressed as lintian wants it, and the library dependencies read from the
# program by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sendnote)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "sendnote maintainers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "write an address-book contact into a Japanese cover letter (Word template)")
set(CPACK_PACKAGE_DESCRIPTION
    "sendnote reads a contact from a vCard file or an Outlook or Google Contacts CSV
export and writes it into a new cover letter (soejo) made from a Word template
(.dotx, .dotm), as custom document properties that the template's DOCPROPERTY
fields show: names, company, department, titles, telephone, fax, e-mail and one
postal address split into postal code, prefecture, city and street.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(SENDNOTE_PACKAGE_MAINTAINER
    "sendnote maintainers <maintainers@users.noreply.c-seed-4c923c6b.example>"
    CACHE STRING "The Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${SENDNOTE_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS xdg-utils)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# Run by cpack on its staging tree, after the install rules and before the package is made.
set(SENDNOTE_DEBIAN_FILES ${PROJECT_SOURCE_DIR}/cmake/debian)
configure_file(${PROJECT_SOURCE_DIR}/cmake/SendnoteDebianFiles.cmake.in
               ${PROJECT_BINARY_DIR}/SendnoteDebianFiles.cmake @ONLY)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_BINARY_DIR}/SendnoteDebianFiles.cmake)

include(CPack)
