# Header-only libraries from Debian's /usr/include, usable by every build, the
# mingw cross builds included: each library's folder is linked into a folder of
# its own, so no build gets all of /usr/include (and the host's C library) on its
# include path. Included as system headers: their code raises no warnings of ours.
function(vellumark_header_library target folder)
  if(NOT EXISTS /usr/include/${folder})
    message(FATAL_ERROR "/usr/include/${folder} is missing: scripts/deps.sh build installs it")
  endif()
  set(root ${CMAKE_BINARY_DIR}/header-libraries/${target})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK /usr/include/${folder} ${root}/${folder} SYMBOLIC)
  add_library(${target} INTERFACE)
  target_include_directories(${target} SYSTEM INTERFACE ${root})
endfunction()
