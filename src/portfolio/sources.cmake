# Sources of src/portfolio/: logic without widgets (valmeq_core) and windows (valmeq_ui).
list(APPEND UI_SOURCES
  src/portfolio/PortfolioCommands.cpp src/portfolio/PortfolioCommands.h
)
