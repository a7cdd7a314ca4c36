# Sources of src/print/: logic without widgets (valmeq_core) and windows (valmeq_ui).
list(APPEND CORE_SOURCES
  src/print/drawsteps.cpp src/print/drawsteps.h
  src/print/pagemap.cpp src/print/pagemap.h
  src/print/printedpages.cpp src/print/printedpages.h
)
list(APPEND UI_SOURCES
  src/print/PrintPreview.cpp src/print/PrintPreview.h
  src/print/TConfigImprimante.cpp src/print/TConfigImprimante.h
  src/print/printer.cpp src/print/printer.h
)
