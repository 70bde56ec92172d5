# What "make install" puts on a system besides the programs themselves, and the
# Debian package CPack builds of it (scripts/package).

# The manual pages and the changelog, compressed as Debian wants them: gzip -9
# without a name or a time stamp, so that the same sources give the same bytes.
find_program(KVISTORAN_GZIP gzip REQUIRED)
function(kvistoran_gzip source output)
  add_custom_command(OUTPUT ${output}
                     COMMAND sh -c "\"$0\" -9nc \"$1\" > \"$2\"" ${KVISTORAN_GZIP} ${source} ${output}
                     DEPENDS ${source} VERBATIM)
endfunction()

set(KVISTORAN_MAN_PAGES ${CMAKE_SOURCE_DIR}/man/kvistoran-cli.1)
if(KVISTORAN_UI AND EXISTS ${CMAKE_SOURCE_DIR}/src/ui/CMakeLists.txt)
  list(APPEND KVISTORAN_MAN_PAGES ${CMAKE_SOURCE_DIR}/man/kvistoran.1)
endif()
set(KVISTORAN_GZIPPED)
foreach(page ${KVISTORAN_MAN_PAGES})
  get_filename_component(name ${page} NAME)
  kvistoran_gzip(${page} ${CMAKE_BINARY_DIR}/man/${name}.gz)
  list(APPEND KVISTORAN_GZIPPED ${CMAKE_BINARY_DIR}/man/${name}.gz)
  install(FILES ${CMAKE_BINARY_DIR}/man/${name}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/man)

# The package's changelog: one entry for the version being built.
# (The time of the build, or SOURCE_DATE_EPOCH when that is set.)
string(TIMESTAMP KVISTORAN_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(KVISTORAN_PACKAGE_MAINTAINER "Kvistorans utvecklare <kvistoran@example.org>"
    CACHE STRING "The Debian package's maintainer, as \"Name <address>\"")
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
kvistoran_gzip(${CMAKE_BINARY_DIR}/packaging/changelog ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
list(APPEND KVISTORAN_GZIPPED ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_target(kvistoran-gzipped ALL DEPENDS ${KVISTORAN_GZIPPED})

set(KVISTORAN_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/kvistoran)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz ${CMAKE_SOURCE_DIR}/packaging/copyright
        DESTINATION ${KVISTORAN_DOC_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/completion/kvistoran-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME kvistoran)

# The Debian package: scripts/package configures with the prefix /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kvistoran)
set(CPACK_PACKAGE_VENDOR Kvistoran)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${KVISTORAN_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "double-entry bookkeeping for small Swedish firms and associations")
# Lines of at most 80 characters, as the package's description wants them.
set(CPACK_PACKAGE_DESCRIPTION
    "Kvistoran keeps the books of one company at a time: charts of accounts,
numbered vouchers with automatic VAT lines and a chain of accounting
periods. From the books it shows and prints the journal, the ledger, the
trial balance, the income statement, the balance sheet and the VAT report,
and it reads and writes SIE files. All its text is Swedish.

The package holds the window program kvistoran (Qt 6) and the command-line
tool kvistoran-cli, which looks into, converts and reports on company files.")
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window program cannot open a window without Qt's platform plugins, which
# no library of the program links; the year's archive embeds Liberation Sans
# where the printed pages name Arial (libzip comes with the shared libraries).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
include(CPack)
