# qv_stdcall_def(OUTPUT LIBRARY "Name:ArgumentBytes:Ordinal" ...)
# Writes a module definition for __stdcall exports. The 32-bit compiler
# decorates them (Name@Bytes), and the .def must name them so, with
# --kill-at exporting the plain names; the 64-bit build has no decoration.
# One list of exports serves both, so the two cannot drift apart.
function(qv_stdcall_def output library)
  set(text "LIBRARY ${library}\nEXPORTS\n")
  foreach(entry ${ARGN})
    string(REPLACE ":" ";" parts "${entry}")
    list(GET parts 0 name)
    list(GET parts 1 bytes)
    list(GET parts 2 ordinal)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      string(APPEND text "  ${name}@${bytes} @${ordinal}\n")
    else()
      string(APPEND text "  ${name} @${ordinal}\n")
    endif()
  endforeach()
  file(WRITE ${output} "${text}")
endfunction()
