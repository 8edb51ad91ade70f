# Installs the built library into a scratch prefix, then configures, builds and
# runs a consumer project that finds it with find_package(Kova).
file(REMOVE_RECURSE ${KOVA_WORK_DIR})
set(prefix ${KOVA_WORK_DIR}/prefix)

function(run_step)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "Step failed (${result}): ${ARGN}\n${out}\n${err}")
  endif()
endfunction()

run_step(${CMAKE_COMMAND} --install ${KOVA_BINARY_DIR} --prefix ${prefix})
run_step(${CMAKE_COMMAND} -S ${KOVA_CONSUMER_SOURCE} -B ${KOVA_WORK_DIR}/build
  -DCMAKE_PREFIX_PATH=${prefix} -DKOVA_SANITIZE=${KOVA_SANITIZE})
run_step(${CMAKE_COMMAND} --build ${KOVA_WORK_DIR}/build)
find_program(consumer consumer PATHS ${KOVA_WORK_DIR}/build NO_DEFAULT_PATH REQUIRED)
run_step(${consumer})
message(STATUS "consumer linked against the install tree and ran")
