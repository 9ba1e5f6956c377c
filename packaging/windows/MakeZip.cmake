# Makes the Windows zip: the programs, stripped, and README.txt with Windows
# line ends, in one folder named after the zip.
#   cmake -DZIP=... -DSTAGE=... -DREADME=... -DSTRIP=... -DFILES="a;b" -P MakeZip.cmake
foreach(var ZIP STAGE README STRIP FILES)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "MakeZip.cmake: ${var} not given")
  endif()
endforeach()

get_filename_component(folder ${ZIP} NAME_WLE)
set(content ${STAGE}/${folder})
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${content})
foreach(file ${FILES})
  get_filename_component(name ${file} NAME)
  execute_process(COMMAND ${STRIP} --strip-unneeded -o ${content}/${name} ${file} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot strip ${file}")
  endif()
endforeach()
file(READ ${README} text)
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${content}/README.txt "${text}")

file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip ${folder}
                WORKING_DIRECTORY ${STAGE} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot make ${ZIP}")
endif()
