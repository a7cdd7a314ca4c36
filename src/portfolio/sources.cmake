# Sources of src/portfolio/: logic without widgets (valmeq_core) and windows (valmeq_ui).
list(APPEND CORE_SOURCES
  src/portfolio/earnings.cpp src/portfolio/earnings.h
  src/portfolio/GridModel.cpp src/portfolio/GridModel.h
  src/portfolio/pie.cpp src/portfolio/pie.h
  src/portfolio/portfolio.cpp src/portfolio/portfolio.h
  src/portfolio/valuation.cpp src/portfolio/valuation.h
)
list(APPEND UI_SOURCES
  src/portfolio/GridWindow.cpp src/portfolio/GridWindow.h
  src/portfolio/OperationFields.cpp src/portfolio/OperationFields.h
  src/portfolio/TEchan.cpp src/portfolio/TEchan.h
  src/portfolio/TFrais.cpp src/portfolio/TFrais.h
  src/portfolio/TJnl.cpp src/portfolio/TJnl.h
  src/portfolio/TOperation.cpp src/portfolio/TOperation.h
  src/portfolio/TPortef.cpp src/portfolio/TPortef.h
  src/portfolio/TRepart.cpp src/portfolio/TRepart.h
)
