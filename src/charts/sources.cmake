# Sources of src/charts/: logic without widgets (valmeq_core) and windows (valmeq_ui).
list(APPEND UI_SOURCES
  src/charts/ChartPage.cpp src/charts/ChartPage.h
  src/charts/ChartCommands.cpp src/charts/ChartCommands.h
)
