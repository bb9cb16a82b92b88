# Makes one gzipped manual page from a program's --help and --version:
#   cmake -DHELP2MAN=... -DPROGRAM=... -DNAME=... -DINCLUDE=... -DOUTPUT=page.1.gz
#         [-DEPOCH=seconds] -P ManPage.cmake
# The programs' help is Polish, which help2man's English patterns do not read:
# the synopsis comes from the include file, so the help's own "Użycie:" line
# goes, and a list of command lines keeps one command a line.
string(REGEX REPLACE "\\.gz$" "" page "${OUTPUT}")
# The page is Polish whatever language the build machine speaks.
set(env TQ3_LANG=pl)
if(EPOCH)
  # The page's date is the release's, not the build's.
  list(APPEND env SOURCE_DATE_EPOCH=${EPOCH})
endif()
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env ${env} ${HELP2MAN} --no-info --locale=C.UTF-8 --name=${NAME}
          --include=${INCLUDE} --output=${page} ${PROGRAM}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "help2man failed on ${PROGRAM}")
endif()

file(READ "${page}" text)
string(REGEX REPLACE "\n(\\.PP\n)?Użycie: [^\n]*\n" "\n" text "${text}")
# The command list runs from its heading to the next subsection.
string(FIND "${text}" "\n.SS \"Polecenia:\"\n" begin)
if(begin GREATER_EQUAL 0)
  get_filename_component(program "${PROGRAM}" NAME)
  string(SUBSTRING "${text}" 0 ${begin} head)
  string(SUBSTRING "${text}" ${begin} -1 rest)
  string(SUBSTRING "${rest}" 1 -1 after)
  string(FIND "${after}" "\n.SS " end)
  if(end LESS 0)
    string(LENGTH "${rest}" end)
  else()
    math(EXPR end "${end} + 1")
  endif()
  string(SUBSTRING "${rest}" 0 ${end} commands)
  string(SUBSTRING "${rest}" ${end} -1 tail)
  string(REPLACE "\n${program} " "\n.br\n${program} " commands "${commands}")
  string(REPLACE ".IP\n.br\n" ".IP\n" commands "${commands}")
  set(text "${head}${commands}${tail}")
endif()
file(WRITE "${page}" "${text}")

execute_process(COMMAND gzip -9nf ${page} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "gzip failed on ${page}")
endif()
