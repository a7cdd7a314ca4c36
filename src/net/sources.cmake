# Sources of src/net/: the HTTP/1.0 client (logic without widgets, valmeq_core).
list(APPEND CORE_SOURCES
  src/net/httpframing.cpp src/net/httpframing.h
  src/net/HttpClient.cpp src/net/HttpClient.h
)
