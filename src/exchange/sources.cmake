# Sources of src/exchange/: logic without widgets (valmeq_core) and windows (valmeq_ui).
list(APPEND UI_SOURCES
  src/exchange/ExchangeCommands.cpp src/exchange/ExchangeCommands.h
)
