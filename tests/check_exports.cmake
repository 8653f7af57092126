# Fails unless the dynamic symbols LIBRARY defines are exactly the twelve
# public names.
execute_process(COMMAND nm -D --defined-only ${LIBRARY} OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[0-9a-fA-F]+ [A-Za-z] [^\n]+" lines "${out}")
set(actual "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^[0-9a-fA-F]+ [A-Za-z] " "" name "${line}")
  list(APPEND actual "${name}")
endforeach()
set(expected isSmbios SMBIOSGetSystem SMBIOSGetBiosInfo isZaqSmbios SMBIOSGetMachineType
    isPelorinSmbios SMBIOSIsH8Enabled SMBIOSIsMarlixEnabled SMBIOSQueryIpmi
    VPDLoadData VPDGetSystem VPDGetMotherboard)
list(SORT actual)
list(SORT expected)
if(NOT actual STREQUAL expected)
  message(FATAL_ERROR "exported: ${actual}\nexpected: ${expected}")
endif()
message(STATUS "exports: ${actual}")
