# The packages CPack makes from the install rules: a Debian package on Linux;
# a zip and an NSIS installer in Simplified Chinese on Windows.
set(CPACK_PACKAGE_NAME vellumark)
set(CPACK_PACKAGE_VENDOR "${VELLUMARK_COMPANY_NAME}")
set(CPACK_PACKAGE_CONTACT "${VELLUMARK_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "lay open the marker structure of JPEG files")
set(CPACK_PACKAGE_DESCRIPTION
    "Vellumark walks a JPEG file marker by marker and reports every marker with
its position, mnemonic and declared length, every quantisation table as an 8x8
grid in natural order, and every Huffman table's code-length counts and codes.
It reads files and never changes them; damaged files are reported up to the
damaged spot. The interface is in Simplified Chinese.

The package holds the window program vellumark and the command-line program
vellumark-report, which writes the same report to standard output for scripts
and batches.")
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_GENERATOR "ZIP;NSIS")
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_SYSTEM_NAME win64)
    set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
    set(nsis_target amd64-unicode)
  else()
    set(CPACK_SYSTEM_NAME win32)
    set(nsis_target x86-unicode)
  endif()
  set(CPACK_PACKAGE_INSTALL_DIRECTORY Vellumark)
  # Without the version, so that a newer installer replaces the older one.
  set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Vellumark)
  set(CPACK_NSIS_PACKAGE_NAME Vellumark)
  set(CPACK_NSIS_DISPLAY_NAME "Vellumark ${PROJECT_VERSION}")
  set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/resources/vellumark.ico)
  set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/resources/vellumark.ico)
  set(CPACK_NSIS_INSTALLED_ICON_NAME vellumark.exe)
  # The Start-menu entry for the window, under its own caption.
  set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
  set(CPACK_PACKAGE_EXECUTABLES vellumark "JPEG文件格式分析工具")

  # CMake's installer script offers every language NSIS has and picks the
  # user's; ours speaks Simplified Chinese only, like the program, and is a
  # Unicode installer so that the Chinese texts show on any system locale.
  file(READ ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in template)
  string(REGEX REPLACE "(\n  !insertmacro MUI_LANGUAGE \"[A-Za-z]+\"[^\n]*)+"
         "\n  !insertmacro MUI_LANGUAGE \"SimpChinese\"" template "${template}")
  string(REPLACE "Uninstall.lnk" "卸载 Vellumark.lnk" template "${template}")
  string(REPLACE "\n  !include \"MUI.nsh\"" "\n  Target ${nsis_target}\n  !include \"MUI.nsh\"" template "${template}")
  if(NOT template MATCHES "Target ${nsis_target}" OR NOT template MATCHES "MUI_LANGUAGE \"SimpChinese\""
     OR template MATCHES "MUI_LANGUAGE \"[A-Za-z]+\"\n  !")
    message(FATAL_ERROR "CMake's NSIS template has changed: check cmake/packaging.cmake")
  endif()
  file(WRITE ${CMAKE_BINARY_DIR}/cpack/NSIS.template.in "${template}")
  set(CPACK_MODULE_PATH ${CMAKE_BINARY_DIR}/cpack)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
endif()

include(CPack)
