# Sources of src/quotes/: logic without widgets (valmeq_core) and windows (valmeq_ui).
list(APPEND CORE_SOURCES
  src/quotes/BourseData.cpp src/quotes/BourseData.h
  src/quotes/entry.cpp src/quotes/entry.h
  src/quotes/maintenance.cpp src/quotes/maintenance.h
  src/quotes/quotelines.cpp src/quotes/quotelines.h
  src/quotes/QuoteListModel.cpp src/quotes/QuoteListModel.h
  src/quotes/shownlines.cpp src/quotes/shownlines.h
  src/quotes/store.cpp src/quotes/store.h
)
list(APPEND UI_SOURCES
  src/quotes/TConvert.cpp src/quotes/TConvert.h
  src/quotes/TDivise.cpp src/quotes/TDivise.h
  src/quotes/TModif.cpp src/quotes/TModif.h
  src/quotes/TReorg.cpp src/quotes/TReorg.h
  src/quotes/TSeldate.cpp src/quotes/TSeldate.h
  src/quotes/TSupp.cpp src/quotes/TSupp.h
)
