# The packages CPack makes from the install rules: on Linux two Debian
# packages, vellumark-report (the command line, no Qt) and vellumark (the window,
# which depends on it); on Windows one zip and one NSIS installer in Simplified
# Chinese with both programs.
set(CPACK_PACKAGE_NAME vellumark)
set(CPACK_PACKAGE_VENDOR "${VELLUMARK_COMPANY_NAME}")
set(CPACK_PACKAGE_CONTACT "${VELLUMARK_MAINTAINER}")
set(what_it_does
    "Vellumark walks a JPEG file marker by marker and reports every marker with
its position, mnemonic and declared length, every quantisation table as an 8x8
grid in natural order, and every Huffman table's code-length counts and codes.
It reads files and never changes them; damaged files are reported up to the
damaged spot.")
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "lay open the marker structure of JPEG files")
  set(CPACK_PACKAGE_DESCRIPTION "${what_it_does} The interface is in Simplified Chinese.

The package holds the window program vellumark and the command-line program
vellumark-report, which writes the same report to standard output for scripts
and batches.")
  set(CPACK_GENERATOR "ZIP;NSIS")
  # The install rules name the Debian package of each file; Windows gets one
  # installer with everything.
  set(CPACK_MONOLITHIC_INSTALL ON)
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
  # One package per install component; each description's first line is its
  # summary (CPack would put one summary for all before each).
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SOURCE vellumark)
  set(CPACK_DEBIAN_REPORT_PACKAGE_NAME vellumark-report)
  set(CPACK_DEBIAN_REPORT_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_REPORT_DESCRIPTION
      "marker structure of JPEG files as text or JSON, on the command line
${what_it_does}

vellumark-report writes the report to standard output for scripts and
batches, walks folders, gives every file's whole structure as JSON Lines and
decodes the entropy-coded data to tell intact pictures from damaged ones.")
  set(CPACK_DEBIAN_WINDOW_PACKAGE_NAME vellumark)
  set(CPACK_DEBIAN_WINDOW_PACKAGE_SECTION graphics)
  # The window comes with the command line, of the same build.
  set(CPACK_DEBIAN_WINDOW_PACKAGE_DEPENDS "vellumark-report (= ${PROJECT_VERSION})")
  set(CPACK_DEBIAN_WINDOW_DESCRIPTION
      "lay open the marker structure of JPEG files, in a window
${what_it_does}

vellumark shows the report in a window whose interface is in Simplified
Chinese, saves it as text and shows a file's JFIF thumbnail.")
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
endif()

include(CPack)
