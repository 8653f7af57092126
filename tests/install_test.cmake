# Installs the build into a fresh prefix, then builds the consumer against it
# twice, through find_package(fwprobe) and through pkg-config, and runs both
# on a sample image.
set(prefix ${WORK}/prefix)
file(REMOVE_RECURSE ${WORK})
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed: ${ARGN}\n${out}\n${err}")
  endif()
  set(last_output "${out}" PARENT_SCOPE)
endfunction()
function(expect_answers)
  if(NOT last_output MATCHES "isSmbios=1 system=0 manufacturer=ZAQ Systems machineType=1:8670")
    message(FATAL_ERROR "unexpected answers: ${last_output}")
  endif()
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix})
foreach(f include/fwprobe.h include/pmemw.h bin/fwprobe lib/pkgconfig/fwprobe.pc lib/cmake/fwprobe/fwprobeConfig.cmake)
  if(NOT EXISTS ${prefix}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()

run(${CMAKE_COMMAND} -S ${CONSUMER} -B ${WORK}/cmake-build -DCMAKE_PREFIX_PATH=${prefix})
run(${CMAKE_COMMAND} --build ${WORK}/cmake-build)
run(${CMAKE_COMMAND} -E env PMEMW_SOURCE=image:${SAMPLE} LD_LIBRARY_PATH=${prefix}/lib ${WORK}/cmake-build/consumer)
expect_answers()

run(${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${prefix}/lib/pkgconfig pkg-config --cflags --libs fwprobe)
string(STRIP "${last_output}" flags)
separate_arguments(flags UNIX_COMMAND "${flags}")
run(cc ${CONSUMER}/main.c ${flags} -o ${WORK}/pc-consumer)
run(${CMAKE_COMMAND} -E env PMEMW_SOURCE=image:${SAMPLE} LD_LIBRARY_PATH=${prefix}/lib ${WORK}/pc-consumer)
expect_answers()

# The installed tool finds its libraries without help.
run(${prefix}/bin/fwprobe --dev-mem ${SAMPLE} --json)
