# Sources of src/help/: logic without widgets (valmeq_core) and windows (valmeq_ui).
list(APPEND CORE_SOURCES
  src/help/helpfile.cpp src/help/helpfile.h
  src/help/helphtml.cpp src/help/helphtml.h
)
list(APPEND UI_SOURCES
  src/help/THelp.cpp src/help/THelp.h
  src/help/HelpBrowser.cpp src/help/HelpBrowser.h
)
