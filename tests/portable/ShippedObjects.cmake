# Reads the sendnote program's link map: the program holds the host model and the docx
# engine, and none of the test doubles (in-memory Word, scripted user interface, fault
# tools) nor the template builder.
# Usage: cmake -DMAP=<sendnote.map> -P ShippedObjects.cmake
if(NOT EXISTS "${MAP}")
  message(FATAL_ERROR "no link map at ${MAP}")
endif()
file(READ "${MAP}" map)
foreach(needed libsendnote_hostmodel.a libsendnote_docx.a libsendnote_addin.a)
  string(FIND "${map}" "${needed}(" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the program links nothing of ${needed}: is this the right map?")
  endif()
endforeach()
set(refused libsendnote_inmemory.a libsendnote_templatebuilder.a libsendnote_test_support.a
            Faults.cpp.o OutlookFaults ScriptedUi.cpp.o InMemoryRuntime.cpp.o
            TemplateBuilder.cpp.o)
set(found "")
foreach(name IN LISTS refused)
  string(FIND "${map}" "${name}" at)
  if(NOT at EQUAL -1)
    list(APPEND found ${name})
  endif()
endforeach()
if(found)
  message(FATAL_ERROR "the program links test-only objects: ${found}")
endif()
