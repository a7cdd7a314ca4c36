# Sources of src/print/: logic without widgets (valmeq_core) and windows (valmeq_ui).
list(APPEND UI_SOURCES
  src/print/PrintCommands.cpp src/print/PrintCommands.h
  src/print/Printer.cpp
  src/print/printer.h
)
