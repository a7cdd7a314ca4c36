# Sources of src/exchange/: logic without widgets (valmeq_core) and windows (valmeq_ui).
list(APPEND CORE_SOURCES
  src/exchange/download.cpp src/exchange/download.h
  src/exchange/exporting.cpp src/exchange/exporting.h
  src/exchange/importing.cpp src/exchange/importing.h
  src/exchange/sites.cpp src/exchange/sites.h
)
list(APPEND UI_SOURCES
  src/exchange/TExport.cpp src/exchange/TExport.h
  src/exchange/TImport.cpp src/exchange/TImport.h
  src/exchange/THttpGet.cpp src/exchange/THttpGet.h
)
