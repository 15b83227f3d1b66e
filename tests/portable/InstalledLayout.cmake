# Installs the build into a prefix inside the build tree and uses the installed command
# as a user would: the installed files are the program, the manual page, the help pages
# and the examples, and nothing else; --help names the installed help pages; a letter is
# written from the installed examples.
# Usage: cmake -DBUILD=<build dir> -DSOURCE=<source dir> -DPREFIX=<scratch prefix> -P InstalledLayout.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD}" --prefix "${PREFIX}"
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(status)
  message(FATAL_ERROR "cmake --install failed (${status}):\n${output}")
endif()

# What the install must hold: every help page and style sheet, every example.
set(expected bin/sendnote share/man/man1/sendnote.1)
file(GLOB pages RELATIVE "${SOURCE}/help" "${SOURCE}/help/*.html" "${SOURCE}/help/*.css")
foreach(page IN LISTS pages)
  list(APPEND expected share/sendnote/help/${page})
endforeach()
file(GLOB examples RELATIVE "${SOURCE}/examples" "${SOURCE}/examples/*")
foreach(example IN LISTS examples)
  list(APPEND expected share/doc/sendnote/examples/${example})
endforeach()
file(GLOB_RECURSE installed RELATIVE "${PREFIX}" "${PREFIX}/*")
list(SORT expected)
list(SORT installed)
if(NOT installed STREQUAL expected)
  string(REPLACE ";" "\n  " installed_text "${installed}")
  string(REPLACE ";" "\n  " expected_text "${expected}")
  message(FATAL_ERROR "installed:\n  ${installed_text}\nexpected:\n  ${expected_text}")
endif()
if(NOT pages OR NOT examples)
  message(FATAL_ERROR "no help pages or examples in ${SOURCE}")
endif()

set(program "${PREFIX}/bin/sendnote")
execute_process(COMMAND "${program}" --help RESULT_VARIABLE status OUTPUT_VARIABLE help)
string(FIND "${help}" "Help pages: ${PREFIX}/share/sendnote/help/index.html\n" at)
if(status OR at EQUAL -1)
  message(FATAL_ERROR "the installed --help (status ${status}) names no installed help pages:\n${help}")
endif()

set(work "${PREFIX}.work")
file(REMOVE_RECURSE "${work}")
file(MAKE_DIRECTORY "${work}")
set(doc "${PREFIX}/share/doc/sendnote/examples")
execute_process(COMMAND "${program}" -y -c 2 "${doc}/contacts-outlook21.vcf" "${doc}/添書票.dotx"
                WORKING_DIRECTORY "${work}" INPUT_FILE /dev/null RESULT_VARIABLE status
                OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(status OR NOT EXISTS "${work}/添書票 佐藤 花子.docx")
  message(FATAL_ERROR "the installed program wrote no letter (status ${status}):\n${out}${err}")
endif()
file(REMOVE_RECURSE "${work}" "${PREFIX}")
