# Sources of src/charts/: logic without widgets (valmeq_core) and windows (valmeq_ui).
list(APPEND CORE_SOURCES
  src/charts/series.cpp src/charts/series.h
  src/charts/chartdraw.cpp src/charts/chartdraw.h
  src/charts/chartview.cpp src/charts/chartview.h
  src/charts/printedcharts.cpp src/charts/printedcharts.h
)
list(APPEND UI_SOURCES
  src/charts/HelpKey.cpp src/charts/HelpKey.h
  src/charts/PaintArea.cpp src/charts/PaintArea.h
  src/charts/TParam.cpp src/charts/TParam.h
  src/charts/IndicatorWindow.cpp src/charts/IndicatorWindow.h
  src/charts/TStatis.cpp src/charts/TStatis.h
  src/charts/THit.cpp src/charts/THit.h
)
