# The licence texts of the third-party code compiled into what a release
# ships, as the build machine's Debian packages of that code carry them
# (/usr/share/doc/PACKAGE/copyright). A missing text fails the packaging,
# not the configuration: a build needs none, a package must not go without.

# Sets `out_var` to `heading` (what the code is and what it is compiled
# into) followed by the text of `file`.
function(tarvio_licence_text heading file out_var)
  if(EXISTS "${file}")
    file(READ "${file}" licence)
  else()
    set(licence "(missing)\n")
    install(CODE "message(FATAL_ERROR \"a licence text is missing: ${file}\")")
  endif()
  set(${out_var} "${heading}\n\n${licence}" PARENT_SCOPE)
endfunction()

# Writes `text` to `file` with Windows line ends, for a reader's editor there.
function(tarvio_write_windows_text file text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE "${file}" "${text}")
endfunction()
