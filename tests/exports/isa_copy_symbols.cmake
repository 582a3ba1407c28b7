# Fails when an object of one instruction set's copy of the scan converters
# defines an external name outside that copy's namespace: the linker would
# then keep one copy of it for callers compiled for other instruction sets.
# Run with -DNM=<nm> -DNAMESPACE=<isa_name> -DOBJECTS=<object files>.
set(offenders "")
foreach(object IN LISTS OBJECTS)
  execute_process(COMMAND ${NM} --defined-only --extern-only ${object} OUTPUT_VARIABLE listing
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${NM} failed on ${object}")
  endif()
  string(REPLACE "\n" ";" lines "${listing}")
  foreach(line IN LISTS lines)
    if(line MATCHES "^[0-9a-fA-F]+ [A-Za-z] (.+)$")
      set(symbol "${CMAKE_MATCH_1}")
      # The sanitizers' bookkeeping and the unwinder's personality reference
      # are data, not code.
      if(NOT symbol MATCHES "${NAMESPACE}" AND NOT symbol MATCHES "^__(odr_)?asan" AND NOT symbol MATCHES "^DW\\.ref\\.")
        list(APPEND offenders "${symbol} (${object})")
      endif()
    endif()
  endforeach()
endforeach()
list(LENGTH OBJECTS count)
if(offenders)
  list(JOIN offenders "\n  " text)
  message(FATAL_ERROR "names outside ${NAMESPACE}:\n  ${text}")
endif()
message(STATUS "${count} objects define names of ${NAMESPACE} only")
