# Install-time step: writes the desktop entry with the full path of the installed executable
# and installs it. A full path keeps the menu entry working for a per-user install whose
# bin folder is not on the session's PATH. Expects FONZETA_DESKTOP_IN (the template),
# FONZETA_DESKTOP_OUT (a file name in the build tree) and CMAKE_INSTALL_PREFIX.

set(exe "${CMAKE_INSTALL_PREFIX}/bin/fonzeta")
if(exe MATCHES "[\n\r\t]")
  message(FATAL_ERROR "The install prefix must not hold tabs or line breaks: ${CMAKE_INSTALL_PREFIX}")
endif()

# Exec is a command line: a path with blanks or shell characters is double-quoted, with
# " ` $ and \ escaped inside the quotes; % starts a field code, so it is doubled.
set(arg "${exe}")
string(REGEX MATCH "[] \"'\\\\<>~|&;$*?#()`[]" special "${arg}")
if(special)
  foreach(char "\\" "\"" "`" "$")
    string(REPLACE "${char}" "\\${char}" arg "${arg}")
  endforeach()
  set(arg "\"${arg}\"")
endif()
string(REPLACE "%" "%%" arg "${arg}")
# Both keys are string values, in which a backslash is written twice.
string(REPLACE "\\" "\\\\" arg "${arg}")
string(REPLACE "\\" "\\\\" tryexec "${exe}")

file(READ "${FONZETA_DESKTOP_IN}" entry)
string(REPLACE "@FONZETA_EXEC@" "${arg}" entry "${entry}")
string(REPLACE "@FONZETA_TRYEXEC@" "${tryexec}" entry "${entry}")
file(WRITE "${FONZETA_DESKTOP_OUT}" "${entry}")
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications" TYPE FILE
     FILES "${FONZETA_DESKTOP_OUT}")
