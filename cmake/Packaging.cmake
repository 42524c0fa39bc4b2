# Installing the programs and packing them: a Debian package from the Linux
# build, a ZIP from the Windows build.
#
# A program name as general as `good` must not land in a folder shared with
# other software, so the Debian package installs under
# /opt/coursework (bin/ for the programs, share/doc/coursework/ for the
# documentation): the package's own folder, as add-on software has it. The
# Windows ZIP is one folder a student unpacks anywhere; the sample book lies
# beside the programs, where 联系人.exe looks for it when started there.
if(WIN32)
  set(COURSEWORK_DOC_DIR .)
  install(FILES contacts/sample/contacts.txt DESTINATION ${CMAKE_INSTALL_BINDIR}
          RENAME 联系人.txt)
  # The note gets CRLF line ends, which every Notepad shows as lines; it is
  # UTF-8 with a byte order mark, which Notepad reads right whatever the
  # system's code page.
  configure_file(packaging/使用说明.txt 使用说明.txt @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/使用说明.txt DESTINATION ${COURSEWORK_DOC_DIR})
else()
  set(COURSEWORK_DOC_DIR ${CMAKE_INSTALL_DOCDIR})
  # On Linux the book's own name is GBK bytes; the README says how to use it.
  install(FILES contacts/sample/contacts.txt DESTINATION ${COURSEWORK_DOC_DIR}
          RENAME sample-contacts.txt)
endif()
install(FILES README.md DESTINATION ${COURSEWORK_DOC_DIR})

set(CPACK_PACKAGE_NAME coursework)
set(CPACK_PACKAGE_VENDOR "Coursework")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Twenty-five console programs of an introductory programming course")
set(CPACK_PACKAGE_CONTACT "Coursework maintainers <coursework@localhost>")
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME win64)
else()
  # The C library the programs were built with, as the package system knows it.
  execute_process(COMMAND dpkg-query --showformat=\${Version} --show libc6
                  OUTPUT_VARIABLE libc_version ERROR_QUIET)
  string(REGEX MATCH "^[0-9]+\\.[0-9]+" COURSEWORK_GLIBC_VERSION "${libc_version}")
  if(NOT COURSEWORK_GLIBC_VERSION)
    set(COURSEWORK_GLIBC_VERSION 2.36)
  endif()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /opt/coursework)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION devel)
  # The programs are linked whole; on a terminal their iconv loads the
  # conversion modules of the system's C library, which must be the one they
  # were built with or newer.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6 (>= ${COURSEWORK_GLIBC_VERSION})")
endif()
include(CPack)
