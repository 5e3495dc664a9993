# Runs lupdate on the catalogue table and checks the template it writes.
# 527 rows carry 515 distinct texts (codes 2, 3, 5 and 6 share "%1"; codes 13/14, 20/21, 10001/10402,
# 10026/10412, 10447/10484, 30060/30104, 30063/30105, 30412/30413 and 60072/60078 share theirs), and
# lupdate keeps one message per distinct text of a context, with one location per row.
file(REMOVE ${OUTPUT})
execute_process(COMMAND ${LUPDATE} -silent -no-obsolete -locations relative ${SOURCE} -ts ${OUTPUT}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "lupdate failed: ${result}")
endif()
file(READ ${OUTPUT} ts)

string(REGEX MATCHALL "<name>[^<]*</name>" contexts "${ts}")
if(NOT contexts STREQUAL "<name>ErrorCode</name>")
  message(FATAL_ERROR "expected the one context ErrorCode, found: ${contexts}")
endif()

string(REGEX MATCHALL "<message>" messages "${ts}")
list(LENGTH messages count)
if(NOT count EQUAL 515)
  message(FATAL_ERROR "expected 515 messages in context ErrorCode, found ${count}")
endif()

string(REGEX MATCHALL "<location " locations "${ts}")
list(LENGTH locations location_count)
if(NOT location_count EQUAL 527)
  message(FATAL_ERROR "expected 527 catalogue rows as message locations, found ${location_count}")
endif()

foreach(expected
    "<source> ICM server status changed to %1</source>"
    "<source>Lost package from joint  %1</source>"
    "<source>Slow down level changed to %1(%2%)</source>"
    "<source>Joint %1 temperature too high(&gt;%2℃)</source>"
    "<source>Cannot resume from joint position [%1].\nToo far away from paused point [%2].</source>"
    "<source>Max error code</source>")
  string(FIND "${ts}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "template lacks ${expected}")
  endif()
endforeach()
message(STATUS "template ${OUTPUT}: ${count} messages for ${location_count} rows in context ErrorCode")
