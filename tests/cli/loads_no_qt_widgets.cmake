# Fails when PROGRAM, or any library it loads, needs Qt Widgets (libQt6Widgets.so.6,
# Qt6Widgets.dll, QtWidgets.framework), or with -DANY_QT=ON any Qt library at all.
file(GET_RUNTIME_DEPENDENCIES
     EXECUTABLES "${PROGRAM}"
     RESOLVED_DEPENDENCIES_VAR resolved
     UNRESOLVED_DEPENDENCIES_VAR unresolved)
set(widgets "")
set(what "Qt Widgets")
if(ANY_QT)
  set(what "Qt")
endif()
foreach(library IN LISTS resolved unresolved)
  get_filename_component(name "${library}" NAME)
  if(name MATCHES "Qt[0-9]*Widgets" OR (ANY_QT AND name MATCHES "Qt[0-9]*[A-Z]"))
    list(APPEND widgets "${library}")
  endif()
endforeach()
if(widgets)
  message(FATAL_ERROR "${PROGRAM} loads ${what}: ${widgets}")
endif()
list(LENGTH resolved count)
message(STATUS "${PROGRAM} loads ${count} libraries, none of them ${what}")
